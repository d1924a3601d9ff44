#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ModelFixture.h"
#include "svg/Svg.h"

namespace quiltor::host::testing {
namespace {

namespace fs = std::filesystem;

class DocumentSuiteTest : public ModelTest {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("quiltor_doc_test_" + std::to_string(::getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const char* name, const std::string& content) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    AIErr open(const std::string& path, AIDocumentHandle* document, int32_t dialogStatus = kDialogNone) {
        _AIFilePath file{path};
        return documentList->Open(&file, kDocUnknownColor, dialogStatus, 0, document);
    }
    AIDocumentHandle front() {
        AIDocumentHandle d = nullptr;
        documents->GetDocument(&d);
        return d;
    }

    fs::path folder;
};

TEST_F(DocumentSuiteTest, UndoBringsBackTheStateAsOpened) {
    AILayerHandle layer = firstLayer();
    AIArtHandle kept = newPath({{0, 0}, {5, 5}}, false);
    undo->PurgeAllUndos();
    documents->SetDocumentModified(0);

    AILayerHandle added = nullptr;
    layers->InsertLayer(nullptr, kPlaceAboveAll, &added);
    layers->SetLayerVisible(layer, 0);
    setTitle(layer, "changed");
    AIPathSegment s = Segment(9, 9);
    paths->SetPathSegments(kept, 2, 1, &s);
    newPath({{1, 1}, {2, 2}}, true);

    EXPECT_EQ(undo->SetSilent(1), kNoErr);
    EXPECT_EQ(undo->UndoChanges(), kNoErr);

    int32_t count = 0;
    layers->CountLayers(&count);
    EXPECT_EQ(count, 1);
    AILayerHandle restored = firstLayer();
    EXPECT_EQ(titleOf(restored), "Layer 1");
    AIBoolean visible = 0;
    layers->GetLayerVisible(restored, &visible);
    EXPECT_EQ(visible, 1);
    const std::vector<AIArtHandle> all = layerArtSet(restored);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(anchorsH(all[1]), (std::vector<float>{0, 5}));
    AIBoolean modified = 1;
    documents->GetDocumentModified(&modified);
    EXPECT_EQ(modified, 0);

    // Handles of the changed state are dead, never mistaken for the restored objects.
    AIBoolean valid = 1;
    art->ValidArt(kept, &valid);
    EXPECT_EQ(valid, 0);
    EXPECT_EQ(layers->SetLayerVisible(added, 1), kBadParameterErr);
}

TEST_F(DocumentSuiteTest, UndoWithoutChangesKeepsEveryHandle) {
    AIArtHandle path = newPath({{0, 0}, {5, 5}}, false);
    undo->PurgeAllUndos();
    EXPECT_EQ(undo->UndoChanges(), kNoErr);
    AIBoolean valid = 0;
    art->ValidArt(path, &valid);
    EXPECT_EQ(valid, 1);
}

TEST_F(DocumentSuiteTest, PurgeMakesThePresentTheStateToGoBackTo) {
    newPath({{0, 0}, {5, 5}}, false);
    undo->PurgeAllUndos();
    newPath({{0, 0}, {6, 6}}, false);
    undo->UndoChanges();
    EXPECT_EQ(layerArtSet(firstLayer()).size(), 2u);
}

TEST_F(DocumentSuiteTest, TheDocumentListOpensActivatesAndCloses) {
    AIDocumentHandle target = front();
    _AIUnicodeString title{u"second"};
    AIDocumentHandle second = nullptr;
    ASSERT_EQ(documentList->New(&title, kDocRGBColor, 300, 200, kDialogOff, &second), kNoErr);
    EXPECT_EQ(front(), second);
    int16_t model = -9;
    documents->GetDocumentColorModel(&model);
    EXPECT_EQ(model, kDocRGBColor);
    AIDocumentSetup setup{};
    documents->GetDocumentSetup(&setup);
    EXPECT_EQ(setup.width, 300);
    EXPECT_EQ(setup.height, 200);

    int32_t count = 0;
    documentList->Count(&count);
    EXPECT_EQ(count, 2);
    AIDocumentHandle nth = nullptr;
    documentList->GetNthDocument(&nth, 1);
    EXPECT_EQ(nth, target);
    EXPECT_EQ(documentList->GetNthDocument(&nth, 2), kIndexOutOfRangeErr);
    EXPECT_EQ(nth, nullptr);

    EXPECT_EQ(documentList->Activate(target, 1), kNoErr);
    EXPECT_EQ(front(), target);
    EXPECT_EQ(documentList->Close(target), kNoErr);
    EXPECT_EQ(front(), second);
    EXPECT_EQ(documentList->Close(target), kBadParameterErr) << "closed twice";
    EXPECT_EQ(documentList->Activate(Foreign<AIDocumentHandle>(), 1), kBadParameterErr);
    EXPECT_EQ(documentList->New(&title, kDocRGBColor, 0, 200, kDialogOff, &second), kBadParameterErr);
}

// Tiles are called 533945_025000.ai but hold SVG: the host goes by content.
TEST_F(DocumentSuiteTest, OpenReadsATileByItsContent) {
    const std::string path = folder / "533945_025000.ai";
    ASSERT_TRUE(WriteSvgFile(document(), path, nullptr));
    AIDocumentHandle tile = nullptr;
    ASSERT_EQ(open(path, &tile), kNoErr);
    EXPECT_EQ(front(), tile);
    _AIFilePath given;
    documents->GetDocumentFileSpecification(&given);
    EXPECT_EQ(given.path, path);
    AIBoolean modified = 1;
    documents->GetDocumentModified(&modified);
    EXPECT_EQ(modified, 0);
}

TEST_F(DocumentSuiteTest, OpenFailsCleanlyWithOneLineOnStandardError) {
    struct Case {
        const char* name;
        std::string path;
        AIErr expected;
    } cases[] = {
        {"missing", (folder / "nothing.ai").string(), kFileNotFoundErr},
        {"folder", folder.string(), kFileNotFoundErr},
        {"not XML", write("text.ai", "just some words"), kBadFileFormatErr},
        {"wrong root", write("html.ai", "<html><body/></html>"), kBadFileFormatErr},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        AIDocumentHandle document = Foreign<AIDocumentHandle>();
        EXPECT_EQ(open(c.path, &document), c.expected) << c.name;
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(document, nullptr) << c.name;
        EXPECT_EQ(err.rfind("quiltor-host: cannot open " + c.path + ": ", 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_TRUE(ui().alerts().empty()) << "no dialog was asked for";
    int32_t count = 0;
    documentList->Count(&count);
    EXPECT_EQ(count, 1);
}

TEST_F(DocumentSuiteTest, OpenWithDialogsTellsTheUser) {
    ::testing::internal::CaptureStderr();
    AIDocumentHandle document = nullptr;
    EXPECT_EQ(open((folder / "gone.ai").string(), &document, kDialogOn), kFileNotFoundErr);
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui().alerts().size(), 1u);
    EXPECT_EQ(ui().alerts()[0].kind, AlertKind::Error);
}

TEST_F(DocumentSuiteTest, SaveWritesToTheDocumentsFile) {
    const std::string path = folder / "tile.ai";
    ASSERT_TRUE(WriteSvgFile(document(), path, nullptr));
    AIDocumentHandle tile = nullptr;
    ASSERT_EQ(open(path, &tile), kNoErr);
    setTitle(firstLayer(), "saved title");
    EXPECT_EQ(documentList->Save(tile), kNoErr);
    AIBoolean modified = 1;
    documents->GetDocumentModified(&modified);
    EXPECT_EQ(modified, 0);
    documentList->Close(tile);
    ASSERT_EQ(open(path, &tile), kNoErr);
    EXPECT_EQ(titleOf(firstLayer()), "saved title");

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(documentList->Save(document_), kBadParameterErr) << "a new document has no file";
    ::testing::internal::GetCapturedStderr();
}

TEST_F(DocumentSuiteTest, ArtboardsListTheOneArtboardOfThePage) {
    const AIArtboardSuite* boards = acquire<AIArtboardSuite>(kAIArtboardSuite, kAIArtboardSuiteVersion);
    AIArtboardListRef list = nullptr;
    ASSERT_EQ(boards->GetArtboardList(&list), kNoErr);
    int32_t count = 0, active = -1;
    boards->GetCount(list, &count);
    boards->GetActive(list, &active);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(active, 0);
    AIArtboardPropertiesRef props = nullptr;
    boards->InitArtboardProperties(&props);
    AIRealRect r{};
    EXPECT_EQ(boards->GetPosition(props, &r), kBadParameterErr) << "not filled yet";
    EXPECT_EQ(boards->GetArtboardProperties(list, 1, props), kIndexOutOfRangeErr);
    EXPECT_EQ(boards->GetArtboardProperties(list, 0, props), kNoErr);
    EXPECT_EQ(boards->GetPosition(props, &r), kNoErr);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 800);
    EXPECT_EQ(r.right, 600);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(boards->DisposeArtboardProperties(props), kNoErr);
    EXPECT_EQ(boards->ReleaseArtboardList(list), kNoErr);
    EXPECT_EQ(boards->ReleaseArtboardList(list), kBadParameterErr);
    EXPECT_EQ(boards->GetCount(list, &count), kBadParameterErr);

    const AIArtboardRangeSuite* ranges =
        acquire<AIArtboardRangeSuite>(kAIArtboardRangeSuite, kAIArtboardRangeSuiteVersion);
    for (auto [range, expected] : {std::pair{"", 1}, {"1", 1}, {"1-3", 1}, {"2", 0}}) {
        EXPECT_EQ(ranges->GetCount(range, &count), kNoErr) << range;
        EXPECT_EQ(count, expected) << range;
    }
    EXPECT_EQ(ranges->GetCount("3-1", &count), kBadParameterErr);

    const AILegacyTextConversionSuite* legacy =
        acquire<AILegacyTextConversionSuite>(kAILegacyTextConversionSuite, kAILegacyTextConversionSuiteVersion);
    AIBoolean converted = 1;
    EXPECT_EQ(legacy->ConvertAllToNative(&converted), kNoErr);
    EXPECT_EQ(converted, 0);
}

TEST_F(DocumentSuiteTest, CallsWithoutADocumentSayNoDocument) {
    workspace().close(document_);
    AIDocumentHandle d = Foreign<AIDocumentHandle>();
    EXPECT_EQ(documents->GetDocument(&d), kNoDocumentErr);
    EXPECT_EQ(d, nullptr);
    AIDocumentSetup setup{};
    EXPECT_EQ(documents->GetDocumentSetup(&setup), kNoDocumentErr);
    EXPECT_EQ(undo->UndoChanges(), kNoDocumentErr);
    const AIDocumentViewSuite* view = acquire<AIDocumentViewSuite>(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion);
    AIReal zoom = 0;
    EXPECT_EQ(view->GetDocumentViewZoom(&zoom), kNoDocumentErr);
}

}  // namespace
}  // namespace quiltor::host::testing
