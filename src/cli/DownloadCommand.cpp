// The download command: fetch the draw history and put it into a document.
#include "cli/Command.h"
#include "cli/Document.h"
#include "cli/SettingsArgs.h"
#include "core/base/FileIO.h"
#include "core/base/HttpGet.h"
#include "core/download/Download.h"
#include "core/engine/Prj.h"

namespace tovarin::cli {
namespace {

TFetchFailure FailureOf(EHttpError::Kind kind) {
    switch (kind) {
        case EHttpError::Kind::Timeout:
            return TFetchFailure::Timeout;
        case EHttpError::Kind::Status:
            return TFetchFailure::BadStatus;
        case EHttpError::Kind::Connect:
            break;
    }
    return TFetchFailure::NoConnection;
}

std::string FetchBody(const std::string& address, int timeoutMs) {
    try {
        return HttpGet(address, timeoutMs);
    } catch (const EHttpError& error) {
        throw EDownloadError(FetchFailureReason(FailureOf(error.kind()), error.what()));
    }
}

// The answer's records; its body is gone before the table is made of them.
std::vector<TQiCodeRec> FetchRecords(const std::string& address, int timeoutMs) {
    const std::string body = FetchBody(address, timeoutMs);
    return ReadDownloadRecords(body);
}

int RunDownload(const Args& args) {
    const std::optional<std::string> baseAddress = args.Value("--url");
    const std::optional<std::string> userName = args.Value("--user");
    const std::optional<std::string> password = args.Value("--password");
    const int timeoutMs = args.IntValue("--timeout").value_or(kDefaultTransferMs);
    const TAppOptions settings = AppOptionsFromArgs(args);
    const std::string& path = args.Positional("DOC");
    if (timeoutMs <= 0) {
        throw UsageError("--timeout takes a positive number of milliseconds");
    }

    // The document is read first: one that cannot be read is not replaced.
    Document doc;
    if (FileExists(path)) {
        Open(path, doc);
    }
    CheckDownloadGame(doc.codeNet);
    int drawCount = 0;
    std::vector<TQiCodeRec> records;
    try {
        const std::string address = DownloadRequestAddress(
            baseAddress.value_or(DefaultDownloadAddress()), userName.value_or(settings.userName),
            password.value_or(settings.userPW));
        records = FetchRecords(address, timeoutMs);
        drawCount = ApplyDownloadRecords(records, doc.codeNet);
    } catch (const Exception& error) {
        throw Exception(DownloadFailureText(error.what()));
    }
    if (drawCount == 0) {
        throw Exception(std::string(kNoDrawsText));
    }
    SaveAfterReport(path, doc,
                    DownloadDoneText(drawCount, records.back().period) + "\ndraws " +
                        std::to_string(drawCount) + "\n");
    return 0;
}

}  // namespace

const CommandSpec& DownloadCommand() {
    static const CommandSpec spec{
        .name = "download",
        .summary =
            "Fetches the draw history from the draw service and puts it into the document, "
            "which is created when missing and left alone when anything fails.",
        .positionals = {{"DOC", "the document (.lvrn)"}},
        .options = {{"--url", "BASE", "the service address (default: the program's own)"},
                    {"--user", "NAME", "the member name (default: the settings file's)"},
                    {"--password", "PW", "the member password (default: the settings file's)"},
                    kSettingsOption,
                    kSetOption,
                    {"--timeout", "MS", "give up after this many milliseconds (default 30000)"}},
        .run = &RunDownload,
    };
    return spec;
}

}  // namespace tovarin::cli
