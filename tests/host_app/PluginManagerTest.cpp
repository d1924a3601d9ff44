// The host's side of the plug-in conversation, driven with two small plug-ins linked into the test.
// They behave as the framework does: name themselves, ask for the application-started notifier,
// lock their code, share one About submenu and answer their menu items with an alert.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "core/ActionRegistry.h"
#include "core/HostStrings.h"
#include "loader/PluginManager.h"
#include "suites/PluginServices.h"

namespace quiltor::host {
namespace {

constexpr const char* kSubmenu = "Orvela Plateo.ai Quiltware について...";

struct FakeBehaviour {
    const char* name;
    const char* group;  // where its main item goes
    const char* itemText;
    AIErr startupResult = kNoErr;  // given after the menus are made
};

FakeBehaviour gBehaviour[2] = {
    {"FakeSelect", "Open Document", "Fake セレクト"},
    {"FakeAdjust", "Objects", "Fake アジャスト"},
};
std::vector<std::string> gLog;

struct FakeObject {
    int index;
    SPAccessRef lock = nullptr;
    AIMenuItemHandle about = nullptr;
    AIMenuItemHandle main = nullptr;
    int startedCount = 0;
};

// The suites one message uses, given back when it is answered.
class Lease {
public:
    explicit Lease(SPBasicSuite* basic) : basic_(basic) {}
    ~Lease() {
        for (const auto& [name, version] : held_) basic_->ReleaseSuite(name, version);
    }
    template <typename Suite>
    const Suite* get(const char* name, int32_t version) {
        const void* suite = nullptr;
        if (basic_->AcquireSuite(name, version, &suite) == kNoErr) held_.push_back({name, version});
        return static_cast<const Suite*>(suite);
    }

private:
    SPBasicSuite* basic_;
    std::vector<std::pair<const char*, int32_t>> held_;
};

AIUnicodeStringRef Text(const AIUnicodeStringSuite* strings, const std::string& utf8) {
    AIUnicodeStringRef s = nullptr;
    strings->Initialize(&s);
    strings->SetFromBytes(s, utf8.c_str(), -1, kAIUTF8CharacterEncoding);
    return s;
}

bool GroupExists(const AIMenuSuite* menus, const char* name) {
    int32_t count = 0;
    menus->CountMenuGroups(&count);
    for (int32_t i = 0; i < count; ++i) {
        AIMenuGroup group = nullptr;
        const char* groupName = nullptr;
        menus->GetNthMenuGroup(i, &group);
        menus->GetMenuGroupName(group, &groupName);
        if (std::strcmp(groupName, name) == 0) return true;
    }
    return false;
}

AIErr FakeMain(int index, const char* caller, const char* selector, void* message) {
    auto* data = static_cast<SPMessageData*>(message);
    Lease suites(data->basic);
    auto* self = static_cast<FakeObject*>(data->globals);
    const FakeBehaviour& b = gBehaviour[index];
    gLog.push_back(std::string(b.name) + " " + caller + "/" + selector);
    std::string call = std::string(caller) + "/" + selector;

    if (call == "SP Interface/Startup") {
        self = new FakeObject{index};
        data->globals = self;
        auto plugins = suites.get<SPPluginsSuite>(kSPPluginsSuite, kSPPluginsSuiteVersion);
        auto notifiers = suites.get<AINotifierSuite>(kAINotifierSuite, kAINotifierSuiteVersion);
        auto access = suites.get<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion);
        auto menus = suites.get<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion);
        auto strings = suites.get<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        plugins->SetPluginName(data->self, b.name);
        notifiers->AddNotifier(data->self, (std::string(b.name) + " App Started Notifier").c_str(),
                               kAIApplicationStartedNotifier, nullptr);
        access->AcquirePlugin(data->self, &self->lock);
        if (!GroupExists(menus, kSubmenu)) {
            AIUnicodeStringRef t = Text(strings, kSubmenu);
            AIMenuItemHandle item = nullptr;
            menus->AddMenuItem(data->self, nullptr, kAboutMenuGroup, t, 0, &item);
            menus->AddMenuGroupAsSubMenu(kSubmenu, 1, item, nullptr);
            strings->Destroy(t);
        }
        AIUnicodeStringRef about = Text(strings, std::string(b.itemText) + " ...");
        AIUnicodeStringRef main = Text(strings, b.itemText);
        menus->AddMenuItem(data->self, nullptr, kSubmenu, about, 0, &self->about);
        menus->AddMenuItem(data->self, nullptr, b.group, main, 0, &self->main);
        strings->Destroy(about);
        strings->Destroy(main);
        if (b.startupResult != kNoErr) {
            access->ReleasePlugin(self->lock);
            delete self;
            data->globals = nullptr;
        }
        return b.startupResult;
    }
    if (!self) return kNoErr;
    if (call == "SP Interface/Shutdown") {
        suites.get<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion)->ReleasePlugin(self->lock);
        delete self;
        data->globals = nullptr;
        return kNoErr;
    }
    if (call == "AI Notifier/AI Notify") {
        auto* notify = static_cast<AINotifierMessage*>(message);
        ++self->startedCount;
        return std::strcmp(notify->type, kAIApplicationStartedNotifier) == 0 ? kNoErr : kBadParameterErr;
    }
    if (call == "AI Menu/AI Go") {
        auto* menu = static_cast<AIMenuMessage*>(message);
        auto user = suites.get<AIUserSuite>(kAIUserSuite, kAIUserSuiteVersion);
        auto strings = suites.get<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        AIUnicodeStringRef t = Text(strings, std::string(b.name) + (menu->menuItem == self->about  ? " about"
                                                                    : menu->menuItem == self->main ? " main"
                                                                                                   : " other"));
        user->MessageAlert(t);
        strings->Destroy(t);
        return kNoErr;
    }
    return kUnhandledMsgErr;
}

