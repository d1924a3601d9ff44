#include "SeamDoc.h"

#include <cstdio>

#include "Suites.h"
#include "app/Host.h"
#include "core/SuiteRegistry.h"
#include "model/Document.h"
#include "model/Workspace.h"
#include "ui/QueuedUserInterface.h"

namespace seamtest {

AILayerHandle SeamHost::NewDocument() {
    running_.workspace().newDocument(quiltor::host::NewDocumentOptions{});
    AILayerHandle layer = nullptr;
    sAILayer->GetFirstLayer(&layer);
    return layer;
}

void SeamHost::CloseDocument() { running_.workspace().close(running_.workspace().current()); }

AIArtHandle LayerGroup(AILayerHandle layer) {
    AIArtHandle group = nullptr;
    sAIArt->GetFirstArtOfLayer(layer, &group);
    return group;
}

void ApplyStyle(AIArtHandle art, const StyleSpec& style) {
    sAIPathStyle->SetPathStyle(art, &style.path);
    if (style.effect != 0) {
        quiltor::host::Document* doc = quiltor::host::Host::Current().workspace().currentDocument();
        quiltor::host::Art* node = doc->findArt(art);
        doc->setArtStyle(node, doc->styles().intern(style.path, style.effect));
    }
}

AIArtHandle AddShape(AIArtHandle container, const Shape& shape) {
    AIArtHandle art = nullptr;
    sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, container, &art);
    sAIPath->SetPathSegmentCount(art, int16_t(shape.segments.size()));
    if (!shape.segments.empty()) {
        sAIPath->SetPathSegments(art, 0, int16_t(shape.segments.size()), shape.segments.data());
    }
    sAIPath->SetPathClosed(art, shape.closed);
    ApplyStyle(art, Palette()[std::size_t(shape.style)]);
    return art;
}

void Build(AILayerHandle layer, const Layout& layout) {
    const AIArtHandle group = LayerGroup(layer);
    for (const Item& item : layout.items) {
        switch (item.kind) {
        case Item::Kind::Path: AddShape(group, item.shapes.front()); break;
        case Item::Kind::Compound:
        case Item::Kind::Group: {
            AIArtHandle holder = nullptr;
            sAIArt->NewArt(item.kind == Item::Kind::Compound ? kCompoundPathArt : kGroupArt, kPlaceInsideOnBottom,
                           group, &holder);
            for (const Shape& shape : item.shapes) {
                AddShape(holder, shape);
            }
            break;
        }
        case Item::Kind::Text: {
            quiltor::host::Document* doc = quiltor::host::Host::Current().workspace().currentDocument();
            quiltor::host::Art* node = doc->findArt(group);
            doc->newArt(kTextFrameArt, quiltor::host::Place{node, nullptr});
            break;
        }
        }
    }
}

namespace {

void Hex(std::string& out, float v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, " %a", double(v));
    out += buffer;
}

void DumpArt(std::string& out, AIArtHandle art, int depth) {
    int16_t type = 0;
    sAIArt->GetArtType(art, &type);
    AIArtStyleHandle style = nullptr;
    sAIArtStyle->GetArtStyle(art, &style);
    out.append(std::size_t(depth) * 2, ' ');
    char head[96];
    std::snprintf(head, sizeof head, "type %d style %p", type, static_cast<void*>(style));
    out += head;
    if (type == kPathArt) {
        AIBoolean closed = false;
        sAIPath->GetPathClosed(art, &closed);
        out += closed ? " closed" : " open";
        int16_t count = 0;
        sAIPath->GetPathSegmentCount(art, &count);
        std::vector<AIPathSegment> segments(std::size_t(count > 0 ? count : 0));
        if (!segments.empty()) {
            sAIPath->GetPathSegments(art, 0, count, segments.data());
        }
        for (const AIPathSegment& s : segments) {
            out += " [";
            Hex(out, s.p.h);
            Hex(out, s.p.v);
            Hex(out, s.in.h);
            Hex(out, s.in.v);
            Hex(out, s.out.h);
            Hex(out, s.out.v);
            out += s.corner ? " c]" : " s]";
        }
    }
    out += '\n';
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(art, &child);
    while (child != nullptr) {
        DumpArt(out, child, depth + 1);
        AIArtHandle next = nullptr;
        sAIArt->GetArtSibling(child, &next);
        child = next;
    }
}

void CollectPaths(std::vector<PathRecord>& out, AIArtHandle art) {
    int16_t type = 0;
    sAIArt->GetArtType(art, &type);
    if (type == kPathArt) {
        PathRecord record;
        record.art = art;
        record.type = type;
        AIBoolean closed = false;
        sAIPath->GetPathClosed(art, &closed);
        record.closed = closed != 0;
        int16_t count = 0;
        sAIPath->GetPathSegmentCount(art, &count);
        record.segments.resize(std::size_t(count > 0 ? count : 0));
        if (count > 0) {
            sAIPath->GetPathSegments(art, 0, count, record.segments.data());
        }
        out.push_back(std::move(record));
    }
    AIArtHandle child = nullptr;
    sAIArt->GetArtFirstChild(art, &child);
    while (child != nullptr) {
        CollectPaths(out, child);
        AIArtHandle next = nullptr;
        sAIArt->GetArtSibling(child, &next);
        child = next;
    }
}

}  // namespace

std::string Dump(AILayerHandle layer) {
    std::string out;
    DumpArt(out, LayerGroup(layer), 0);
    return out;
}

std::vector<PathRecord> Paths(AILayerHandle layer) {
    std::vector<PathRecord> out;
    CollectPaths(out, LayerGroup(layer));
    return out;
}

}  // namespace seamtest
