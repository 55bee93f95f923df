#pragma once

#include <string>

namespace tovarin {

// The example the program ships as its first working document. The start-up
// text speaks of any document; what is said of the example (its two example
// projects, its made-up draws) is said only while the open document is that
// file, byte for byte.
bool IsBundledExample(const std::string& path);

// What the output area says under the start-up text for the example.
extern const char* const kBundledExampleNote;

}  // namespace tovarin