AIErr FakeSelectMain(const char* c, const char* s, void* m) { return FakeMain(0, c, s, m); }
AIErr FakeAdjustMain(const char* c, const char* s, void* m) { return FakeMain(1, c, s, m); }

class PluginManagerTest : public testing::HostTest {
protected:
    void SetUp() override {
        gLog.clear();
        gBehaviour[0].startupResult = kNoErr;
        gBehaviour[1].startupResult = kNoErr;
        select = manager().attach("fake-select", FakeSelectMain);
        adjust = manager().attach("fake-adjust", FakeAdjustMain);
    }
    PluginManager& manager() { return host().plugins(); }
    FakeObject* object(SPPluginRef plugin) { return static_cast<FakeObject*>(manager().globals(plugin)); }

    SPPluginRef select = nullptr;
    SPPluginRef adjust = nullptr;
};

TEST_F(PluginManagerTest, ApplicationStartedReachesPluginsOnlyAfterAllStarted) {
    ASSERT_EQ(manager().startAll(), kNoErr);
    EXPECT_EQ(gLog, (std::vector<std::string>{"FakeSelect SP Interface/Startup", "FakeAdjust SP Interface/Startup",
                                              "FakeSelect AI Notifier/AI Notify", "FakeAdjust AI Notifier/AI Notify"}));
    EXPECT_EQ(object(select)->startedCount, 1);
    EXPECT_EQ(manager().pluginName(select), "FakeSelect");
    EXPECT_EQ(manager().pluginName(adjust), "FakeAdjust");
}

TEST_F(PluginManagerTest, TwoPluginsShareOneAboutSubmenu) {
    ASSERT_EQ(manager().startAll(), kNoErr);
    std::vector<std::string> lines;
    for (const auto& item : manager().menuItems()) lines.push_back(item.group + "\t" + item.text);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         std::string("About\t") + kSubmenu,
                         std::string(kSubmenu) + "\tFake セレクト ...",
                         "Open Document\tFake セレクト",
                         std::string(kSubmenu) + "\tFake アジャスト ...",
                         "Objects\tFake アジャスト",
                     }));
}

TEST_F(PluginManagerTest, ChoosingAnItemReachesItsOwnerWithTheItemAndItsGlobals) {
    ASSERT_EQ(manager().startAll(), kNoErr);
    FakeObject* before = object(adjust);
    EXPECT_EQ(manager().chooseMenuItem("Fake アジャスト ..."), kNoErr);
    EXPECT_EQ(manager().chooseMenuItem("Fake セレクト"), kNoErr);
    EXPECT_EQ(ui().transcript(), (std::vector<std::string>{"MESSAGE: FakeAdjust about", "MESSAGE: FakeSelect main"}));
    EXPECT_EQ(object(adjust), before);

    EXPECT_EQ(manager().chooseMenuItem("Fake"), kNameNotFoundErr);
    EXPECT_EQ(manager().chooseMenuItem(kSubmenu), kNameNotFoundErr);  // a submenu is not chosen
    EXPECT_EQ(manager().chooseMenuItem(static_cast<AIMenuItemHandle>(nullptr)), kBadParameterErr);
}

