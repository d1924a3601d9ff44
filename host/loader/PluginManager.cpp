#include "loader/PluginManager.h"

#include <algorithm>
#include <filesystem>

#include "core/HostStrings.h"
#include "core/Paths.h"
#include "core/SuiteRegistry.h"
#include "loader/SharedLibrary.h"

namespace quiltor::host {

namespace fs = std::filesystem;

struct PluginManager::Impl {
    std::vector<std::unique_ptr<_SPPlugin>> plugins;
    MenuBar menus;
    NotifierTable notifiers;
    AccessTable access;
    AppContextStack contexts;
    std::vector<StartupFailure> failures;

    _SPPlugin* find(SPPluginRef plugin) const {
        for (const auto& p : plugins)
            if (p.get() == plugin) return p.get();
        return nullptr;
    }

    // Maps the plug-in's code and finds its entry point.
    bool loadCode(_SPPlugin& plugin, std::string* error) {
        void* library = OpenSharedLibrary(plugin.path, error);
        if (!library) return false;
        auto entry = reinterpret_cast<PluginMainProc>(FindExport(library, "PluginMain"));
        if (!entry) {
            CloseSharedLibrary(library);
            if (error) *error = "it has no PluginMain entry point";
            return false;
        }
        plugin.library = library;
        plugin.main = entry;
        return true;
    }

    void unloadCode(_SPPlugin& plugin) {
        if (plugin.inProcess) return;
        if (plugin.library) CloseSharedLibrary(plugin.library);
        plugin.library = nullptr;
        plugin.main = nullptr;
    }

