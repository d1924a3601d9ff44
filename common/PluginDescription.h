// What a deliverable says about itself: its name, its About entry and about
// box, its main menu item and the suites only it needs. The framework does the
// rest the same way for every plug-in of the family. A plain value, so a
// platform can give its own texts without touching the code that uses them.
#ifndef QUILTOR_COMMON_PLUGINDESCRIPTION_H
#define QUILTOR_COMMON_PLUGINDESCRIPTION_H

struct ImportSuite;

struct MenuItemDescription {
    const char* name;   // the item's name in the host
    const char* group;  // the host menu group it joins
    const char* text;   // what the user sees (literal encoding)
};

struct PluginDescription {
    // Stored as the plug-in's name (cut to 255 bytes); also names its notifier.
    const char* pluginName;
    // Its entry in the family's shared About submenu.
    const char* aboutEntryText;
    // The about box: the title, then an empty line, then the text.
    const char* aboutTitle;
    const char* aboutText;
    // The item that starts the plug-in's run.
    MenuItemDescription mainItem;
    // Acquired after the suites every plug-in imports; ends with an entry
    // whose name is null.
    const ImportSuite* ownSuites;
    // Added to every AI suite's plain version in the Windows build (SuiteVersion in Suites.h):
    // 1 for the build of the CC generation of the host.
    int32_t windowsSuiteVersionStep;
};

// Each deliverable defines its own.
extern const PluginDescription gPluginDescription;

#endif
