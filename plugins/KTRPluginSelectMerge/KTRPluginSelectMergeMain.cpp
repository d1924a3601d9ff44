#include "KTRPluginSelectMergePlugin.h"

AIErr KTRPluginSelectMergePlugin::KTRPluginSelectMergeMain(AIMenuMessage*) {
    return kNoErr;
}
