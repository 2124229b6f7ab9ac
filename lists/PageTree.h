#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace flk {

// One tree of visited pages: pages (their address without "http://") and
// annotations, whose text begins with "<<" (a page title "<<title>>" or
// "<<No Title>>"). Items find their parent by text. Not locked: PageTrees
// holds the lock for both trees.
class TreeModel {
public:
    using Id = int;
    static constexpr Id kNone = -1;

    // Annotations go first among their siblings, pages last; a parent text
    // not in the tree makes a new root. Pages are recorded by text.
    Id Add(const std::string& text, const std::string& parentText);

    std::vector<Id> Roots() const;
    const std::vector<Id>& Children(Id id) const { return nodes_[id].children; }
    Id Parent(Id id) const { return nodes_[id].parent; }
    const std::string& Text(Id id) const { return nodes_[id].text; }
    bool Expanded(Id id) const { return nodes_[id].expanded; }
    bool Empty() const { return roots_.empty(); }
    std::size_t Count() const { return live_; }

    // For windows that show the tree as it grows. Ids are handed out in
    // order from 0, so the items added since a window last looked are the
    // ids from its count on, each after its parent. The generation changes
    // whenever items go or change their text (Clear, the "Titles" rewrite):
    // the window then shows the tree anew.
    std::size_t IdCount() const { return nodes_.size(); }
    bool Alive(Id id) const { return id >= 0 && static_cast<std::size_t>(id) < nodes_.size() && nodes_[id].alive; }
    std::uint64_t Generation() const { return generation_; }

    void SetExpanded(Id id, bool expanded) { nodes_[id].expanded = expanded; }
    void ExpandAll();
    void CollapseAll();

    // Items in the order the tree shows them: roots in order, children only
    // under expanded items.
    std::vector<Id> VisibleOrder() const;
    // Every item, parents before children, roots in order.
    std::vector<Id> DepthFirstOrder() const;

    // The "Titles" view: each page with children takes its title annotation's
    // text (the annotation goes), or "<<No Title>>"; pages without children go.
    void RewriteToTitles();

    void Clear();

private:
    struct Node {
        std::string text;
        Id parent = kNone;
        std::vector<Id> children;
        bool expanded = false;
        bool alive = true;
    };
    // Parents before children, roots in order; with expandedOnly, the
    // children of collapsed items are left out.
    std::vector<Id> Walk(bool expandedOnly) const;
    void Remove(Id id);
    void Rename(Id id, const std::string& text);
    void Revive(Id id);

    std::vector<Node> nodes_;
    std::vector<Id> roots_;
    std::unordered_map<std::string, Id> byText_;
    std::size_t live_ = 0;
    std::uint64_t generation_ = 0;
};

inline bool IsAnnotation(const std::string& text) { return text.rfind("<<", 0) == 0; }

// The page tree of the crawl window: the URL tree and the titles tree, fed
// with the same items, guarded by one mutex (workers add while the window
// reads).
class PageTrees {
public:
    // Both texts are trimmed and lose a leading "http://" (any case).
    void AddTreeItem(const std::string& itemText, const std::string& parentText);

    // Runs f with the tree under the lock.
    void WithUrlTree(const std::function<void(TreeModel&)>& f);
    void WithTitlesTree(const std::function<void(TreeModel&)>& f);
    // The tree shown: the titles tree in titles mode.
    void WithShownTree(const std::function<void(TreeModel&)>& f);
    // The shown tree with the URL tree beside it (the same tree outside
    // titles mode), both under the lock.
    void WithShownAndUrlTree(const std::function<void(TreeModel& shown, const TreeModel& urls)>& f);

    // Ticking "Titles" rewrites the titles tree.
    void SetTitlesMode(bool on);
    bool TitlesMode() const;

    bool Empty() const;
    void Clear();

    // The project block body: (text ";-;" parent-or-"top" ";-;") per node of
    // the URL tree, depth first.
    std::string SaveBlock() const;
    // Adds the pairs of a block body; the trees are not cleared first.
    void LoadBlock(const std::string& body);

    // "Send to Location": the item's text, or its page's when it is an
    // annotation.
    static std::string PageTextFor(const TreeModel& tree, TreeModel::Id id);
    // "Send to Browser" and "Text viewer": that text, trimmed, with
    // "http://" in front when it has no scheme and is no local path.
    static std::string BrowserTargetFor(const TreeModel& tree, TreeModel::Id id);

private:
    mutable std::mutex mutex_;
    TreeModel urls_;
    TreeModel titles_;
    bool titlesMode_ = false;
};

}  // namespace flk
