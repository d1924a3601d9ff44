#ifndef KTR_ANNOTATION_LAYERS_H
#define KTR_ANNOTATION_LAYERS_H

// Layers whose objects are lettering and symbols: the map-range adjust keeps
// or deletes such objects whole and never cuts them.

#include <cstdint>

inline constexpr int32_t plateoStringLayerCount = 28;

// Titles in the literal encoding (UTF-8; Shift-JIS on Windows), in the order they are compared.
extern const char* const plateoStringLayerNames[plateoStringLayerCount];

// True when `title` (NUL-terminated, in the build's title encoding) equals one
// of the names byte for byte. Only the layer's own title counts, never its
// parents'. A null title is no annotation layer.
bool IsPlateoStringLayerTitle(const char* title);

#endif
