// Plug-in files loaded with dlopen: what a broken file does, and unloading code that no lock holds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostFixture.h"
#include "loader/PluginManager.h"

namespace quiltor::host {
namespace {

class LoaderTest : public testing::HostTest {
protected:
    PluginManager& manager() { return host().plugins(); }
    SPPluginRef only() {
        EXPECT_EQ(manager().plugins().size(), 1u);
        return manager().plugins().empty() ? nullptr : manager().plugins().front();
    }
};

TEST_F(LoaderTest, FilesThatAreNoPluginsAreRefusedWithAReason) {
    namespace fs = std::filesystem;
    fs::path text = fs::temp_directory_path() / ("quiltor host_app " + std::to_string(::getpid()) + " not a plugin.so");
    std::ofstream(text) << "not a shared library";
    struct Case {
        std::string path;
        std::string reasonPart;
    } cases[] = {
        {"/no/such/plugin.so", "no such file"},
        {text.string(), ""},
        {FAKE_MODULE_NO_ENTRY, "PluginMain"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(manager().load(c.path, &error)) << c.path;
        EXPECT_FALSE(error.empty()) << c.path;
        EXPECT_NE(error.find(c.reasonPart), std::string::npos) << error;
    }
    EXPECT_TRUE(manager().plugins().empty());
    fs::remove(text);
}

TEST_F(LoaderTest, SameFileTwiceIsRefused) {
    std::string error;
    ASSERT_TRUE(manager().load(FAKE_MODULE_LOCKED, &error)) << error;
    EXPECT_FALSE(manager().load(FAKE_MODULE_LOCKED, &error));
    EXPECT_NE(error.find("already"), std::string::npos);
}

TEST_F(LoaderTest, LockedCodeStaysThroughAnUnload) {
    std::string error;
    ASSERT_TRUE(manager().load(FAKE_MODULE_LOCKED, &error)) << error;
    ASSERT_EQ(manager().startAll(), kNoErr);
    EXPECT_EQ(manager().pluginName(only()), "Fake Module");
    EXPECT_EQ(manager().sendUnload(only()), kNoErr);
    EXPECT_TRUE(manager().isCodeLoaded(only()));
    ASSERT_EQ(manager().chooseMenuItem("Fake locked"), kNoErr);
    EXPECT_EQ(ui().transcript().back(), "MESSAGE: mine: 3");  // startup, unload, go
}

TEST_F(LoaderTest, UnlockedCodeGoesAtAnUnloadAndComesBackWithAReload) {
    std::string error;
    ASSERT_TRUE(manager().load(FAKE_MODULE_UNLOCKED, &error)) << error;
    ASSERT_EQ(manager().startAll(), kNoErr);
    void* globals = manager().globals(only());
    EXPECT_EQ(manager().sendUnload(only()), kNoErr);
    EXPECT_FALSE(manager().isCodeLoaded(only()));
    // The next message maps the code again and sends "Reload" first; the globals slot survived.
    ASSERT_EQ(manager().chooseMenuItem("Fake unlocked"), kNoErr);
    EXPECT_TRUE(manager().isCodeLoaded(only()));
    EXPECT_EQ(manager().globals(only()), globals);
    EXPECT_EQ(ui().transcript().back(), "MESSAGE: mine: 2");  // reload, go: a fresh copy of the code
}

}  // namespace
}  // namespace quiltor::host