TEST_F(PluginManagerTest, FailedStartupIsDroppedWithEverythingItAdded) {
    gBehaviour[0].startupResult = kInjectedFailureErr;  // the one that made the submenu
    EXPECT_EQ(manager().startAll(), kInjectedFailureErr);
    ASSERT_EQ(manager().startupFailures().size(), 1u);
    EXPECT_EQ(manager().startupFailures()[0].path, "fake-select");
    EXPECT_EQ(manager().startupFailures()[0].error, kInjectedFailureErr);
    EXPECT_EQ(manager().plugins(), std::vector<SPPluginRef>{adjust});

    std::vector<std::string> lines;
    for (const auto& item : manager().menuItems()) lines.push_back(item.group + "\t" + item.text);
    // The submenu went with the plug-in that made it, so the next one made it again.
    EXPECT_EQ(lines,
              (std::vector<std::string>{std::string("About\t") + kSubmenu,
                                        std::string(kSubmenu) + "\tFake アジャスト ...", "Objects\tFake アジャスト"}));
    MenuBar& menus = PluginManagerAccess::menus(manager());
    int named = 0;
    for (int32_t i = 0; i < menus.groupCount(); ++i) named += menus.group(i)->name == kSubmenu;
    EXPECT_EQ(named, 1);
    EXPECT_EQ(gLog.back(), "FakeAdjust AI Notifier/AI Notify");
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "FakeSelect AI Notifier/AI Notify"), 0);
}

TEST_F(PluginManagerTest, ShutdownGoesInReverseOrderAndLeavesNothingHeld) {
    ASSERT_EQ(manager().startAll(), kNoErr);
    EXPECT_EQ(select->accessCount, 1);
    gLog.clear();
    manager().shutdownAll();
    EXPECT_EQ(gLog, (std::vector<std::string>{"FakeAdjust SP Interface/Shutdown", "FakeSelect SP Interface/Shutdown"}));
    EXPECT_TRUE(manager().plugins().empty());
    EXPECT_TRUE(manager().menuItems().empty());
    for (const auto& name : host().suites().names()) EXPECT_EQ(host().suites().acquiredCount(name), 0) << name;
}

TEST_F(PluginManagerTest, UnloadKeepsLockedCodeAndTheGlobals) {
    ASSERT_EQ(manager().startAll(), kNoErr);
    FakeObject* before = object(select);
    EXPECT_EQ(manager().sendUnload(select), kUnhandledMsgErr);  // the fake does not answer it
    EXPECT_TRUE(manager().isCodeLoaded(select));
    EXPECT_EQ(manager().sendReload(select), kUnhandledMsgErr);
    EXPECT_EQ(object(select), before);
    EXPECT_EQ(gLog.back(), "FakeSelect SP Access/Reload");
}

TEST_F(PluginManagerTest, MessagesToUnknownPluginsAreRefused) {
    SPInterfaceMessage message{};
    EXPECT_EQ(manager().send(reinterpret_cast<SPPluginRef>(&message), "SP Interface", "About", &message),
              kBadParameterErr);
    EXPECT_EQ(manager().send(select, "SP Interface", "About", nullptr), kBadParameterErr);
}

