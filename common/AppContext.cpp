#include "AppContext.h"

#include "Suites.h"

AppContext::AppContext(SPPluginRef pluginRef) {
    if (sAIAppContext != nullptr) sAIAppContext->PushAppContext(pluginRef, &fAppContext);
}

AppContext::~AppContext() {
    if (sAIAppContext != nullptr) sAIAppContext->PopAppContext(fAppContext);
}
