#pragma once

#include <cstddef>

// A strict, non-recursive check of an XML text before it is handed to the framework's parser:
// one root element, properly nested and closed elements no deeper than `maxDepth`, quoted
// attributes, comments, character data, an optional XML declaration at the start, and only the
// five named entities and numeric character references. Document type declarations and
// processing instructions elsewhere are refused. Everything a saved state contains passes;
// the parser never sees input it could loop or recurse on without bound.
bool isPlainWellFormedXml (const char* text, std::size_t length, int maxDepth);
