#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/sources/SourceFetch.h"

namespace tovarin {

// The file of the player's sources in a program folder, beside the
// settings file: folder, separator, "ormelux-sources.json".
std::string SourcesFilePath(const std::string& folder);

// A list of sources is a few kilobytes; a larger file is refused unread.
inline constexpr size_t kMaxSourcesFileBytes = size_t{1} << 20;

// What is wrong with a source of a list, or nothing: a name that is empty
// or taken by an earlier source, an address that is not http(s), a header
// that is not "Name: value".
std::string SourceProblem(const std::vector<TDrawSource>& sources, size_t index);

// The sources of the file; a missing file holds none. EReadError
// "数据源文件有误（<path>）：…" naming what is wrong and where, for a file
// that cannot be read, is too large, is not JSON of the sources, or holds a
// source SourceProblem refuses; nothing is returned then.
std::vector<TDrawSource> LoadSources(const std::string& path);

// The sources as the file holds them:
// {"sources": [{"name", "url", "format" ("auto"/"table"/"json"/"html"),
//               "enabled", "headers": ["Name: value", …]}]}
std::string SourcesFileText(const std::vector<TDrawSource>& sources);

// Replaces the file atomically (EInOutError when it cannot). A list
// SourceProblem refuses is refused with Exception "第N个数据源：…" before
// anything is written.
void SaveSources(const std::string& path, const std::vector<TDrawSource>& sources);

}  // namespace tovarin
