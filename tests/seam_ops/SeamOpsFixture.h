// A fresh in-process host and document for each seam test, and shorthands for
// drawing pieces in millimetres.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SeamDoc.h"
#include "SeamJoin.h"
#include "SeamLayouts.h"
#include "Suites.h"
#include "core/SeamGeometry.h"

namespace seamtest {

inline float Pt(double mm) { return float(mm * 72.0 / 25.4); }

// A point given in millimetres.
inline AIRealPoint Mm(double x, double y) { return {Pt(x), Pt(y)}; }

inline std::vector<AIRealPoint> Rect(double x0, double y0, double x1, double y1) {
    return {Mm(x0, y0), Mm(x0, y1), Mm(x1, y1), Mm(x1, y0)};
}

inline std::vector<SeamPoint> SeamAnchors(const std::vector<AIPathSegment>& segments) {
    std::vector<SeamPoint> out;
    for (const AIPathSegment& s : segments) {
        out.push_back(ToSeamPoint(s.p.h, s.p.v));
    }
    return out;
}

// The same closed outline, whatever its first anchor and direction.
inline bool SameRing(std::vector<SeamPoint> a, std::vector<SeamPoint> b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t r = 0; r < a.size(); ++r) {
            if (a == b) {
                return true;
            }
            std::rotate(a.begin(), a.begin() + 1, a.end());
        }
        std::reverse(a.begin(), a.end());
    }
    return false;
}

class SeamOps : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.ok()) << host_.error();
        Fresh();
        ASSERT_NE(layer_, nullptr);
    }

    // A new empty document in place of the current one, for table-driven cases.
    void Fresh() {
        if (layer_ != nullptr) {
            host_.CloseDocument();
        }
        layer_ = host_.NewDocument();
    }

    AIArtHandle Add(const std::vector<AIRealPoint>& anchors, bool closed, int style) {
        return AddShape(LayerGroup(layer_), Polyline(anchors, closed, style));
    }
    AIArtHandle Line(const std::vector<AIRealPoint>& anchors, int style = kLine) { return Add(anchors, false, style); }
    AIArtHandle Face(const std::vector<AIRealPoint>& anchors, int style = kFace) { return Add(anchors, true, style); }
    AIArtHandle Ring(const std::vector<AIRealPoint>& anchors, int style = kRing) { return Add(anchors, true, style); }

    std::vector<PathRecord> paths() const { return Paths(layer_); }

    static bool Alive(AIArtHandle art) {
        AIBoolean valid = false;
        sAIArt->ValidArt(art, &valid);
        return valid != 0;
    }

    SeamHost host_;
    AILayerHandle layer_ = nullptr;
};

}  // namespace seamtest
