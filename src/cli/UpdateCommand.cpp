// update: the draw history brought up to date from the player's sources,
// appended by label and never replacing the table.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/Output.h"
#include "core/base/FileIO.h"
#include "core/sources/DrawUpdate.h"
#include "core/sources/SourceList.h"

namespace tovarin::cli {
namespace {

std::vector<TDrawSource> SourcesOf(const Args& args) {
    const std::vector<std::string>& urls = args.Values("--source");
    std::vector<TDrawSource> sources;
    if (urls.empty()) {
        const std::optional<std::string> file = args.Value("--sources");
        if (!file) {
            throw UsageError("give the sources with --source URL or --sources FILE");
        }
        if (args.Value("--format")) {
            throw UsageError("--format is for --source addresses; the list gives each its own");
        }
        for (TDrawSource& source : LoadSources(*file)) {
            if (source.Enabled) {
                source.Headers.insert(source.Headers.end(), args.Values("--header").begin(),
                                      args.Values("--header").end());
                sources.push_back(std::move(source));
            }
        }
        if (sources.empty()) {
            throw Exception("数据源文件里没有启用的数据源：" + *file);
        }
        return sources;
    }
    const std::string formatName = args.Value("--format").value_or("auto");
    const std::optional<TSourceFormat> format = FormatOfName(formatName);
    if (!format) {
        throw UsageError("--format takes auto, table, json or html, not " + formatName);
    }
    for (const std::string& url : urls) {
        sources.push_back({.Name = url,
                           .Url = url,
                           .Format = *format,
                           .Enabled = true,
                           .Headers = args.Values("--header")});
    }
    return sources;
}

nlohmann::ordered_json SourcesJson(const std::vector<TSourceOutcome>& sources) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const TSourceOutcome& source : sources) {
        list.push_back({
            {"url", source.Url},
            {"format", source.Format ? nlohmann::ordered_json(FormatName(*source.Format))
                                     : nlohmann::ordered_json()},
            {"read", source.Read},
            {"pages", source.Pages},
            {"error", source.Error.empty() ? nlohmann::ordered_json()
                                           : nlohmann::ordered_json(source.Error)},
        });
    }
    return list;
}

nlohmann::ordered_json NewestJson(const TCodeNet& net) {
    if (net.Count() == 0) {
        return nullptr;
    }
    const TSeq& newest = net.GetSeq(net.Count() - 1);
    const auto textOrNull = [](const std::string& text) {
        return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
    };
    return {{"period", net.Count() + net.FirstPeriod() - 1},
            {"label", textOrNull(newest.GetLabel().Text())},
            {"date", textOrNull(newest.GetDate().Text())}};
}

std::string JsonReport(const TUpdateRead& update, size_t imported, const TCodeNet& net) {
    const TTableRead& read = update.Merged.Read;
    nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
    for (const TSkippedLine& line : read.Skipped) {
        skipped.push_back({{"line", line.Line}, {"reason", line.Reason}});
    }
    nlohmann::ordered_json gaps = nlohmann::ordered_json::array();
    for (const TLabel label : update.Plan.Gaps.Listed) {
        gaps.push_back(label.Text());
    }
    const nlohmann::ordered_json json = {
        {"sources", SourcesJson(update.Sources)},
        {"read", read.Draws.size()},
        {"imported", imported},
        {"draws", net.Count()},
        {"newest", NewestJson(net)},
        {"skipped", skipped},
        {"skipped_total", read.SkippedTotal},
        {"gaps", gaps},
        {"gaps_total", update.Plan.Gaps.Total},
    };
    return JsonText(json, 2) + "\n";
}

std::string TextReport(const TUpdateRead& update, const TCodeNet& net) {
    std::string text;
    for (const TSourceOutcome& source : update.Sources) {
        if (source.Error.empty()) {
            text += "数据源「" + source.Name + "」：读到" + std::to_string(source.Read) + "期，共" +
                    std::to_string(source.Pages) + "页\n";
        }
    }
    const int count = net.Count();
    const int newestPeriod = count + net.FirstPeriod() - 1;
    const TLabel newestLabel = count > 0 ? net.GetSeq(count - 1).GetLabel() : TLabel();
    text += (update.Added() == 0 ? UpToDateText(newestPeriod, newestLabel)
                                 : UpdateDoneText(update, newestPeriod, newestLabel)) +
            "\n";
    const TTableRead& read = update.Merged.Read;
    for (const TSkippedLine& line : read.Skipped) {
        text += SkippedText(line) + "\n";
    }
    if (read.SkippedTotal > read.Skipped.size()) {
        text += UnlistedText(read.SkippedTotal - read.Skipped.size()) + "\n";
    }
    if (!update.Plan.Gaps.Empty()) {
        text += GapsText(update.Plan.Gaps) + "\n";
    }
    return text;
}

