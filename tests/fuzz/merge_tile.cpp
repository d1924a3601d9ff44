// A whole tile file from any bytes, merged in this process by the select-merge plug-in on the
// substitute host among three good tiles, so that libFuzzer sees the coverage of the reader, the
// placement and the seam joins: nothing crashes, and the good tiles are still merged
// (TileMerge.h). merge_files runs the same merge through the quiltor-host program.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "InProcessHost.h"
#include "KTRPluginSelectMergePlugin.h"
#include "PluginSuites.h"
#include "SelectMergeRun.h"
#include "TileMerge.h"
#include "core/TextSelectionDialog.h"
#include "model/Document.h"

namespace {

namespace fs = std::filesystem;

// The messages that pass a tile over end with its name on a line of its own.
constexpr const char* kPassedOver[] = {"レイヤー構成が異なるため読み飛ばします。\n",
                                       "ファイルを開けないため読み飛ばします。\n",
                                       "配置に失敗したため読み飛ばします。\n"};

tilemerge::Outcome Merge(const fs::path& folder, const fs::path& out) {
    tilemerge::Outcome outcome;
    testsupport::InProcessHost running;
    testsupport::PluginSuites suites;
    auto plugin = std::make_unique<KTRPluginSelectMergePlugin>(nullptr);
    quiltor::host::NewDocumentOptions page;
    page.widthPt = 5000;
    page.heightPt = 5000;
    const AIDocumentHandle target = running.workspace().newDocument(page);
    running.user().queueFolder(folder.string());
    running.user().queueAnswer(1);
    std::string script = "add all\nok\n";
    FILE* in = fmemopen(script.data(), script.size(), "r");
    FILE* quiet = std::fopen("/dev/null", "w");
    SetSelectionDialogFactory(
        [&](SelectionAlerts& alerts) { return std::make_unique<TextSelectionDialog>(alerts, in, quiet); });
    plugin->KTRPluginSelectMergeMain(nullptr);
    SetSelectionDialogFactory({});
    std::fclose(in);
    std::fclose(quiet);

    for (const auto& alert : running.user().alerts()) {
        outcome.transcript += alert.text + "\n";
        for (const char* skip : kPassedOver)
            if (alert.text.rfind(skip, 0) == 0) outcome.passedOver.insert(alert.text.substr(std::string(skip).size()));
        outcome.done = alert.kind == quiltor::host::AlertKind::Message && alert.text == tilemerge::kDone;
    }
    std::string error;
    fs::remove(out);
    if (running.workspace().find(target) && running.workspace().saveFile(target, out.string(), &error))
        outcome.merged = out;
    else
        outcome.transcript += "not saved: " + error + "\n";
    plugin.reset();
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tilemerge::MergeWithOneTile(data, size, Merge);
    return 0;
}
