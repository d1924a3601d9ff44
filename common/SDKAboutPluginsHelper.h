// The About submenu shared by the plug-ins of the family, and the about box.
// The first plug-in to start creates the submenu; the others find it by name
// and add their entry. The helper borrows the menu and user suites from the
// basic suite for the length of one call and holds nothing in between.
#ifndef QUILTOR_COMMON_SDKABOUTPLUGINSHELPER_H
#define QUILTOR_COMMON_SDKABOUTPLUGINSHELPER_H

#include "AIHost.h"
#include "IAIUnicodeString.h"

class SDKAboutPluginsHelper {
public:
    SDKAboutPluginsHelper() = default;
    virtual ~SDKAboutPluginsHelper() = default;

    // Adds itemText as an entry of the submenu groupName (created under the
    // host group "About" with the visible text groupText when it does not
    // exist yet). *menuItem receives the entry. Returns the first error met;
    // *menuItem is untouched then.
    AIErr AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName,
                                  const ai::UnicodeString& groupText, const char* itemText, AIMenuItemHandle* menuItem);

    // *exists = whether a menu group of that name (byte for byte) exists.
    AIErr GroupExists(const char* name, bool* exists);

    // Shows title, an empty line and text in one modal alert. Shows nothing
    // when the user suite cannot be had.
    void PopAboutBox(AIMenuMessage* message, const char* title, const char* text);

    SDKAboutPluginsHelper(const SDKAboutPluginsHelper&) = delete;
    SDKAboutPluginsHelper& operator=(const SDKAboutPluginsHelper&) = delete;

private:
    const AIMenuSuite* fMenuSuite = nullptr;
    const AIUserSuite* fUserSuite = nullptr;
};

// What both plug-ins do with the helper: their About entry (a failure never
// stops the start-up) and their about box. Texts pass through the 260-byte
// platform buffer on their way to the host.
void AddAboutEntry(SPInterfaceMessage* message, const char* groupName, const char* entryText,
                   AIMenuItemHandle* menuItem);
void ShowAboutBox(AIMenuMessage* message, const char* title, const char* text);

#endif
