#include "search/CategoryTree.h"

namespace flk {

CategoryTree::CategoryTree() { nodes_.emplace_back(); }

bool CategoryTree::Insert(std::string_view path) {
    if (path.empty()) return false;
    int depth = 1;
    for (char c : path)
        if (c == '/' && ++depth > kMaxDepth) return false;

    int parent = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        // The node's path is the prefix of the inserted path up to its end,
        // so merged nodes and the records' own paths always agree.
        std::string nodePath(path.substr(0, end));
        auto it = byPath_.find(nodePath);
        int id;
        if (it != byPath_.end()) {
            id = it->second;
        } else {
            id = static_cast<int>(nodes_.size());
            Node node;
            node.text = std::string(path.substr(start, end - start));
            node.path = nodePath;
            node.parent = parent;
            nodes_.push_back(std::move(node));
            nodes_[static_cast<std::size_t>(parent)].children.push_back(id);
            byPath_.emplace(std::move(nodePath), id);
        }
        parent = id;
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    Node& last = nodes_[static_cast<std::size_t>(parent)];
    if (!last.category) {
        last.category = true;
        ++categories_;
    }
    return true;
}

std::vector<std::string> CategoryTree::PathsUnder(int id) const {
    std::vector<std::string> paths;
    if (id < 0 || id >= static_cast<int>(nodes_.size())) return paths;
    // Depth-first without recursion, children in order.
    std::vector<int> stack{id};
    while (!stack.empty()) {
        const Node& node = nodes_[static_cast<std::size_t>(stack.back())];
        stack.pop_back();
        if (node.category) paths.push_back(node.path);
        for (auto child = node.children.rbegin(); child != node.children.rend(); ++child)
            stack.push_back(*child);
    }
    return paths;
}

std::string TopicOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string PathPartOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

}  // namespace flk
