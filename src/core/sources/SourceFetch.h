#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/HttpClient.h"
#include "core/draws/TableImport.h"
#include "core/sources/AnswerLines.h"

namespace tovarin {

// One of the places a player takes the draw history from.
struct TDrawSource {
    std::string Name;
    std::string Url;
    TSourceFormat Format = TSourceFormat::Auto;
    bool Enabled = true;
    std::vector<std::string> Headers;  // "Name: value"

    bool operator==(const TDrawSource&) const = default;
};

// Where the value of an address's page parameter lies: a query parameter
// pageNo or page whose value is 1. Nothing for an address that does not page.
struct TPageValue {
    size_t At = 0;
    size_t Length = 0;
};
std::optional<TPageValue> FindPageParameter(std::string_view url);
// The address of page n of an address that pages.
std::string PageAddress(std::string_view url, const TPageValue& value, int page);

inline constexpr int kMaxPages = 100;

// How a source is fetched.
struct TFetchSettings {
    std::string CaFile;                  // an extra certificate authority, or empty
    int TimeoutMs = kDefaultTransferMs;  // for each page
    const TFetchCancel* Cancel = nullptr;
    // Called on the fetching thread with the page being fetched (from 1)
    // and its bytes so far.
    std::function<void(int page, size_t received)> OnProgress;
    // Whether a page goes back as far as the table's newest draw, so that
    // no later page can hold anything new; empty: no page does.
    std::function<bool(const TTableRead& page)> Reaches;
    int MaxPages = kMaxPages;
    // The game whose numbers the answers hold (the document's).
    TGame Game = TGame::Seven;
};

// A Reaches test by the program's period numbers: a page reaches newest
// when it holds that period or an earlier one.
std::function<bool(const TTableRead& page)> ReachesPeriod(int newest);

// What a source gave.
struct TSourceRead {
    TSourceFormat Format = TSourceFormat::Table;  // as the first page was read
    int Pages = 0;                                // pages taken
    std::string Lines;                            // their lines, page after page
    TTableRead Read;                              // Lines as the table importer reads them
};

// Fetches a source and reads it, changing nothing. An address that pages
// is fetched page after page (each in the first page's format) until a
// page reaches (settings.Reaches), holds no draw that earlier pages did
// not hold, holds no list of draws at all, or MaxPages pages are taken; a
// page that holds nothing new is not taken. EFetchError or EReadError with
// the reason (after "第N页：" when the address pages) when a page cannot be
// fetched or read; nothing is returned then.
TSourceRead FetchSource(const TDrawSource& source, const TFetchSettings& settings);

// What a read holds, in one line: "读到12期（第2026139期 2026-12-01 至
// 第2026150期 2026-12-06），共2页，3行无法读取".
std::string ReadSummaryText(const TSourceRead& read);
// Why lines were not read: each conflict, then each skipped line, at most
// limit texts in all and then "还有N行…" for the rest.
std::vector<std::string> ReadReasonTexts(const TTableRead& read, size_t limit);

}  // namespace tovarin
