#include "app/Host.h"

#include <cassert>

#include "core/ActionRegistry.h"
#include "core/SuiteRegistry.h"
#include "loader/PluginManager.h"
#include "model/Workspace.h"
#include "suites/DocumentActions.h"
#include "suites/PathfinderSuite.h"
#include "suites/Registration.h"
#include "svg/Svg.h"
#include "ui/UserInterface.h"

namespace quiltor::host {
namespace {
Host* gCurrent = nullptr;
}

Host::Host(std::unique_ptr<UserInterface> ui) : ui_(std::move(ui)) {
    assert(!gCurrent && "only one host at a time");
    gCurrent = this;
    suites_ = std::make_unique<SuiteRegistry>();
    actions_ = std::make_unique<ActionRegistry>();
    workspace_ = std::make_unique<Workspace>(std::make_unique<SvgDocumentFormat>());
    plugins_ = std::make_unique<PluginManager>();
    context_ = std::make_unique<SuiteContext>(SuiteContext{*workspace_, *ui_, *actions_, *plugins_, preferences_});
    SetRunningHost(context_.get());
    ServeBasicSuiteFrom(suites_.get());
    RegisterAppSuites(*suites_);
    RegisterDocumentSuites(*suites_);
    RegisterPathfinderSuite(*suites_);
    RegisterHostActions(*actions_);
    RegisterDocumentActions(*actions_);
}

Host::~Host() {
    // Plug-ins release their suites and may still call the host while shutting down.
    plugins_->shutdownAll();
    plugins_.reset();
    // From here on a stray suite call finds no host instead of parts that are going.
    ServeBasicSuiteFrom(nullptr);
    SetRunningHost(nullptr);
    workspace_.reset();
    actions_.reset();
    suites_.reset();
    gCurrent = nullptr;
}

Host& Host::Current() {
    assert(gCurrent && "no host is running");
    return *gCurrent;
}

bool Host::Exists() { return gCurrent != nullptr; }

}  // namespace quiltor::host
