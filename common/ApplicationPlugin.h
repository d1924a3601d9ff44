// The plug-in object of a deliverable: the framework's Plugin, plus the two
// menu items every plug-in of the family installs (its entry in the shared
// About submenu and its main item), the about box, and the exception wrapper
// around its messages. A deliverable derives from it, passes its description
// and says what its main item runs.
#ifndef QUILTOR_COMMON_APPLICATIONPLUGIN_H
#define QUILTOR_COMMON_APPLICATIONPLUGIN_H

#include "AIHost.h"
#include "Plugin.h"
#include "PluginDescription.h"

class ApplicationPlugin : public Plugin {
public:
    ApplicationPlugin(SPPluginRef pluginRef, const PluginDescription& description);
    ~ApplicationPlugin() override;

    // Plugin's start-up, then AddMenus.
    AIErr StartupPlugin(SPInterfaceMessage* message) override;
    // Clears the message's globals slot before Plugin's shutdown.
    AIErr ShutdownPlugin(SPInterfaceMessage* message) override;
    // Plugin::Message with exceptions turned into codes, '!MSG' into 0, and
    // any other error reported and returned.
    AIErr Message(const char* caller, const char* selector, void* message) override;
    // Always 0: a run's errors never reach the framework's error path.
    AIErr GoMenuItem(AIMenuMessage* message) override;

    // The About entry (a failure there is ignored), then the main item, whose
    // result is returned.
    AIErr AddMenus(SPInterfaceMessage* message);

protected:
    // What the main item runs; its result is dropped.
    virtual AIErr RunMainItem(AIMenuMessage* message) = 0;

private:
    const PluginDescription fDescription;
    AIMenuItemHandle fAboutPluginMenu;
    AIMenuItemHandle fMainMenu;
};

#endif