    // Forgets the plug-in with everything it registered.
    void remove(_SPPlugin* plugin) {
        menus.removeItemsOf(plugin);
        notifiers.removeOf(plugin);
        access.removeOf(plugin);
        unloadCode(*plugin);
        std::erase_if(plugins, [&](const auto& p) { return p.get() == plugin; });
    }
};

_SPPlugin* PluginManager::find(SPPluginRef plugin) { return impl_->find(plugin); }
MenuBar& PluginManager::menus() { return impl_->menus; }
NotifierTable& PluginManager::notifiers() { return impl_->notifiers; }
AccessTable& PluginManager::access() { return impl_->access; }
AppContextStack& PluginManager::contexts() { return impl_->contexts; }

PluginManager::PluginManager() : impl_(std::make_unique<Impl>()) {}

PluginManager::~PluginManager() { shutdownAll(); }

bool PluginManager::load(const std::string& path, std::string* error) {
    std::error_code ec;
    fs::path file = fs::absolute(PathFromUtf8(path), ec);
    if (ec || !fs::is_regular_file(file, ec)) {
        if (error) *error = "no such file";
        return false;
    }
    file = fs::weakly_canonical(file, ec);
    for (const auto& p : impl_->plugins) {
        if (p->path == Utf8FromPath(file)) {
            // Two plug-in objects would share the module's variables.
            if (error) *error = "it is already loaded";
            return false;
        }
    }
    auto plugin = std::make_unique<_SPPlugin>();
    plugin->path = Utf8FromPath(file);
    if (!impl_->loadCode(*plugin, error)) return false;
    impl_->plugins.push_back(std::move(plugin));
    return true;
}

SPPluginRef PluginManager::attach(const std::string& label, PluginMainProc entry) {
    if (!entry) return nullptr;
    auto plugin = std::make_unique<_SPPlugin>();
    plugin->path = label;
    plugin->main = entry;
    plugin->inProcess = true;
    impl_->plugins.push_back(std::move(plugin));
    return impl_->plugins.back().get();
}

AIErr PluginManager::startAll() {
    impl_->failures.clear();
    AIErr first = kNoErr;
    std::vector<_SPPlugin*> starting;
    for (const auto& p : impl_->plugins)
        if (!p->started) starting.push_back(p.get());
    std::vector<_SPPlugin*> started;
    for (_SPPlugin* plugin : starting) {
        SPInterfaceMessage message{};
        AIErr error = send(plugin, kSPInterfaceCaller, kSPInterfaceStartupSelector, &message);
        if (error == kNoErr) {
            plugin->started = true;
            started.push_back(plugin);
            continue;
        }
        if (first == kNoErr) first = error;
        impl_->failures.push_back({plugin->path, error});
        impl_->remove(plugin);
    }
    // Only once every plug-in has started do the interested ones hear that the application has.
    for (AINotifierHandle notifier : impl_->notifiers.activeOfType(kAIApplicationStartedNotifier)) {
        if (!impl_->notifiers.knows(notifier)) continue;
        if (std::find(started.begin(), started.end(), notifier->plugin) == started.end()) continue;
        AINotifierMessage message{};
        message.notifier = notifier;
        message.type = kAIApplicationStartedNotifier;
        send(notifier->plugin, kCallerAINotify, kSelectorAINotify, &message);
    }
    return first;
}

void PluginManager::shutdownAll() {
    while (!impl_->plugins.empty()) {
        _SPPlugin* plugin = impl_->plugins.back().get();
        if (plugin->started) {
            SPInterfaceMessage message{};
            send(plugin, kSPInterfaceCaller, kSPInterfaceShutdownSelector, &message);
            plugin->started = false;
        }
        impl_->remove(plugin);
    }
}

AIErr PluginManager::send(SPPluginRef ref, const char* caller, const char* selector, void* message) {
    _SPPlugin* plugin = impl_->find(ref);
    if (!plugin || !caller || !selector || !message) return kBadParameterErr;
    bool isReload =
        std::string_view(caller) == kSPAccessCaller && std::string_view(selector) == kSPAccessReloadSelector;
    if (!plugin->main) {
        // The code went away at an unload: map it again and let the plug-in re-bind before anything else.
        if (!impl_->loadCode(*plugin, nullptr)) return kCantHappenErr;
        if (!isReload) {
            SPAccessMessage reload{};
            AIErr error = send(ref, kSPAccessCaller, kSPAccessReloadSelector, &reload);
            if (error != kNoErr) return error;
        }
    }
    auto* data = static_cast<SPMessageData*>(message);
    data->SPCheck = kSPValidSPMessageData;
    data->self = plugin;
    data->globals = plugin->globals;
    data->basic = BasicSuite();
    AIErr result = plugin->main(caller, selector, message);
    // The record may have gone if the plug-in was removed meanwhile.
    if (_SPPlugin* still = impl_->find(ref)) still->globals = data->globals;
    return result;
}

AIErr PluginManager::sendUnload(SPPluginRef ref) {
    SPAccessMessage message{};
    AIErr error = send(ref, kSPAccessCaller, kSPAccessUnloadSelector, &message);
    // Code nobody holds may go; a plug-in's own lock keeps it resident.
    if (_SPPlugin* plugin = impl_->find(ref); plugin && plugin->accessCount == 0) impl_->unloadCode(*plugin);
    return error;
}

AIErr PluginManager::sendReload(SPPluginRef ref) {
    SPAccessMessage message{};
    return send(ref, kSPAccessCaller, kSPAccessReloadSelector, &message);
}

AIErr PluginManager::chooseMenuItem(const std::string& itemText) {
    for (AIMenuItemHandle item : impl_->menus.items())
        if (EncodeUtf8(item->text) == itemText && !item->submenu) return chooseMenuItem(item);
    return kNameNotFoundErr;
}

AIErr PluginManager::chooseMenuItem(AIMenuItemHandle item) {
    if (!impl_->menus.knows(item) || item->submenu) return kBadParameterErr;
    AIMenuMessage message{};
    message.menuItem = item;
    return send(item->plugin, kCallerAIMenu, kSelectorAIGoMenuItem, &message);
}

std::vector<MenuItemInfo> PluginManager::menuItems() const {
    std::vector<MenuItemInfo> out;
    for (AIMenuItemHandle item : impl_->menus.items())
        out.push_back({item->group, EncodeUtf8(item->text), item->plugin, item});
    return out;
}

std::vector<SPPluginRef> PluginManager::plugins() const {
    std::vector<SPPluginRef> out;
    for (const auto& p : impl_->plugins) out.push_back(p.get());
    return out;
}

std::string PluginManager::pluginName(SPPluginRef ref) const {
    const _SPPlugin* plugin = impl_->find(ref);
    return plugin ? plugin->name : std::string();
}

std::string PluginManager::pluginPath(SPPluginRef ref) const {
    const _SPPlugin* plugin = impl_->find(ref);
    return plugin ? plugin->path : std::string();
}

bool PluginManager::isCodeLoaded(SPPluginRef ref) const {
    const _SPPlugin* plugin = impl_->find(ref);
    return plugin && plugin->main;
}

void* PluginManager::globals(SPPluginRef ref) const {
    const _SPPlugin* plugin = impl_->find(ref);
    return plugin ? plugin->globals : nullptr;
}

const std::vector<PluginManager::StartupFailure>& PluginManager::startupFailures() const { return impl_->failures; }

}  // namespace quiltor::host
