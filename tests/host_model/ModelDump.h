// Everything of a document that the suites can read, as text, so two documents can be compared
// whole. Reals are written as their bit patterns: equal text means bit-identical values.
#pragma once

#include <string>

#include "model/Document.h"

namespace quiltor::host::testing {

std::string DumpDocument(const Document& document);

}  // namespace quiltor::host::testing
