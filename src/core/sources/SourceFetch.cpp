#include "core/sources/SourceFetch.h"

#include <algorithm>
#include <unordered_set>

#include "core/sources/AnswerText.h"

namespace tovarin {

std::optional<TPageValue> FindPageParameter(std::string_view url) {
    const size_t end = std::min(url.find('#'), url.size());
    const size_t query = url.find('?');
    if (query >= end) {
        return std::nullopt;
    }
    size_t at = query + 1;
    while (at < end) {
        const size_t next = std::min(url.find('&', at), end);
        const std::string_view parameter = url.substr(at, next - at);
        for (const std::string_view name : {"pageNo=", "page="}) {
            if (parameter == std::string(name) + "1") {
                return TPageValue{at + name.size(), 1};
            }
        }
        at = next + 1;
    }
    return std::nullopt;
}

std::string PageAddress(std::string_view url, const TPageValue& value, int page) {
    std::string address(url);
    address.replace(value.At, value.Length, std::to_string(page));
    return address;
}

std::function<bool(const TTableRead& page)> ReachesPeriod(int newest) {
    return [newest](const TTableRead& page) {
        return std::any_of(page.Draws.begin(), page.Draws.end(),
                           [newest](const TTableDraw& draw) { return draw.Period <= newest; });
    };
}

namespace {

// An error of a page of an address that pages says which page.
template <typename Step>
auto OnPage(bool paged, int page, Step step) {
    if (!paged) {
        return step();
    }
    const std::string prefix = "第" + std::to_string(page) + "页：";
    try {
        return step();
    } catch (const EFetchError& error) {
        throw EFetchError(error.kind(), prefix + error.what());
    } catch (const ENoDrawList& error) {
        throw ENoDrawList(prefix + error.what());
    } catch (const EReadError& error) {
        throw EReadError(prefix + error.what());
    }
}

}  // namespace

TSourceRead FetchSource(const TDrawSource& source, const TFetchSettings& settings) {
    const std::optional<TPageValue> pageValue = FindPageParameter(source.Url);
    const bool paged = pageValue.has_value();
    TSourceRead result;
    std::unordered_set<int> seen;
    TSourceFormat format = source.Format;
    TTableRead firstPage;
    for (int page = 1; page <= (paged ? settings.MaxPages : 1); ++page) {
        if (settings.Cancel != nullptr && settings.Cancel->Cancelled()) {
            throw EFetchError(EFetchError::Kind::Cancelled, fetch_text::Cancelled());
        }
        THttpRequest request;
        request.Url = paged ? PageAddress(source.Url, *pageValue, page) : source.Url;
        request.Headers = source.Headers;
        request.CaFile = settings.CaFile;
        request.TimeoutMs = settings.TimeoutMs;
        request.Cancel = settings.Cancel;
        if (settings.OnProgress) {
            request.OnProgress = [&settings, page](size_t received) {
                settings.OnProgress(page, received);
            };
        }
        TAnswerLines lines;
        try {
            lines = OnPage(paged, page, [&] {
                THttpAnswer answer = HttpFetch(request);
                return ReadAnswerLines(std::move(answer.Body), answer.ContentType, format);
            });
        } catch (const ENoDrawList&) {
            if (page == 1) {
                throw;
            }
            break;  // past the last page
        }
        TTableRead read = ReadDrawTable(lines.Text, settings.Game);
        const bool holdsNew =
            std::any_of(read.Draws.begin(), read.Draws.end(),
                        [&seen](const TTableDraw& draw) { return !seen.contains(draw.Period); });
        if (page > 1 && !holdsNew) {
            break;
        }
        format = lines.Format;
        result.Format = lines.Format;
        result.Pages = page;
        for (const TTableDraw& draw : read.Draws) {
            seen.insert(draw.Period);
        }
        const bool last = read.Draws.empty() || (settings.Reaches && settings.Reaches(read));
        if (page == 1) {
            result.Lines = std::move(lines.Text);
            firstPage = std::move(read);
        } else {
            if (!result.Lines.empty() && result.Lines.back() != '\n') {
                result.Lines += '\n';
            }
            result.Lines += lines.Text;
        }
        if (last) {
            break;
        }
    }
    // Lines of later pages are numbered after the earlier pages' lines.
    result.Read =
        result.Pages == 1 ? std::move(firstPage) : ReadDrawTable(result.Lines, settings.Game);
    return result;
}

namespace {

std::string DrawText(const TTableDraw& draw) {
    std::string text = "第" + std::to_string(draw.Period) + "期";
    if (!draw.Date().empty()) {
        text += " " + std::string(draw.Date());
    }
    return text;
}

}  // namespace

std::string ReadSummaryText(const TSourceRead& read) {
    const std::vector<TTableDraw>& draws = read.Read.Draws;
    std::string text = draws.empty()
                           ? "没有读到开奖号码"
                           : "读到" + std::to_string(draws.size()) + "期（" +
                                 DrawText(draws.front()) + " 至 " + DrawText(draws.back()) + "）";
    text += "，共" + std::to_string(read.Pages) + "页";
    const size_t unread = read.Read.SkippedTotal + read.Read.ConflictsTotal;
    if (unread > 0) {
        text += "，" + std::to_string(unread) + "行无法读取";
    }
    return text;
}

std::vector<std::string> ReadReasonTexts(const TTableRead& read, size_t limit) {
    std::vector<std::string> texts;
    for (const TDrawConflict& conflict : read.Conflicts) {
        if (texts.size() == limit) {
            break;
        }
        texts.push_back(ConflictText(conflict));
    }
    for (const TSkippedLine& skipped : read.Skipped) {
        if (texts.size() == limit) {
            break;
        }
        texts.push_back(SkippedText(skipped));
    }
    // The read lists only the first lines of each kind; its totals count all.
    const size_t total = read.ConflictsTotal + read.SkippedTotal;
    if (total > texts.size()) {
        texts.push_back("还有" + std::to_string(total - texts.size()) + "行…");
    }
    return texts;
}

}  // namespace tovarin
