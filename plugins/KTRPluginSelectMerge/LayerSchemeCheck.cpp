// Whether the current document follows one of the two layer schemes, read
// through the host's layer suite.
#include "IAIUnicodeString.h"
#include "KTRPluginSelectMergePlugin.h"
#include "LiteralEncoding.h"
#include "Suites.h"
#include "core/LayerScheme.h"

namespace {

class HostLayerTreeReader : public LayerTreeReader {
public:
    Layer FirstLayer() override {
        AILayerHandle layer = nullptr;
        sAILayer->GetFirstLayer(&layer);
        return layer;
    }

    Layer FirstChild(Layer layer) override {
        AILayerHandle child = nullptr;
        sAILayer->GetLayerFirstChild(static_cast<AILayerHandle>(layer), &child);
        return child;
    }

    Layer NextLayer(Layer layer) override {
        AILayerHandle next = nullptr;
        sAILayer->GetNextLayer(static_cast<AILayerHandle>(layer), &next);
        return next;
    }

    bool ReadTitle(Layer layer, char* buffer, std::size_t size) override {
        // The string is reused from layer to layer; a failed read must not
        // pass the previous title off as this layer's.
        if (sAILayer->GetLayerTitle(static_cast<AILayerHandle>(layer), fTitle.get()) != kNoErr) return false;
        fTitle.getToBuffer(buffer, size, kLiteralEncoding);
        return true;
    }

private:
    ai::UnicodeString fTitle;
};

}  // namespace

bool KTRPluginSelectMergePlugin::check_material_layer() {
    HostLayerTreeReader reader;
    return FollowsLayerScheme(reader, materialLayerScheme, materialLayerSchemeCount);
}

bool KTRPluginSelectMergePlugin::check_tokyo23_layer() {
    HostLayerTreeReader reader;
    return FollowsLayerScheme(reader, tokyo23LayerScheme, tokyo23LayerSchemeCount);
}
