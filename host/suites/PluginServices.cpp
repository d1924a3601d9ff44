#include "suites/PluginServices.h"

#include <algorithm>

namespace quiltor::host {

const std::vector<std::string>& MenuBar::StockGroups() {
    static const std::vector<std::string> groups = {
        "About", "Open Document", "Recent Files", "Close Document", "Save Document", "Document Utilities",
        "Edit",  "Objects",       "Arrange",      "Select",         "Filters",       "Type",
        "View",  "Window",        "Help",
    };
    return groups;
}

MenuBar::MenuBar() {
    for (const auto& name : StockGroups()) groups_.push_back(std::make_unique<_AIMenuGroup>(_AIMenuGroup{name}));
}

AIErr MenuBar::addItem(SPPluginRef plugin, const std::string& itemName, const std::string& group, std::u16string text,
                       int32_t options, AIMenuItemHandle* item) {
    if (item) *item = nullptr;
    if (!findGroup(group)) return kNameNotFoundErr;
    auto added = std::make_unique<_AIMenuItem>();
    added->plugin = plugin;
    added->name = itemName;
    added->group = group;
    added->text = std::move(text);
    added->options = options;
    if (item) *item = added.get();
    items_.push_back(std::move(added));
    return kNoErr;
}

AIErr MenuBar::addSubMenu(const std::string& groupName, int32_t options, AIMenuItemHandle item, AIMenuGroup* group) {
    if (group) *group = nullptr;
    if (groupName.empty() || findGroup(groupName) || !knows(item) || item->submenu) return kBadParameterErr;
    groups_.push_back(std::make_unique<_AIMenuGroup>(_AIMenuGroup{groupName, item, options}));
    item->submenu = groups_.back().get();
    if (group) *group = item->submenu;
    return kNoErr;
}

AIMenuGroup MenuBar::group(int32_t n) const {
    return n >= 0 && n < groupCount() ? groups_[static_cast<size_t>(n)].get() : nullptr;
}

AIMenuGroup MenuBar::findGroup(const std::string& name) const {
    for (const auto& g : groups_)
        if (g->name == name) return g.get();
    return nullptr;
}

bool MenuBar::knows(AIMenuGroup group) const {
    return std::any_of(groups_.begin(), groups_.end(), [&](const auto& g) { return g.get() == group; });
}

bool MenuBar::knows(AIMenuItemHandle item) const {
    return std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i.get() == item; });
}

std::vector<AIMenuItemHandle> MenuBar::items() const {
    std::vector<AIMenuItemHandle> out;
    for (const auto& i : items_) out.push_back(i.get());
    return out;
}

void MenuBar::removeItemsOf(SPPluginRef plugin) {
    std::vector<AIMenuGroup> orphaned;
    for (const auto& i : items_)
        if (i->plugin == plugin && i->submenu) orphaned.push_back(i->submenu);
    std::erase_if(items_, [&](const auto& i) { return i->plugin == plugin; });
    // A submenu whose item went away stays while other plug-ins' entries are in it.
    for (AIMenuGroup g : orphaned) g->parent = nullptr;
    std::erase_if(groups_, [&](const auto& g) {
        if (std::find(orphaned.begin(), orphaned.end(), g.get()) == orphaned.end()) return false;
        return std::none_of(items_.begin(), items_.end(), [&](const auto& i) { return i->group == g->name; });
    });
}

AINotifierHandle NotifierTable::add(SPPluginRef plugin, std::string name, std::string type) {
    notifiers_.push_back(std::make_unique<_AINotifier>(_AINotifier{plugin, std::move(name), std::move(type)}));
    return notifiers_.back().get();
}

bool NotifierTable::knows(AINotifierHandle notifier) const {
    return std::any_of(notifiers_.begin(), notifiers_.end(), [&](const auto& n) { return n.get() == notifier; });
}

std::vector<AINotifierHandle> NotifierTable::activeOfType(const std::string& type) const {
    std::vector<AINotifierHandle> out;
    for (const auto& n : notifiers_)
        if (n->active && n->type == type) out.push_back(n.get());
    return out;
}

void NotifierTable::removeOf(SPPluginRef plugin) {
    std::erase_if(notifiers_, [&](const auto& n) { return n->plugin == plugin; });
}

SPAccessRef AccessTable::acquire(SPPluginRef plugin) {
    refs_.push_back(std::make_unique<_SPAccess>(_SPAccess{plugin}));
    ++plugin->accessCount;
    return refs_.back().get();
}

bool AccessTable::release(SPAccessRef access) {
    auto it = std::find_if(refs_.begin(), refs_.end(), [&](const auto& r) { return r.get() == access; });
    if (it == refs_.end()) return false;
    --(*it)->plugin->accessCount;
    refs_.erase(it);
    return true;
}

void AccessTable::removeOf(SPPluginRef plugin) {
    std::erase_if(refs_, [&](const auto& r) { return r->plugin == plugin; });
    plugin->accessCount = 0;
}

AIAppContextHandle AppContextStack::push(SPPluginRef plugin) {
    stack_.push_back(plugin);
    // The handle is the depth it was pushed at, so a pop out of order is recognised.
    return reinterpret_cast<AIAppContextHandle>(static_cast<uintptr_t>(stack_.size()));
}

bool AppContextStack::pop(AIAppContextHandle context) {
    if (stack_.empty() || reinterpret_cast<uintptr_t>(context) != stack_.size()) return false;
    stack_.pop_back();
    return true;
}

}  // namespace quiltor::host