TEST_F(PluginManagerTest, AccessReferencesAreCounted) {
    auto access = acquire<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion);
    SPAccessRef one = nullptr, two = nullptr;
    ASSERT_EQ(access->AcquirePlugin(select, &one), kNoErr);
    ASSERT_EQ(access->AcquirePlugin(select, &two), kNoErr);
    int32_t count = 0;
    access->GetPluginAccessCount(select, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(access->ReleasePlugin(one), kNoErr);
    EXPECT_EQ(access->ReleasePlugin(one), kBadParameterErr);
    access->GetPluginAccessCount(select, &count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(access->ReleasePlugin(two), kNoErr);
    EXPECT_EQ(access->AcquirePlugin(nullptr, &one), kBadParameterErr);
}

TEST_F(PluginManagerTest, AppContextsPopInReverseOrderOnly) {
    auto context = acquire<AIAppContextSuite>(kAIAppContextSuite, kAIAppContextSuiteVersion);
    AIAppContextHandle outer = nullptr, inner = nullptr;
    ASSERT_EQ(context->PushAppContext(select, &outer), kNoErr);
    ASSERT_EQ(context->PushAppContext(adjust, &inner), kNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kBadParameterErr);
    EXPECT_EQ(context->PopAppContext(inner), kNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kBadParameterErr);
    EXPECT_EQ(PluginManagerAccess::contexts(manager()).depth(), 0u);
}

TEST_F(PluginManagerTest, MenuSuiteRefusesWhatTheMenuBarCannotHold) {
    auto menus = acquire<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion);
    AIUnicodeStringRef text = nullptr;
    auto strings = acquire<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
    strings->Initialize(&text);
    AIMenuItemHandle item = nullptr;
    EXPECT_EQ(menus->AddMenuItem(select, nullptr, "No Such Group", text, 0, &item), kNameNotFoundErr);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(menus->AddMenuItem(nullptr, nullptr, kAboutMenuGroup, text, 0, &item), kBadParameterErr);
    ASSERT_EQ(menus->AddMenuItem(select, nullptr, kAboutMenuGroup, text, 0, &item), kNoErr);
    EXPECT_EQ(menus->AddMenuGroupAsSubMenu(kObjectsMenuGroup, 1, item, nullptr), kBadParameterErr);  // taken
    ASSERT_EQ(menus->AddMenuGroupAsSubMenu("Sub", 1, item, nullptr), kNoErr);
    EXPECT_EQ(menus->AddMenuGroupAsSubMenu("Sub 2", 1, item, nullptr), kBadParameterErr);  // already one

    int32_t count = 0;
    menus->CountMenuGroups(&count);
    AIMenuGroup group = nullptr;
    EXPECT_EQ(menus->GetNthMenuGroup(count, &group), kIndexOutOfRangeErr);
    EXPECT_EQ(group, nullptr);
    const char* name = nullptr;
    ASSERT_EQ(menus->GetNthMenuGroup(count - 1, &group), kNoErr);
    ASSERT_EQ(menus->GetMenuGroupName(group, &name), kNoErr);
    EXPECT_STREQ(name, "Sub");
    SPPluginRef owner = nullptr;
    ASSERT_EQ(menus->GetMenuItemPlugin(item, &owner), kNoErr);
    EXPECT_EQ(owner, select);
    strings->Destroy(text);
}

class UserSuiteTest : public testing::HostTest {};

TEST_F(UserSuiteTest, AlertsQuestionsAndFolderChooserGoToTheUser) {
    auto user = acquire<AIUserSuite>(kAIUserSuite, kAIUserSuiteVersion);
    auto paths = acquire<AIFilePathSuite>(kAIFilePathSuite, kAIFilePathSuiteVersion);
    auto strings = acquire<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
    AIUnicodeStringRef text = nullptr;
    AIFilePathRef path = nullptr;
    strings->Initialize(&text);
    paths->Initialize(&path);
    AssignUtf8(text, "Quiltor セレクトマージ - フォルダ選択");

    ui().queueAnswer(kAIYesAnswer);
    ui().queueFolder(std::string("/data/地図 タイル"));
    int32_t answer = -1;
    EXPECT_EQ(user->ErrorAlert(text), kNoErr);
    EXPECT_EQ(user->MessageAlert(text), kNoErr);
    EXPECT_EQ(user->YesNoAlert(text, &answer), kNoErr);
    EXPECT_EQ(answer, kAIYesAnswer);
    EXPECT_EQ(user->YesNoAlert(text, &answer), kNoErr);
    EXPECT_EQ(answer, kAICancelAnswer);

    ASSERT_EQ(user->GetDirectoryDialog(text, path), kNoErr);
    EXPECT_EQ(path->path, "/data/地図 タイル");
    EXPECT_EQ(user->GetDirectoryDialog(text, path), kCanceledErr);
    EXPECT_EQ(path->path, "/data/地図 タイル");  // untouched on cancel
    EXPECT_EQ(ui().folderTitles(), (std::vector<std::string>(2, "Quiltor セレクトマージ - フォルダ選択")));
    EXPECT_EQ(ui().alerts().size(), 4u);
    EXPECT_EQ(user->ErrorAlert(nullptr), kBadParameterErr);

    strings->Destroy(text);
    paths->Destroy(path);
}

class ActionManagerTest : public testing::HostTest {
protected:
    void SetUp() override {
        actions = acquire<AIActionManagerSuite>(kAIActionManagerSuite, kAIActionManagerSuiteVersion);
        strings = acquire<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
        ASSERT_EQ(actions->AINewActionParamValue(&param), kNoErr);
        strings->Initialize(&text);
    }
    void TearDown() override {
        actions->AIDeleteActionParamValue(param);
        strings->Destroy(text);
    }
    const AIActionManagerSuite* actions = nullptr;
    const AIUnicodeStringSuite* strings = nullptr;
    AIActionParamValueRef param = nullptr;
    AIUnicodeStringRef text = nullptr;
};

