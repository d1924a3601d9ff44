// What the host serves, area by area; the host registers all of it when it starts.
#pragma once

namespace quiltor::host {

class ActionRegistry;
class SuiteRegistry;

void RegisterAppSuites(SuiteRegistry& registry);       // SP suites, strings, paths, menus, user, actions, ...
void RegisterDocumentSuites(SuiteRegistry& registry);  // layers, art, paths, styles, sets, documents, undo, ...
// The Layers-panel option "ai_plugin_Layer". The editing events of the document side (select all,
// cut, paste in back, move, deselect all) are RegisterDocumentActions (suites/DocumentActions.h).
void RegisterHostActions(ActionRegistry& registry);

}  // namespace quiltor::host
