// The arena behind art handles: which addresses it calls nodes, and when a node's handle may
// name new art.
#include <gtest/gtest.h>

#include <cstdint>

#include "ModelFixture.h"
#include "model/ArtArena.h"

namespace quiltor::host::testing {
namespace {

const _AIArt* Offset(const Art* art, std::ptrdiff_t bytes) {
    return reinterpret_cast<const _AIArt*>(reinterpret_cast<const char*>(art) + bytes);
}

TEST(ArtArenaTest, OnlyTheStartOfAMadeNodeIsANode) {
    ArtArena arena;
    Art* first = arena.make(7);
    Art* second = arena.make(7);
    EXPECT_EQ(arena.node(first), first);
    EXPECT_EQ(arena.node(second), second);
    Art elsewhere;
    struct Case {
        const char* what;
        const _AIArt* handle;
    } cases[] = {
        {"null", nullptr},
        {"inside a node", Offset(first, 8)},
        {"a node not made yet", Offset(second, sizeof(Art))},
        {"before the chunk", Offset(first, -std::ptrdiff_t(sizeof(Art)))},
        {"an art of no arena", &elsewhere},
    };
    for (const Case& c : cases) EXPECT_EQ(arena.node(c.handle), nullptr) << c.what;
}

TEST(ArtArenaTest, NodesOfEveryChunkAreFound) {
    ArtArena arena;
    std::vector<Art*> made;
    for (int k = 0; k < 5000; ++k) made.push_back(arena.make(1));  // several chunks
    for (Art* art : made) ASSERT_EQ(arena.node(art), art);
}

TEST(ArtArenaTest, ReleasedNodesComeBackInAddressOrderAndWithoutAHome) {
    ArtArena arena;
    std::vector<Art*> made;
    for (int k = 0; k < 6; ++k) made.push_back(arena.make(3));
    for (int k : {4, 1, 5, 0}) {
        made[k]->segments.resize(3);
        arena.release(made[k]);
    }
    EXPECT_EQ(made[4]->home, 0u) << "a released node is no one's";
    EXPECT_TRUE(made[4]->segments.empty());
    for (int k : {0, 1, 4, 5}) EXPECT_EQ(arena.make(9), made[k]);
    EXPECT_EQ(arena.freeNodes(), 0u);
}

class ArtHandleLifeTest : public ModelTest {};

TEST_F(ArtHandleLifeTest, ArtOfAClosedDocumentIsRefused) {
    NewDocumentOptions options;
    AIDocumentHandle second = workspace().newDocument(options);
    AIArtHandle path = newPath({{0, 0}, {1, 1}}, false);
    AIBoolean valid = 0;
    art->ValidArt(path, &valid);
    ASSERT_EQ(valid, 1);
    ASSERT_TRUE(workspace().close(second));
    art->ValidArt(path, &valid);
    EXPECT_EQ(valid, 0);
    short type = 0;
    EXPECT_EQ(art->GetArtType(path, &type), kBadParameterErr);
}

TEST_F(ArtHandleLifeTest, DisposedArtIsNeverTheNextArtMadeBeforeAPurge) {
    AIArtHandle doomed = newPath({{0, 0}, {1, 1}}, false);
    ASSERT_EQ(art->DisposeArt(doomed), kNoErr);
    for (int k = 0; k < 20; ++k) EXPECT_NE(newPath({{0, 0}, {2, 2}}, false), doomed);
}

}  // namespace
}  // namespace quiltor::host::testing
