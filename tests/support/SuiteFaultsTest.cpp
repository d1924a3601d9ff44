// The fault wrapper must fail a call the way the host does and leave the host as it found it,
// or every test built on it checks the wrong thing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InProcessHost.h"
#include "SuiteFaults.h"
#include "model/Workspace.h"

namespace testsupport {
namespace {

class SuiteFaultsTest : public ::testing::Test {
protected:
    SuiteFaultsTest() { host_.workspace().newDocument(quiltor::host::NewDocumentOptions{}); }

    InProcessHost host_;
    const AILayerSuite* layers_ = host_.Acquire<AILayerSuite>();
    const AIArtSuite* art_ = host_.Acquire<AIArtSuite>();
};

TEST_F(SuiteFaultsTest, WrapAllCountsAndRecordsEveryCallInOrder) {
    SuiteFaults faults(host_.suites());
    faults.WrapAll();
    AILayerHandle layer = nullptr;
    AIArtHandle art = nullptr;
    ASSERT_EQ(layers_->GetFirstLayer(&layer), kNoErr);
    ASSERT_EQ(art_->GetFirstArtOfLayer(layer, &art), kNoErr);
    ASSERT_EQ(art_->NewArt(kPathArt, kPlaceInsideOnTop, art, &art), kNoErr);

    EXPECT_EQ(faults.TotalCalls(), 3);
    EXPECT_EQ(faults.Log(), (std::vector<std::string_view>{"AILayerSuite::GetFirstLayer",
                                                           "AIArtSuite::GetFirstArtOfLayer", "AIArtSuite::NewArt"}));
}

// A failing call answers the code and hands back no handle, whichever way it was armed.
TEST_F(SuiteFaultsTest, AFailedCallReturnsTheCodeAndNoHandle) {
    SuiteFaults faults(host_.suites());
    faults.WrapAll();
    AILayerHandle layer = nullptr;
    ASSERT_EQ(layers_->GetFirstLayer(&layer), kNoErr);
    AIArtHandle group = nullptr;
    ASSERT_EQ(art_->GetFirstArtOfLayer(layer, &group), kNoErr);

    AIArtHandle made = group;
    faults.FailNthCall(2, kOutOfMemoryErr);
    EXPECT_EQ(art_->NewArt(kPathArt, kPlaceInsideOnTop, group, &made), kNoErr);
    EXPECT_EQ(art_->NewArt(kPathArt, kPlaceInsideOnTop, group, &made), kOutOfMemoryErr);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(art_->NewArt(kPathArt, kPlaceInsideOnTop, group, &made), kNoErr);
    EXPECT_NE(made, nullptr);

    faults.FailAt<&AIArtSuite::GetArtFirstChild>(2);
    AIArtHandle child = nullptr;
    EXPECT_EQ(art_->GetArtFirstChild(group, &child), kNoErr);
    EXPECT_NE(child, nullptr);
    EXPECT_EQ(art_->GetArtFirstChild(group, &child), kInjectedFailureErr);
    EXPECT_EQ(child, nullptr);

    faults.FailWhen<&AILayerSuite::GetNextLayer>([](AILayerHandle from, AILayerHandle*) { return from != nullptr; });
    AILayerHandle next = layer;
    EXPECT_EQ(layers_->GetNextLayer(layer, &next), kInjectedFailureErr);
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(faults.Calls<&AILayerSuite::GetNextLayer>(), 1);
}

TEST_F(SuiteFaultsTest, GivesTheHostItsOwnCallsBack) {
    auto(*const own)(AIArtHandle, AIArtHandle*) = art_->GetArtFirstChild;
    {
        SuiteFaults faults(host_.suites());
        faults.WrapAll();
        faults.FailAlways<&AIArtSuite::GetArtFirstChild>();
        EXPECT_NE(art_->GetArtFirstChild, own);
    }
    EXPECT_EQ(art_->GetArtFirstChild, own);
    AILayerHandle layer = nullptr;
    AIArtHandle group = nullptr;
    ASSERT_EQ(layers_->GetFirstLayer(&layer), kNoErr);
    ASSERT_EQ(art_->GetFirstArtOfLayer(layer, &group), kNoErr);
    AIArtHandle child = nullptr;
    EXPECT_EQ(art_->GetArtFirstChild(group, &child), kNoErr);
}

}  // namespace
}  // namespace testsupport