TEST_F(ActionManagerTest, ParameterBlockKeepsEachTypeUnderItsKey) {
    const AIActionParamKey a = AI_ACTION_KEY('a', 'a', 'a', 'a'), b = AI_ACTION_KEY('b', 'b', 'b', 'b');
    AssignUtf8(text, "名前");
    actions->AIActionSetInteger(param, a, 11);
    actions->AIActionSetReal(param, b, 2.5f);
    int32_t i = 0;
    AIReal r = 0;
    AIBoolean flag = 0;
    EXPECT_EQ(actions->AIActionGetInteger(param, a, &i), kNoErr);
    EXPECT_EQ(i, 11);
    EXPECT_EQ(actions->AIActionGetReal(param, b, &r), kNoErr);
    EXPECT_EQ(r, 2.5f);
    EXPECT_EQ(actions->AIActionGetBoolean(param, a, &flag), kNameNotFoundErr);  // holds an integer
    EXPECT_EQ(actions->AIActionGetInteger(param, AI_ACTION_KEY('n', 'o', 'n', 'e'), &i), kNameNotFoundErr);

    actions->AIActionSetStringUS(param, a, text);  // replaces the integer
    AIUnicodeStringRef back = nullptr;
    strings->Initialize(&back);
    EXPECT_EQ(actions->AIActionGetStringUS(param, a, back), kNoErr);
    EXPECT_EQ(Utf8Of(back), "名前");
    EXPECT_EQ(actions->AIActionGetInteger(param, a, &i), kNameNotFoundErr);
    actions->AIActionSetBoolean(param, b, true);
    EXPECT_EQ(actions->AIActionGetBoolean(param, b, &flag), kNoErr);
    EXPECT_EQ(flag, 1);
    strings->Destroy(back);
}

TEST_F(ActionManagerTest, LayersPanelEventSetsThePasteOption) {
    actions->AIActionSetInteger(param, AI_ACTION_KEY('m', 'u', 'i', 'd'), 11);
    AssignUtf8(text, "コピー元のレイヤーにペースト");
    actions->AIActionSetStringUS(param, AI_ACTION_KEY('n', 'a', 'm', 'e'), text);
    actions->AIActionSetBoolean(param, AI_ACTION_KEY('t', 'o', 'g', 'l'), true);
    ASSERT_FALSE(host().preferences().pasteRemembersLayers);
    EXPECT_EQ(actions->PlayActionEvent("ai_plugin_Layer", kDialogNone, param), kNoErr);
    EXPECT_TRUE(host().preferences().pasteRemembersLayers);
    // Switching on again leaves it on: 'togl' sets, it does not flip.
    EXPECT_EQ(actions->PlayActionEvent("ai_plugin_Layer", kDialogNone, param), kNoErr);
    EXPECT_TRUE(host().preferences().pasteRemembersLayers);

    ASSERT_EQ(host().actions().history().size(), 2u);
    EXPECT_EQ(host().actions().history()[0].name, "ai_plugin_Layer");
    EXPECT_EQ(
        std::get<std::u16string>(host().actions().history()[0].params.values.at(AI_ACTION_KEY('n', 'a', 'm', 'e'))),
        u"コピー元のレイヤーにペースト");
}

TEST_F(ActionManagerTest, UnknownEventsAndCommandsAreRefusedButRecorded) {
    EXPECT_EQ(actions->PlayActionEvent("adobe_frobnicate", kDialogNone, param), kNameNotFoundErr);
    actions->AIActionSetInteger(param, AI_ACTION_KEY('m', 'u', 'i', 'd'), 12);
    EXPECT_EQ(actions->PlayActionEvent("ai_plugin_Layer", kDialogNone, param), kBadParameterErr);
    EXPECT_EQ(actions->PlayActionEvent("ai_plugin_Layer", kDialogNone, nullptr), kBadParameterErr);
    EXPECT_FALSE(host().preferences().pasteRemembersLayers);
    EXPECT_EQ(host().actions().history().size(), 3u);
    EXPECT_EQ(actions->PlayActionEvent(nullptr, kDialogNone, param), kBadParameterErr);
}

}  // namespace
}  // namespace quiltor::host
