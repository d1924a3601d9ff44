// Holds the host's application context for the plug-in while a notifier is
// handled: pushed on construction, popped on destruction.
#ifndef QUILTOR_COMMON_APPCONTEXT_H
#define QUILTOR_COMMON_APPCONTEXT_H

#include "AIHost.h"

class AppContext {
public:
    // Pushes nothing when the context suite is not held.
    explicit AppContext(SPPluginRef pluginRef);
    ~AppContext();

    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

private:
    AIAppContextHandle fAppContext = nullptr;
};

#endif
