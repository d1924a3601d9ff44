/* A plug-in file for the loader tests: it adds one menu item and answers it with an alert that
 * says how many messages this copy of its code has seen. Built once holding a lock on itself
 * (its code stays loaded through an unload) and once without. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "AIHost.h"

#if defined(FAKE_NO_ENTRY)
#define ENTRY NotPluginMain
#else
#define ENTRY PluginMain
#endif

typedef struct Globals {
    AIMenuItemHandle item;
    SPAccessRef lock;
} Globals;

static int sMessagesSeen = 0; /* starts again whenever the code is mapped afresh */

static const void* Acquire(SPBasicSuite* basic, const char* name, int32_t version) {
    const void* suite = NULL;
    basic->AcquireSuite(name, version, &suite);
    return suite;
}

__attribute__((visibility("default"))) AIErr ENTRY(const char* caller, const char* selector, void* message) {
    SPMessageData* data = (SPMessageData*)message;
    SPBasicSuite* basic = data->basic;
    Globals* globals = (Globals*)data->globals;
    ++sMessagesSeen;

    if (strcmp(caller, kSPInterfaceCaller) == 0 && strcmp(selector, kSPInterfaceStartupSelector) == 0) {
        const AIMenuSuite* menus = (const AIMenuSuite*)Acquire(basic, kAIMenuSuite, kAIMenuSuiteVersion);
        const AIUnicodeStringSuite* strings =
            (const AIUnicodeStringSuite*)Acquire(basic, kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        const SPPluginsSuite* plugins = (const SPPluginsSuite*)Acquire(basic, kSPPluginsSuite, kSPPluginsSuiteVersion);
        AIUnicodeStringRef text = NULL;
        globals = (Globals*)calloc(1, sizeof(Globals));
        data->globals = globals;
        plugins->SetPluginName(data->self, "Fake Module");
        strings->Initialize(&text);
        strings->SetFromBytes(text, FAKE_ITEM, -1, kAIUTF8CharacterEncoding);
        menus->AddMenuItem(data->self, NULL, kObjectsMenuGroup, text, 0, &globals->item);
        strings->Destroy(text);
#if defined(FAKE_LOCKED)
        {
            const SPAccessSuite* access = (const SPAccessSuite*)Acquire(basic, kSPAccessSuite, kSPAccessSuiteVersion);
            access->AcquirePlugin(data->self, &globals->lock);
            basic->ReleaseSuite(kSPAccessSuite, kSPAccessSuiteVersion);
        }
#endif
        basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
        basic->ReleaseSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        basic->ReleaseSuite(kSPPluginsSuite, kSPPluginsSuiteVersion);
        return kNoErr;
    }
    if (!globals) return kNoErr;
    if (strcmp(caller, kSPInterfaceCaller) == 0 && strcmp(selector, kSPInterfaceShutdownSelector) == 0) {
        if (globals->lock) {
            const SPAccessSuite* access = (const SPAccessSuite*)Acquire(basic, kSPAccessSuite, kSPAccessSuiteVersion);
            access->ReleasePlugin(globals->lock);
            basic->ReleaseSuite(kSPAccessSuite, kSPAccessSuiteVersion);
        }
        free(globals);
        data->globals = NULL;
        return kNoErr;
    }
    if (strcmp(caller, kCallerAIMenu) == 0 && strcmp(selector, kSelectorAIGoMenuItem) == 0) {
        const AIUserSuite* user = (const AIUserSuite*)Acquire(basic, kAIUserSuite, kAIUserSuiteVersion);
        const AIUnicodeStringSuite* strings =
            (const AIUnicodeStringSuite*)Acquire(basic, kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        AIUnicodeStringRef text = NULL;
        char line[64];
        snprintf(line, sizeof line, "%s: %d", ((AIMenuMessage*)message)->menuItem == globals->item ? "mine" : "other",
                 sMessagesSeen);
        strings->Initialize(&text);
        strings->SetFromBytes(text, line, -1, kAIUTF8CharacterEncoding);
        user->MessageAlert(text);
        strings->Destroy(text);
        basic->ReleaseSuite(kAIUserSuite, kAIUserSuiteVersion);
        basic->ReleaseSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        return kNoErr;
    }
    return kNoErr;
}
