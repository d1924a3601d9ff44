#ifndef KTR_LAYER_SCHEME_H
#define KTR_LAYER_SCHEME_H

// The two fixed layer trees that tiles follow, and the walk that checks a
// document's layer tree against one of them. Nothing here talks to the host:
// the plug-in hands the walk a LayerTreeReader built on its layer suite.

#include <cstddef>
#include <cstdint>

// One expected layer. A group's sublayers must be exactly `sublayers[0..count)`
// in that order; the sublayers of a non-group layer are never looked at.
struct LayerSchemeEntry {
    const char* title;  // in the literal encoding (UTF-8; Shift-JIS on Windows), compared byte for byte
    bool group;
    const LayerSchemeEntry* sublayers;  // null unless group
    int32_t count;                      // 0 unless group
};

// Top-level entries, topmost first.
inline constexpr int32_t materialLayerSchemeCount = 7;
inline constexpr int32_t tokyo23LayerSchemeCount = 21;
extern const LayerSchemeEntry materialLayerScheme[materialLayerSchemeCount];
extern const LayerSchemeEntry tokyo23LayerScheme[tokyo23LayerSchemeCount];

// The Tokyo-23 tree has two top-level layers titled "道路". While a run copies
// art, the 10th carries this title instead so the two land in different layers.
inline constexpr int32_t tokyo23RoadNotesIndex = 9;
inline constexpr const char* tokyo23RoadNotesTitle = "道路注記";

// Titles are read into buffers of this size: at most 100 bytes and a NUL.
inline constexpr std::size_t kLayerTitleBufferSize = 101;

// Read-only view of a document's layer tree. Handles are the host's own,
// passed through untouched and valid only while the current message lasts.
class LayerTreeReader {
public:
    using Layer = void*;

    virtual ~LayerTreeReader() = default;

    /* Returns the topmost top-level layer, or null when the document has none. */
    virtual Layer FirstLayer() = 0;
    /* Returns the topmost sublayer of `layer`, or null when it has none or on failure. */
    virtual Layer FirstChild(Layer layer) = 0;
    /* Returns the layer below `layer` at the same level, or null after the last or on failure. */
    virtual Layer NextLayer(Layer layer) = 0;
    /* Writes the title of `layer` in the build's title encoding into `buffer` of
       `size` bytes, cut short to fit and NUL-terminated. Returns false when the
       title could not be read; the buffer is then not looked at. */
    virtual bool ReadTitle(Layer layer, char* buffer, std::size_t size) = 0;
};

// True when the document seen through `reader` carries exactly the tree
// `scheme[0..count)`: same titles in the same order, same number of layers in
// every list the scheme covers.
bool FollowsLayerScheme(LayerTreeReader& reader, const LayerSchemeEntry* scheme, int32_t count);

#endif
