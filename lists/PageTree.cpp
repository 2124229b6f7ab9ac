#include "lists/PageTree.h"

#include "net/ParsedUrl.h"
#include "lists/ListHelpers.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace flk {

namespace {

constexpr char kNoTitle[] = "<<No Title>>";

std::string TreeText(const std::string& text) {
    std::string t = TrimCopy(text);
    if (StartsWithNoCase(t, "http://")) t.erase(0, 7);
    return t;
}

}  // namespace

TreeModel::Id TreeModel::Add(const std::string& text, const std::string& parentText) {
    const Id id = static_cast<Id>(nodes_.size());
    Node node;
    node.text = text;
    auto parent = byText_.find(parentText);
    if (parent != byText_.end()) {
        node.parent = parent->second;
        Revive(node.parent);
    }
    nodes_.push_back(std::move(node));
    ++live_;
    std::vector<Id>& siblings = nodes_[id].parent == kNone ? roots_ : nodes_[nodes_[id].parent].children;
    if (IsAnnotation(text)) {
        siblings.insert(siblings.begin(), id);
    } else {
        siblings.push_back(id);
        byText_[text] = id;
    }
    return id;
}

std::vector<TreeModel::Id> TreeModel::Roots() const { return roots_; }

void TreeModel::ExpandAll() {
    for (Node& n : nodes_) n.expanded = true;
}

void TreeModel::CollapseAll() {
    for (Node& n : nodes_) n.expanded = false;
}

std::vector<TreeModel::Id> TreeModel::VisibleOrder() const { return Walk(true); }

std::vector<TreeModel::Id> TreeModel::DepthFirstOrder() const { return Walk(false); }

std::vector<TreeModel::Id> TreeModel::Walk(bool expandedOnly) const {
    std::vector<Id> out;
    std::vector<Id> stack(roots_.rbegin(), roots_.rend());
    while (!stack.empty()) {
        Id id = stack.back();
        stack.pop_back();
        out.push_back(id);
        if (expandedOnly && !nodes_[id].expanded) continue;
        for (auto c = nodes_[id].children.rbegin(); c != nodes_[id].children.rend(); ++c) stack.push_back(*c);
    }
    return out;
}

void TreeModel::Rename(Id id, const std::string& text) {
    // The text map keeps the page under its address: pages found later still
    // name that address as their parent.
    nodes_[id].text = text;
}

void TreeModel::Revive(Id id) {
    // A page the titles view dropped (it had no children then) gets a child
    // after all: it comes back under its own parent, so the new page keeps
    // its place in the tree.
    std::vector<Id> chain;
    for (Id n = id; n != kNone && !nodes_[n].alive; n = nodes_[n].parent) chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Node& node = nodes_[*it];
        node.alive = true;
        ++live_;
        (node.parent == kNone ? roots_ : nodes_[node.parent].children).push_back(*it);
    }
}

void TreeModel::Remove(Id id) {
    // The item and its whole branch go from the view; the text map keeps
    // their pages, so a page found later under one of them revives it.
    std::vector<Id> stack{id};
    while (!stack.empty()) {
        Id n = stack.back();
        stack.pop_back();
        nodes_[n].alive = false;
        --live_;
        for (Id c : nodes_[n].children) stack.push_back(c);
        nodes_[n].children.clear();
    }
    std::vector<Id>& siblings = nodes_[id].parent == kNone ? roots_ : nodes_[nodes_[id].parent].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
}

void TreeModel::RewriteToTitles() {
    ++generation_;
    ExpandAll();
    // Walk the shown items in order; each step looks at the item as it is
    // now, so a renamed page's children are rewritten after it.
    std::vector<Id> order = VisibleOrder();
    for (Id id : order) {
        Node& n = nodes_[id];
        if (!n.alive || IsAnnotation(n.text)) continue;
        if (n.children.empty()) {
            Remove(id);
            continue;
        }
        const Id first = n.children.front();
        if (IsAnnotation(nodes_[first].text)) {
            const std::string title = nodes_[first].text;
            Remove(first);
            Rename(id, title);
        } else {
            Rename(id, kNoTitle);
        }
    }
}

void TreeModel::Clear() {
    nodes_.clear();
    roots_.clear();
    byText_.clear();
    live_ = 0;
    ++generation_;
}

void PageTrees::AddTreeItem(const std::string& itemText, const std::string& parentText) {
    const std::string item = TreeText(itemText);
    const std::string parent = TreeText(parentText);
    std::lock_guard<std::mutex> lock(mutex_);
    urls_.Add(item, parent);
    titles_.Add(item, parent);
}

void PageTrees::WithUrlTree(const std::function<void(TreeModel&)>& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f(urls_);
}

void PageTrees::WithTitlesTree(const std::function<void(TreeModel&)>& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f(titles_);
}

void PageTrees::WithShownTree(const std::function<void(TreeModel&)>& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f(titlesMode_ ? titles_ : urls_);
}

void PageTrees::WithShownAndUrlTree(const std::function<void(TreeModel&, const TreeModel&)>& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    f(titlesMode_ ? titles_ : urls_, urls_);
}

void PageTrees::SetTitlesMode(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    titlesMode_ = on;
    if (on) titles_.RewriteToTitles();
}

bool PageTrees::TitlesMode() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return titlesMode_;
}

bool PageTrees::Empty() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return urls_.Empty();
}

void PageTrees::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    urls_.Clear();
    titles_.Clear();
}

std::string PageTrees::SaveBlock() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string body;
    for (TreeModel::Id id : urls_.DepthFirstOrder()) {
        const TreeModel::Id parent = urls_.Parent(id);
        body += ProtectCell(urls_.Text(id));
        body += kCellSeparator;
        body += parent == TreeModel::kNone ? std::string("top") : ProtectCell(urls_.Text(parent));
        body += kCellSeparator;
    }
    return body;
}

void PageTrees::LoadBlock(const std::string& body) {
    const std::vector<std::string> pieces = SplitBySeparator(body, kCellSeparator);
    std::string lastParent;
    for (std::size_t i = 0; i < pieces.size(); i += 2) {
        if (i + 1 < pieces.size()) lastParent = pieces[i + 1];
        AddTreeItem(pieces[i], lastParent);
    }
}

std::string PageTrees::PageTextFor(const TreeModel& tree, TreeModel::Id id) {
    if (IsAnnotation(tree.Text(id)) && tree.Parent(id) != TreeModel::kNone) return tree.Text(tree.Parent(id));
    return tree.Text(id);
}

std::string PageTrees::BrowserTargetFor(const TreeModel& tree, TreeModel::Id id) {
    return WithDefaultScheme(TrimCopy(PageTextFor(tree, id)));
}

}  // namespace flk
