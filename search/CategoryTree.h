#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace flk {

// The directory's categories as a tree: one level per "/"-separated part of
// a category path, nodes of the same text under the same parent merged.
// Node 0 is an invisible root; the top-level nodes are its children.
class CategoryTree {
public:
    // Paths deeper than this are not categories anyone can browse; they are
    // refused, which also bounds the tree's depth.
    static constexpr int kMaxDepth = 64;

    struct Node {
        std::string text;
        std::string path;       // the category path up to and including this node
        bool category = false;  // some record's path ends here
        int parent = -1;
        std::vector<int> children;  // in order of first insertion
    };

    CategoryTree();

    // Adds a category path; false (and nothing added) for an empty path or
    // one deeper than kMaxDepth.
    bool Insert(std::string_view path);

    const Node& At(int id) const { return nodes_.at(static_cast<std::size_t>(id)); }
    const std::vector<int>& TopLevel() const { return nodes_.front().children; }
    bool Empty() const { return TopLevel().empty(); }
    int NodeCount() const { return static_cast<int>(nodes_.size()) - 1; }
    // Distinct category paths.
    int CategoryCount() const { return categories_; }

    // The category paths at or below a node, in tree order. Every leaf is a
    // category; an inner node is one too when a record's path ends there.
    std::vector<std::string> PathsUnder(int id) const;

private:
    std::vector<Node> nodes_;
    std::unordered_map<std::string, int> byPath_;
    int categories_ = 0;
};

// "Arts/Music & Dance" shows as topic "Music & Dance" and path "Arts/".
std::string TopicOf(std::string_view path);
std::string PathPartOf(std::string_view path);

}  // namespace flk
