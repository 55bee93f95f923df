#include "core/download/Download.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/base/Codec.h"
#include "core/base/Text.h"
#include "core/base/Version.h"

namespace tovarin {
namespace {

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string LineFault(size_t lineNumber, std::string_view what, std::string_view line) {
    return "第" + IntToStr(static_cast<long long>(lineNumber)) + "行" + std::string(what) + "：" +
           std::string(line);
}

// The default address, each byte raised by 0x3B + 29 * i (mod 256).
constexpr unsigned char kScrambledAddress[] = {
    0xA3, 0xCC, 0xE9, 0x02, 0xE9, 0xFB, 0x18, 0x37, 0x55, 0x77, 0x8B, 0xAA, 0xC5, 0xE4,
    0xFF, 0x1F, 0x45, 0x60, 0x7B, 0x93, 0xB6, 0xCB, 0x1D, 0x48, 0x54, 0x87, 0xA0,
};

}  // namespace

TDownloadKey MakeDownloadKey(std::string_view softwareId, int constant) {
    if (softwareId.size() != TSeq::DigitCount) {
        throw Exception("MakeDownloadKey Error!");
    }
    TDownloadKey key;
    int sum = 0;
    for (int i = 0; i < TSeq::DigitCount; ++i) {
        key.k[i] = static_cast<unsigned char>(softwareId[i]) % 10;
        sum += key.k[i];
    }
    if (sum == 0) {
        throw Exception("MakeDownloadKey Error!");
    }
    key.m = constant % sum;
    return key;
}

const TDownloadValues& DownloadValues() {
    static const TDownloadValues values = [] {
        TDownloadValues made;
        std::string id = "ormelux";
        std::transform(id.begin(), id.end(), id.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        made.softwareId = id;
        made.softwareNumber = "34";
        made.version = kVersionText;
        made.key = MakeDownloadKey(made.softwareId, kDownloadConstant);
        return made;
    }();
    return values;
}

std::string UnmaskCode(std::string_view periodText, std::string_view codeText,
                       const TDownloadKey& key) {
    int period = 0;
    if (!IsDigits(periodText) || !TryStrToInt(periodText, period)) {
        throw EDownloadError("期号不是数字：" + std::string(periodText));
    }
    if (!IsDigits(codeText) || codeText.size() < TSeq::DigitCount) {
        throw EDownloadError("号码不是七位数字：" + std::string(codeText));
    }
    std::string digits(TSeq::DigitCount, '0');
    for (int i = 1; i <= TSeq::DigitCount; ++i) {
        const int masked = codeText[i - 1] - '0';
        // The bias keeps the value positive before the remainder.
        const int plain = (masked + 2000 - i * key.m - (period % 10) * key.k[i - 1]) % 10;
        digits[i - 1] = static_cast<char>('0' + plain);
    }
    return digits;
}

std::string UnmaskCode(std::string_view periodText, std::string_view codeText) {
    return UnmaskCode(periodText, codeText, DownloadValues().key);
}

std::string DefaultDownloadAddress() {
    std::string address;
    for (size_t i = 0; i < std::size(kScrambledAddress); ++i) {
        address += static_cast<char>((kScrambledAddress[i] - 0x3B - 29 * i) & 0xFF);
    }
    return address;
}

std::string PercentEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string DownloadRequestAddress(std::string_view baseAddress, std::string_view userName,
                                   std::string_view password) {
    const TDownloadValues& values = DownloadValues();
    return std::string(baseAddress) + "?soft=" + values.softwareId +
           "&softid=" + values.softwareNumber + "&ver=" + values.version +
           "&mName=" + PercentEncode(Utf8ToGbk(userName)) +
           "&mPw=" + PercentEncode(Utf8ToGbk(password));
}

namespace {

// The body is read as GBK lines without converting it whole: a line end, a
// blank, a control byte or "#" is never part of a GBK character, so lines,
// trimming and fields come out as they would from the converted text.

// Text that is ASCII reads the same in GBK and UTF-8.
std::string Utf8Of(std::string_view gbk) {
    const bool ascii = std::all_of(gbk.begin(), gbk.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii ? std::string(gbk) : GbkToUtf8(gbk);
}

// Refuses a body that is not GBK text or whose first line lacks "成功".
// The text is converted a piece at a time, ended at a line end.
void CheckStatusAndText(std::string_view gbkBody) {
    constexpr size_t kPieceBytes = size_t{1} << 20;
    try {
        for (std::string_view rest = gbkBody; !rest.empty();) {
            const size_t lineEnd = rest.find('\n', std::min(kPieceBytes, rest.size()) - 1);
            const size_t piece = lineEnd == std::string_view::npos ? rest.size() : lineEnd + 1;
            GbkToUtf8(rest.substr(0, piece));
            rest.remove_prefix(piece);
        }
    } catch (const ECodecError&) {
        throw EDownloadError("服务器返回的内容不是文本");
    }
    const std::string status = GbkToUtf8(gbkBody.substr(0, gbkBody.find('\n')));
    if (gbkBody.empty() || status.find("成功") == std::string::npos) {
        throw EDownloadError("服务器没有返回“成功”：" + std::string(Trim(status)));
    }
}

// Calls take(period, code) with the first and third field (GBK) of each
// line after the status line that is not blank; a line of fewer than three
// fields is refused with its number in the body.
template <typename Take>
void ForEachDrawLine(std::string_view gbkBody, Take take) {
    size_t number = 1;
    std::string_view rest = gbkBody.substr(std::min(gbkBody.size(), gbkBody.find('\n')));
    while (!rest.empty()) {
        rest.remove_prefix(1);
        ++number;
        const size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        if (line.empty()) {
            continue;
        }
        // SplitText's items: empty ones dropped, none trimmed.
        std::string_view fields[3];
        size_t count = 0;
        for (std::string_view items = line; !items.empty() && count < 3;) {
            const size_t hash = items.find('#');
            if (hash != 0) {
                fields[count++] = items.substr(0, hash);
            }
            items.remove_prefix(hash == std::string_view::npos ? items.size() : hash + 1);
        }
        if (count < 3) {
            throw EDownloadError(LineFault(number, "不足三项", GbkToUtf8(line)));
        }
        take(Trim(fields[0]), Trim(fields[2]));
    }
}

// The record of result line number (from 1) "period#code".
TQiCodeRec DecodeLine(size_t number, std::string_view resultLine) {
    const std::string_view line = Trim(resultLine);
    const std::vector<std::string> fields = SplitText("#", line);
    if (fields.size() < 2) {
        throw EDownloadError(LineFault(number, "缺少号码", line));
    }
    std::string digits;
    try {
        digits = UnmaskCode(fields[0], fields[1]);
    } catch (const EDownloadError& error) {
        throw EDownloadError(LineFault(number, "有误", line) + "（" + error.what() + "）");
    }
    TQiCodeRec record;
    record.period = StrToInt(std::string_view(fields[0]).substr(0, 7));
    record.code = StrToInt(digits);
    return record;
}

}  // namespace

std::vector<std::string> ReadDownloadResponse(std::string_view gbkBody) {
    CheckStatusAndText(gbkBody);
    std::vector<std::string> result;
    ForEachDrawLine(gbkBody, [&](std::string_view period, std::string_view code) {
        result.push_back(Utf8Of(period) + "#" + Utf8Of(code));
    });
    return result;
}

std::vector<TQiCodeRec> ReadDownloadRecords(std::string_view gbkBody) {
    CheckStatusAndText(gbkBody);
    // Every line is checked for its fields before any is decoded, as the
    // lines are before DecodeDownload; the count sizes the records.
    size_t count = 0;
    ForEachDrawLine(gbkBody, [&](std::string_view, std::string_view) { ++count; });
    std::vector<TQiCodeRec> records;
    records.reserve(count);
    ForEachDrawLine(gbkBody, [&](std::string_view period, std::string_view code) {
        records.push_back(DecodeLine(records.size() + 1, Utf8Of(period) + "#" + Utf8Of(code)));
    });
    return records;
}

std::vector<TQiCodeRec> DecodeDownload(const std::vector<std::string>& lines) {
    std::vector<TQiCodeRec> records;
    records.reserve(lines.size());
    for (const std::string& line : lines) {
        records.push_back(DecodeLine(records.size() + 1, line));
    }
    return records;
}

TSeq DrawOfRecord(const TQiCodeRec& record) {
    char text[16];
    std::snprintf(text, sizeof text, "%7d", static_cast<int>(record.code));
    TSeq draw;
    for (int j = 0; j < TSeq::DigitCount; ++j) {
        draw.SetNum(j, text[j] == ' ' ? 0 : text[j] - '0');
    }
    return draw;
}

std::string DownloadGameText(TGame game) {
    return "开奖数据下载只提供七位数的开奖号码，这个码表是" + std::string(GameTitle(game)) +
           "，不能下载。请用“导入开奖数据”导入" + std::string(GameTitle(game)) + "的开奖数据。";
}

void CheckDownloadGame(const TCodeNet& table) {
    if (table.Game() != TGame::Seven) {
        throw EDownloadError(DownloadGameText(table.Game()));
    }
}

int ApplyDownload(const std::vector<std::string>& lines, std::vector<TQiCodeRec>& records,
                  TCodeNet& table) {
    CheckDownloadGame(table);
    records = DecodeDownload(lines);
    return ApplyDownloadRecords(records, table);
}

int ApplyDownloadRecords(const std::vector<TQiCodeRec>& records, TCodeNet& table) {
    if (records.empty()) {
        return 0;
    }
    std::vector<TSeq> draws;
    draws.reserve(records.size());
    for (const TQiCodeRec& record : records) {
        draws.push_back(DrawOfRecord(record));
    }
    table.Replace(std::move(draws));
    return table.Count();
}

std::string FetchFailureReason(TFetchFailure failure, std::string_view detail) {
    std::string reason;
    switch (failure) {
        case TFetchFailure::NoConnection:
            reason = "无法连接服务器";
            break;
        case TFetchFailure::Timeout:
            reason = "服务器应答超时";
            break;
        case TFetchFailure::BadStatus:
            reason = "服务器应答错误";
            break;
    }
    if (!detail.empty()) {
        reason += "（" + std::string(detail) + "）";
    }
    return reason;
}

std::string DownloadDoneText(int drawCount, int32_t latestPeriod) {
    return std::string(kDownloadDoneText) + "共收到 " + std::to_string(drawCount) +
           " 期开奖数据，最新一期是第 " + std::to_string(latestPeriod) + " 期。";
}

std::string DownloadFailureText(std::string_view reason) {
    return "下载开奖数据失败：" + std::string(reason);
}

}  // namespace tovarin
