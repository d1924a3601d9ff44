// Path styles and the shared appearance handles behind AIArtStyleHandle.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_set>

#include "AIHost.h"

struct _AIArtStyle {};

namespace quiltor::host {

// Default style of new paths in a document of the colour model: filled white, stroked black 1 pt.
AIPathStyle DefaultPathStyle(int16_t colorModel);

// The style as the host keeps it: padding and the colour-union members the kind does not use are
// zero, so equal styles are equal byte for byte and compare equal as keys.
AIPathStyle CanonicalPathStyle(const AIPathStyle& style);
AIColor CanonicalColor(const AIColor& color);

// A colour as the screen shows it, each component 0..1; false for none (and for nothing to show).
// Gray is a tint of black (0 white, 1 black), as in the host's gray colours.
bool ColorToRgb(const AIColor& color, double rgb[3]);

bool IsFilled(const AIPathStyle& style);
bool IsStroked(const AIPathStyle& style);

// Everything that makes an appearance: the path style and an effect id for what a path style cannot
// say (0 = none). Equal appearances share one ArtStyle.
struct Appearance {
    AIPathStyle pathStyle{};
    int32_t effect = 0;
};

class ArtStyle : public _AIArtStyle {
public:
    explicit ArtStyle(const Appearance& appearance) : appearance_(appearance) {}
    const Appearance& appearance() const { return appearance_; }
    const AIPathStyle& pathStyle() const { return appearance_.pathStyle; }
    int32_t effect() const { return appearance_.effect; }

private:
    Appearance appearance_;
};

// Interns appearances for the whole host: a handle lives as long as the table.
class StyleTable {
public:
    ArtStyle* intern(const Appearance& appearance);
    ArtStyle* intern(const AIPathStyle& style, int32_t effect = 0) { return intern(Appearance{style, effect}); }
    // Null for a handle the table never gave out.
    ArtStyle* find(AIArtStyleHandle handle) const;
    size_t size() const { return byKey_.size(); }

private:
    std::map<std::string, std::unique_ptr<ArtStyle>> byKey_;
    std::unordered_set<const _AIArtStyle*> known_;
};

}  // namespace quiltor::host
