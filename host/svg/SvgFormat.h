// The text forms of the host's own SVG attributes, shared by the reader and the writer.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AIHost.h"
#include "model/Art.h"

namespace quiltor::host::svg {

// The shortest text that reads back as the same float (also "inf", "-inf", "nan").
std::string FormatReal(float value);
std::optional<float> ParseReal(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);

// "h,v,h,v,h,v,c h,v,..." (anchor, in, out, corner) for every segment: quiltor:segs of the first
// format version.
std::optional<std::vector<AIPathSegment>> ParseSegments(std::string_view text);

// "key=value key=value ..." of every member of the path style.
std::string FormatPathStyle(const AIPathStyle& style);
// Starts from `base` and replaces what the text names; nullopt when a known key has a bad value.
std::optional<AIPathStyle> ParsePathStyle(std::string_view text, const AIPathStyle& base);

// "selected locked hidden fullySelected" for the user attributes that are set.
std::string FormatUserAttrs(int32_t attrs);
int32_t ParseUserAttrs(std::string_view text);

// "visible=1 preview=1 editable=1 printed=1 dimPlacedImages=0 template=0".
std::string FormatLayerOptions(const LayerOptions& options);
std::optional<LayerOptions> ParseLayerOptions(std::string_view text);

std::string FormatSetup(const AIDocumentSetup& setup);
std::optional<AIDocumentSetup> ParseSetup(std::string_view text, const AIDocumentSetup& base);

std::string FormatColorModel(int16_t model);
std::optional<int16_t> ParseColorModel(std::string_view text);

// "#rrggbb" of the colour, or "none".
std::string ViewerColor(const AIColor& color);

}  // namespace quiltor::host::svg
