// One line on a terminal that says how far a merge has come: the tile being placed, then the
// layer whose seams are being joined. It follows the run through the suites as a watcher, and
// is rubbed out before anything else is written and when the run ends.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "AIHost.h"
#include "suites/RunWatcher.h"

namespace quiltor::host {
class Workspace;
}

namespace quiltor::cli {

// The columns a terminal gives the text (East Asian wide characters take two), cut at a whole
// character so that it fits in `columns`.
int DisplayColumns(std::string_view utf8);
std::string FitToColumns(std::string_view utf8, int columns);

// Whether the stream is a terminal, and how wide it is (80 when it cannot tell).
bool IsTerminal(std::FILE* stream);
int TerminalColumns(std::FILE* stream);

class MergeProgressLine : public host::RunWatcher {
public:
    // `tiles` chosen for the run; the joins are followed on the target's layers, under `joining`
    // ("joining seams", say).
    MergeProgressLine(std::FILE* out, int columns, size_t tiles, std::string joining, host::Workspace& workspace,
                      AIDocumentHandle target);
    ~MergeProgressLine() override { Clear(); }
    MergeProgressLine(const MergeProgressLine&) = delete;
    MergeProgressLine& operator=(const MergeProgressLine&) = delete;

    void DocumentOpening(const std::string& path) override;
    void LayerArtListed(const host::Layer& layer) override;

    // Rubs the line out; the next event writes it again.
    void Clear();

private:
    void Show(const std::string& text);

    std::FILE* out_;
    int columns_;
    size_t tiles_;
    size_t opened_ = 0;
    std::string joiningLabel_;
    host::Workspace& workspace_;
    AIDocumentHandle target_;
    const host::Layer* joining_ = nullptr;
    std::string shown_;
    int shownColumns_ = 0;
};

}  // namespace quiltor::cli
