#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Errors.h"
#include "core/draws/LawNet.h"

namespace tovarin {

// The constant the program and the draw server share; the server masks each
// code with the key made from it, the program takes the mask off.
inline constexpr int kDownloadConstant = 617;

// Seven key digits k1..k7 and the offset m.
struct TDownloadKey {
    std::array<int, TSeq::DigitCount> k{};
    int m = 0;
};

// k_i is the i-th character code of the identifier mod 10, m the constant
// mod the sum of the k_i. Exception "MakeDownloadKey Error!" for an
// identifier that is not seven characters or whose key digits sum to 0.
TDownloadKey MakeDownloadKey(std::string_view softwareId, int constant);

// What the request tells the server about the program, and the key.
struct TDownloadValues {
    std::string softwareId;      // "ORMELUX"
    std::string softwareNumber;  // "34"
    std::string version;         // "1.08"
    TDownloadKey key;
};

// Made once on the first call (the main window asks at start-up) and only
// read afterwards, so the download worker may read it from its thread.
const TDownloadValues& DownloadValues();

// The seven digits of a masked code: p is the period, and digit i of the
// code loses i*m + (p mod 10)*k_i. Both texts must be decimal digits, the
// code at least seven (only the first seven count); EDownloadError
// otherwise.
std::string UnmaskCode(std::string_view periodText, std::string_view codeText,
                       const TDownloadKey& key);
std::string UnmaskCode(std::string_view periodText, std::string_view codeText);

// The endpoint the program asks when nobody names another one; it is kept
// scrambled in the program and put together at run time.
std::string DefaultDownloadAddress();

// Every byte outside A-Z a-z 0-9 - . _ ~ as "%" and two upper-case hex digits.
std::string PercentEncode(std::string_view bytes);

// base + "?soft=...&softid=...&ver=...&mName=...&mPw=...". Name and
// password (UTF-8) go as percent-encoded GBK bytes, so no character of
// theirs can end a value or start a fragment; ECodecError for a character
// GBK cannot hold.
std::string DownloadRequestAddress(std::string_view baseAddress, std::string_view userName,
                                   std::string_view password);

// The download was abandoned; the message is the reason, shown to the user.
class EDownloadError : public Exception {
public:
    using Exception::Exception;
};

// The answer's body (GBK bytes) as the result lines "period#code", one per
// non-empty line after the status line. EDownloadError when the body is not
// GBK text, its first line lacks "成功", or a line has fewer than three
// fields; nothing is returned then.
std::vector<std::string> ReadDownloadResponse(std::string_view gbkBody);

// One downloaded draw as the server numbers it.
struct TQiCodeRec {
    int32_t period = 0;
    int32_t code = 0;  // the seven digits read as one number
};

// The records of the result lines, in order. EDownloadError naming the line
// when it lacks a field, or its period or code is not a number, or the code
// is shorter than seven digits.
std::vector<TQiCodeRec> DecodeDownload(const std::vector<std::string>& lines);

// DecodeDownload of ReadDownloadResponse's lines, with their checks and
// messages, read straight from the body: beside the body only the records
// are held, however large the answer.
std::vector<TQiCodeRec> ReadDownloadRecords(std::string_view gbkBody);

// The draw of a record: its code written with seven places, leading zeros
// kept.
TSeq DrawOfRecord(const TQiCodeRec& record);

// Decodes every line into records and only then replaces the table with
// their draws (periods renumbered from 1 in the server's order); returns
// the number of draws. A faulty line raises EDownloadError and changes
// neither records nor the table. A list without draws returns 0 and leaves
// the table as it was: an empty answer never erases the user's history.
// The service gives seven-digit draws only: a table of another game
// refuses the download (EDownloadError with DownloadGameText) before
// anything is asked of the service, and ApplyDownload refuses the same.
int ApplyDownload(const std::vector<std::string>& lines, std::vector<TQiCodeRec>& records,
                  TCodeNet& table);
// The same for records already decoded.
int ApplyDownloadRecords(const std::vector<TQiCodeRec>& records, TCodeNet& table);
void CheckDownloadGame(const TCodeNet& table);
// "开奖数据下载只提供七位数的开奖号码，这个码表是七星彩……"
std::string DownloadGameText(TGame game);

// What the download tells the user.
inline constexpr std::string_view kDownloadDoneText = "下载开奖数据成功！";
inline constexpr std::string_view kDownloadRunningText = "正在下载开奖数据...";
// The success message with how many draws arrived and the server's period
// of the last one: an answer cut short at a line end shows as a short count.
std::string DownloadDoneText(int drawCount, int32_t latestPeriod);
inline constexpr std::string_view kNoDrawsText = "服务器没有返回开奖数据，开奖号码表保持不变。";

// How a fetch can fail before there is a body to read.
enum class TFetchFailure { NoConnection, Timeout, BadStatus };

// The reason shown for a failed fetch; detail says what the system reported.
std::string FetchFailureReason(TFetchFailure failure, std::string_view detail);

// The message for an abandoned download: a fixed lead and the reason.
std::string DownloadFailureText(std::string_view reason);

}  // namespace tovarin
