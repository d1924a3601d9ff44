#include "KTRPluginAdjustPlugin.h"

AIErr KTRPluginAdjustPlugin::KTRPluginAdjustMain(AIMenuMessage*) {
    return kNoErr;
}
