#ifndef QUILTOR_TESTS_FRAMEWORK_FAKE_HOST_H
#define QUILTOR_TESTS_FRAMEWORK_FAKE_HOST_H

// A small in-process stand-in for the host: a basic suite that hands out suites
// by name and version and counts what is held, and just enough of the access,
// plug-ins, notifier, context, user, menu, string, file-path and artboard
// suites for the framework to run. Suites it does not model come back as an
// empty table. C callbacks have no context, so there is one fake per process.

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "AIHost.h"

namespace fake {

struct MenuItem {
    std::string group;
    std::string itemName;  // empty when none was given
    std::string text;      // UTF-8
    int32_t options;
    SPPluginRef plugin;
};

struct MenuGroup {
    std::string name;
    int32_t options;
    const MenuItem* parent;  // the item it hangs from; null for the host's own groups
};

struct Host {
    // Suites refused with kSPSuiteNotFoundError.
    std::set<std::string> missing;
    // Calls that fail with the given code. Names are the suite members; the
    // menu's AddMenuItem is keyed "AddMenuItem@<group>".
    std::map<std::string, AIErr> failures;
    // GetToBuffer claims more bytes than it may write (a host misbehaving).
    bool overstateWritten = false;
    // MessageAlert throws a foreign exception.
    bool alertThrows = false;

    std::vector<std::string> acquired;  // every AcquireSuite call, in order
    std::map<std::string, int> held;    // outstanding acquisitions per suite
    int badReleases = 0;

    int accessRefs = 0;  // outstanding SPAccessSuite::AcquirePlugin references
    int accessReleaseCalls = 0;
    std::string pluginName;
    std::vector<std::pair<std::string, std::string>> notifiers;  // name, type
    int contextDepth = 0;
    int contextPushes = 0;
    std::vector<std::string> alerts;  // UTF-8 texts of MessageAlert

    std::deque<MenuItem> items;  // stable addresses: an item's handle is its address
    std::deque<MenuGroup> groups;

    int liveStrings = 0;
    int livePaths = 0;
    int liveArtboardObjects = 0;

    // Number of suites held, all names together.
    int HeldCount() const;
    // Items of a group, in the order added.
    std::vector<const MenuItem*> ItemsOf(const std::string& group) const;
    int GroupCount(const std::string& name) const;
};

// Resets the fake to a host with the groups "About", "Open Document" and "Objects".
Host& Reset();
Host& Get();
SPBasicSuite* Basic();

// Tables of the modelled suites, for tests that set module pointers directly.
const AIUnicodeStringSuite* UnicodeStringSuite();
const AIFilePathSuite* FilePathSuite();
const AIArtboardSuite* ArtboardSuite();

AIMenuItemHandle HandleOf(const MenuItem* item);

}  // namespace fake

#endif
