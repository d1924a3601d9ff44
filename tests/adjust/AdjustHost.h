// An in-process host with the adjust plug-in's logic linked in: maps are built through the suites
// the plug-in uses, the run is called directly, and the result is read back from the model.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "AIHost.h"
#include "InProcessHost.h"
#include "KTRPluginAdjustPlugin.h"
#include "PluginSuites.h"
#include "app/Host.h"
#include "model/Art.h"
#include "model/Document.h"
#include "ui/QueuedUserInterface.h"

namespace adjusttest {

using Contour = std::vector<AIRealPoint>;

struct Cmyk {
    AIReal c = 0, m = 0, y = 0, k = 0;
};

class AdjustHost {
public:
    explicit AdjustHost(int16_t colorModel = kDocCMYKColor);
    ~AdjustHost();
    AdjustHost(const AdjustHost&) = delete;
    AdjustHost& operator=(const AdjustHost&) = delete;

    quiltor::host::Host& host() { return running_.host(); }
    quiltor::host::QueuedUserInterface& ui() { return running_.user(); }
    quiltor::host::Document& document();
    KTRPluginAdjustPlugin& plugin() { return *plugin_; }

    // A layer at the bottom of the top level, or at the bottom of parent's sublayers. The first
    // call takes over the document's first layer.
    AILayerHandle AddLayer(const std::string& title, AILayerHandle parent = nullptr);
    // The clip layer: a new top layer holding the closed outline, selected unless told otherwise.
    AILayerHandle AddClipLayer(const Contour& outline, bool select = true);

    // Art at the bottom of the layer (or of the container given as parent).
    AIArtHandle AddLine(AILayerHandle layer, const Contour& points, AIArtHandle parent = nullptr);
    AIArtHandle AddRing(AILayerHandle layer, const Contour& points, AIArtHandle parent = nullptr);
    // A face: a filled closed path, or a compound path (outer first, then holes) when there are holes.
    AIArtHandle AddFace(AILayerHandle layer, const std::vector<Contour>& contours, Cmyk fill,
                        AIArtHandle parent = nullptr, bool evenOdd = true);
    AIArtHandle AddGroup(AILayerHandle layer, AIArtHandle parent = nullptr);
    AIArtHandle AddText(AILayerHandle layer, const std::u16string& text, AIRealPoint baseline, AIReal size);

    void SetAttr(AIArtHandle art, int32_t attr);
    void SetLayerVisible(AILayerHandle layer, bool visible);
    void SetLayerEditable(AILayerHandle layer, bool editable);

    // Runs the adjust and answers the alerts it showed, as transcript lines.
    std::vector<std::string> Run();
    // The document as SVG, to tell whether anything changed.
    std::string Svg();

    quiltor::host::Layer* LayerOf(AILayerHandle layer);
    // The top-level art of the layer, topmost first.
    std::vector<quiltor::host::Art*> Objects(AILayerHandle layer);
    bool Alive(AIArtHandle art);

private:
    AIArtHandle Place(AILayerHandle layer, AIArtHandle parent, int16_t type);
    void SetSegments(AIArtHandle path, const Contour& points, bool closed);

    testsupport::InProcessHost running_;
    std::unique_ptr<testsupport::PluginSuites> suites_;
    std::unique_ptr<KTRPluginAdjustPlugin> plugin_;
    bool firstLayerTaken_ = false;
};

// ---- Geometry of the results, computed with Clipper independently of the host.

// Area the art covers (a path or compound path of straight edges), by its fill rule.
double Area(const quiltor::host::Art* art);
// Area of the contours (even-odd) inside the outline.
double AreaInside(const std::vector<Contour>& contours, const Contour& outline);
// Area of the art outside the outline.
double AreaOutside(const quiltor::host::Art* art, const Contour& outline);
AIRealRect BoundsOf(const Contour& contour);
AIRealRect BoundsOf(const quiltor::host::Art* art);
std::vector<AIRealPoint> Anchors(const quiltor::host::Art* path);
// Anchors as pairs, for comparing with EXPECT_EQ.
std::vector<std::pair<AIReal, AIReal>> Points(const quiltor::host::Art* path);
std::vector<std::pair<AIReal, AIReal>> Points(const Contour& contour);
// Whether the point lies inside the outline (even-odd).
bool Inside(const Contour& outline, const AIRealPoint& p);

// A rectangle as a contour, counter-clockwise from the bottom left.
Contour Rect(AIReal left, AIReal bottom, AIReal right, AIReal top);

}  // namespace adjusttest