int RunUpdate(const Args& args) {
    const std::string& path = args.Positional("DOC");
    const int timeoutS = args.IntValue("--timeout").value_or(kDefaultTransferMs / 1000);
    if (timeoutS <= 0 || timeoutS > 3600) {
        throw UsageError("--timeout takes a number of seconds from 1 to 3600");
    }
    const std::vector<TDrawSource> sources = SourcesOf(args);
    const bool allowGaps = args.Flag("--allow-gaps");

    // The document is read first: one that cannot be read is not replaced.
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    TFetchSettings settings;
    settings.CaFile = args.Value("--cacert").value_or("");
    settings.TimeoutMs = timeoutS * 1000;
    settings.Game = doc.codeNet.Game();
    const TUpdateRead update = ReadUpdate(sources, doc.codeNet.Rows(), settings);
    const std::vector<std::string> problems =
        UpdateProblems(update, doc.codeNet.Count(), allowGaps);
    if (!problems.empty()) {
        if (args.Flag("--json")) {
            std::cout << JsonReport(update, 0, doc.codeNet);
        }
        std::string message = "没有更新：";
        for (const std::string& problem : problems) {
            message += "\n" + problem;
        }
        if (!allowGaps && !update.Plan.Gaps.Empty() &&
            problems.back() == GapsText(update.Plan.Gaps)) {
            message += "\n（加上 --allow-gaps 仍然导入）";
        }
        throw Exception(message);
    }
    const size_t imported = update.Added();
    if (imported > 0) {
        doc.codeNet.Replace(
            ImportedRows(doc.codeNet.Rows(), update.Merged.Read, TImportMode::Append, allowGaps));
    }
    const std::string report = args.Flag("--json") ? JsonReport(update, imported, doc.codeNet)
                                                   : TextReport(update, doc.codeNet);
    if (imported > 0) {
        SaveAfterReport(path, doc, report);
    } else {
        std::cout << report;
    }
    return 0;
}

}  // namespace

const CommandSpec& UpdateCommand() {
    static const CommandSpec spec{
        .name = "update",
        .summary =
            "Brings the draw table up to date from draw sources on the web, read as the numbers "
            "of the document's game: appends what is new after the table's last label and "
            "writes the document only then.",
        .positionals = {{"DOC", "the document (.lvrn); a missing one is created"}},
        .options =
            {
                {.name = "--source",
                 .valueName = "URL",
                 .help = "an http:// or https:// address of a draw source, fetched page after "
                         "page when it has pageNo=1 or page=1",
                 .occurs = Occurs::Repeated},
                {.name = "--sources",
                 .valueName = "FILE",
                 .help = "without --source: the sources switched on in this list "
                         "(ormelux-sources.json)"},
                {.name = "--format",
                 .valueName = "FORMAT",
                 .help = "how the --source answers are read: auto (default), table, json or "
                         "html"},
                {.name = "--header",
                 .valueName = "\"Name: value\"",
                 .help = "a request header sent to every source",
                 .occurs = Occurs::Repeated},
                {.name = "--cacert",
                 .valueName = "FILE",
                 .help = "a certificate authority (PEM) trusted besides the system's"},
                {.name = "--timeout",
                 .valueName = "S",
                 .help = "give up a page after this many seconds (default 30)"},
                {.name = "--allow-gaps",
                 .valueName = "",
                 .help = "append even when periods are missing (listed in the report)"},
                {.name = "--json",
                 .valueName = "",
                 .help = "print {\"sources\": [{\"url\", \"format\", \"read\", \"pages\", "
                         "\"error\"}], \"read\", \"imported\", \"draws\", \"newest\": "
                         "{\"period\", \"label\", \"date\"}, \"skipped\": [{\"line\", "
                         "\"reason\"}] (the first 1000), \"skipped_total\", \"gaps\" (the first "
                         "1000), \"gaps_total\"} as JSON"},
            },
        .run = &RunUpdate,
    };
    return spec;
}

}  // namespace tovarin::cli
