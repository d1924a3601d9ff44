// Whole merges through the built quiltor-host on tile folders drawn by the sample-map generator,
// and what a merged document is expected to hold, worked out from the tile files themselves.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "MeshBlock.h"
#include "model/ArtStyle.h"
#include "model/Document.h"

namespace mergehost {

// Standard output holds the alert transcript.
using ProgramRun = testsupport::ChildRun;

// Runs quiltor-host with the arguments (no shell), standard input empty, or closed.
ProgramRun RunHost(const std::vector<std::string>& args, bool closeStandardInput = false);

// One top-level object of a layer, as a comparable text: the layer's position path ("9/3"),
// type, kept attributes, path style and every coordinate bit for bit, members included.
using Signature = std::string;
using Signatures = std::multiset<Signature>;

struct ArtTally {
    size_t objects = 0;  // top-level objects of the layers
    size_t anchors = 0;  // every anchor of every path inside them
    size_t labels = 0;
};

class MergeRunTest : public ::testing::Test {
protected:
    MergeRunTest();
    ~MergeRunTest() override;

    // Draws a block of tiles (northern row first, west to east) into a folder of its own.
    void DrawTiles(MeshKind kind, int columns, int rows, int density = 1);
    const samplemap::MeshBlock& block() const { return block_; }
    std::filesystem::path tileDir() const { return dir_ / "tiles"; }
    std::filesystem::path TilePath(size_t i) const { return tileDir() / block_.tiles[i].name; }
    std::filesystem::path OutPath(const std::string& name) const { return dir_ / name; }

    // Runs "quiltor-host merge" on the tile folder with the arguments after it.
    ProgramRun Merge(const std::vector<std::string>& args);

    // Reads a document (tile or merged map); fails the test when it does not read.
    std::unique_ptr<quiltor::host::Document> Read(const std::filesystem::path& path);

    // The objects tile i brings when placed at grid offset (k, j) of a box of the given width:
    // its art moved by k tile widths and j tile heights plus its artboard's left and bottom.
    Signatures Expected(size_t i, int k, int j, ArtTally* tally = nullptr);
    // Every tile at its own offset of the whole block, except those skipped.
    Signatures ExpectedAll(const std::vector<size_t>& skipped = {}, ArtTally* tally = nullptr);
    static Signatures Actual(const quiltor::host::Document& merged, ArtTally* tally = nullptr);

    // Labels only (never joined), keyed by text and position.
    static Signatures Labels(const Signatures& all);

private:
    std::filesystem::path dir_;
    samplemap::MeshBlock block_;
    quiltor::host::StyleTable styles_;
};

// Layers in preorder as "depth title options".
std::vector<std::string> LayerLines(const quiltor::host::Document& document);
// Whether two sets differ, with the first few differences for the failure message.
::testing::AssertionResult SameSignatures(const Signatures& expected, const Signatures& actual);

}  // namespace mergehost
