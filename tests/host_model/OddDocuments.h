// Documents that hold what a file format finds hard: curves and loose handles, non-finite,
// denormal and huge numbers, paths without anchors, one-anchor closed paths, compound paths with
// empty members, texts with line ends and nothing but spaces. Built on the model directly.
#pragma once

#include <cstdint>
#include <memory>

#include "model/ArtStyle.h"
#include "model/Document.h"

namespace quiltor::host::testing {

// One of each hard case, always the same.
std::unique_ptr<Document> OddValuesDocument(StyleTable& styles);

// A document drawn at random from the seed: mostly map-like values, now and then the hard ones.
std::unique_ptr<Document> RandomDocument(StyleTable& styles, uint32_t seed);

}  // namespace quiltor::host::testing
