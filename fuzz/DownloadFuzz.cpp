// Feeds arbitrary bytes to the download as the server's answer body.
// Oracle: a refused answer changes neither the draw table nor the records;
// an empty one leaves the table; what is taken, sent again as the server
// would send it, gives the same table and records.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/base/Codec.h"
#include "core/download/Download.h"
#include "core/draws/LawNet.h"

using namespace tovarin;

namespace {

std::vector<std::string> Rows(const TCodeNet& table) {
    std::vector<std::string> rows;
    for (int row = 0; row < table.Count(); ++row) {
        std::string digits;
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            digits += static_cast<char>('0' + table.GetNum(row, pos));
        }
        rows.push_back(digits);
    }
    return rows;
}

// The code of a record as the server masks it for its period.
std::string Masked(const TQiCodeRec& record, const TDownloadKey& key) {
    const TSeq draw = DrawOfRecord(record);
    std::string code;
    for (int i = 1; i <= TSeq::DigitCount; ++i) {
        const int plain = draw.GetNum(i - 1);
        code +=
            static_cast<char>('0' + (plain + i * key.m + (record.period % 10) * key.k[i - 1]) % 10);
    }
    return code;
}

bool SameRecords(const std::vector<TQiCodeRec>& a, const std::vector<TQiCodeRec>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].period != b[i].period || a[i].code != b[i].code) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    TCodeNet table;
    std::vector<TSeq> typedIn(2);
    typedIn[0].SetNum(0, 9);
    typedIn[1].SetNum(6, 8);
    table.Replace(std::move(typedIn));
    const std::vector<std::string> before = Rows(table);
    std::vector<TQiCodeRec> records(1, TQiCodeRec{42, 4242});
    const std::vector<TQiCodeRec> recordsBefore = records;

    // Read straight from the body, the records and the refusal are those
    // of the lines.
    std::string refusal;
    std::vector<TQiCodeRec> direct;
    try {
        direct = ReadDownloadRecords(body);
    } catch (const EDownloadError& error) {
        refusal = error.what();
    }

    std::vector<std::string> lines;
    int count = 0;
    try {
        lines = ReadDownloadResponse(body);
        count = ApplyDownload(lines, records, table);
    } catch (const EDownloadError& error) {
        if (Rows(table) != before || !SameRecords(records, recordsBefore) ||
            refusal != error.what()) {
            abort();
        }
        return 0;
    }
    if (!refusal.empty() || !SameRecords(direct, records)) {
        abort();
    }
    if (count == 0) {
        if (Rows(table) != before) {
            abort();
        }
        return 0;
    }
    if (count != static_cast<int>(lines.size()) || count != table.Count()) {
        abort();
    }
    std::string again = Utf8ToGbk("成功") + "\r\n";
    for (const TQiCodeRec& record : records) {
        again +=
            std::to_string(record.period) + "#x#" + Masked(record, DownloadValues().key) + "\r\n";
    }
    TCodeNet table2;
    std::vector<TQiCodeRec> records2;
    ApplyDownload(ReadDownloadResponse(again), records2, table2);
    if (Rows(table2) != Rows(table) || !SameRecords(records2, records)) {
        abort();
    }
    return 0;
}
