#pragma once

#include <string>
#include <string_view>

namespace tovarin {

// File access of the whole program goes through here, so the calls into the
// operating system sit in one unit. Paths are UTF-8.

bool FileExists(const std::string& path);

// Reads the whole file; EInOutError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);
// At most the first maxBytes bytes of the file: a reader of outside data
// asks for one byte more than it accepts, so a longer file shows as such
// without being read whole.
std::string ReadFileHead(const std::string& path, size_t maxBytes);

// Replaces the file with exactly these bytes, or leaves the old one whole:
// the bytes go to a new file beside the target, every write is checked,
// the data is flushed to disk and only then renamed over the target.
// EInOutError on any failure; no temporary file is left behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tovarin
