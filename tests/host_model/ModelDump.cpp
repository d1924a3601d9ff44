#include "ModelDump.h"

#include <cstring>
#include <sstream>

#include "core/HostStrings.h"
#include "svg/SvgFormat.h"

namespace quiltor::host::testing {

namespace {

std::string Bits(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    std::ostringstream out;
    out << svg::FormatReal(v) << "#" << std::hex << bits;
    return out.str();
}

std::string Point(const AIRealPoint& p) { return Bits(p.h) + "," + Bits(p.v); }

void DumpArt(std::ostringstream& out, const Art* art, int depth) {
    out << std::string(2 * depth, ' ') << "type=" << art->type << " attr=" << art->userAttr
        << " style=" << static_cast<const void*>(art->style) << " [" << svg::FormatPathStyle(art->style->pathStyle())
        << " effect=" << art->style->effect() << "]";
    if (art->type == kPathArt) {
        out << " closed=" << art->closed << " segs=";
        for (const AIPathSegment& s : art->segments)
            out << "(" << Point(s.p) << " " << Point(s.in) << " " << Point(s.out) << " " << int(s.corner) << ")";
    }
    if (art->type == kTextFrameArt)
        out << " text=" << EncodeUtf8(art->text) << " at=" << Point(art->position) << " size=" << Bits(art->fontSize);
    out << "\n";
    for (const Art* member = art->firstChild; member; member = member->next) DumpArt(out, member, depth + 1);
}

}  // namespace

std::string DumpDocument(const Document& d) {
    std::ostringstream out;
    const AIDocumentSetup& s = d.setup();
    out << "setup " << svg::FormatSetup(s) << " bits " << Bits(s.width) << " " << Bits(s.height) << "\n";
    const AIRealRect& a = d.artboard();
    out << "artboard " << Bits(a.left) << " " << Bits(a.top) << " " << Bits(a.right) << " " << Bits(a.bottom) << "\n";
    out << "colorModel " << d.colorModel() << " layersMade " << d.layersMade() << " modified " << d.modified() << "\n";
    for (const Layer* layer = d.firstLayer(); layer; layer = NextLayerInPreorder(layer)) {
        int depth = 0;
        for (const Layer* p = layer->parent; p; p = p->parent) ++depth;
        out << "layer depth=" << depth << " title=" << EncodeUtf8(layer->title) << " "
            << svg::FormatLayerOptions(layer->options) << (layer == d.currentLayer() ? " current" : "") << "\n";
        DumpArt(out, layer->group, depth + 1);
    }
    return out.str();
}

}  // namespace quiltor::host::testing
