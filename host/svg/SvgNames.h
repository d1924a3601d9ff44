// Namespaces and the format version of the SVG the host writes.
#pragma once

namespace quiltor::host::svg {

inline constexpr const char* kSvgNamespaceUri = "http://www.w3.org/2000/svg";
inline constexpr const char* kInkscapeNamespaceUri = "http://www.inkscape.org/namespaces/inkscape";
inline constexpr const char* kSodipodiNamespaceUri = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
// Written as quiltor:version on the root; a reader knows the host's own attributes by it. Version 1
// kept every segment in quiltor:segs beside the path data; from version 2 the path data itself reads
// back exactly, and quiltor:exact holds only what it cannot carry.
inline constexpr int kQuiltorFormatVersion = 2;

}  // namespace quiltor::host::svg
