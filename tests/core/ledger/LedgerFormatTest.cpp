// The ledger's stored form: exact bytes, round trips, every spoiled or cut
// section refused with its byte, and every changed byte of an entry
// breaking the chain at that entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LedgerTestSupport.h"
#include "core/base/ByteStream.h"
#include "core/ledger/LedgerFormat.h"
#include "core/ledger/LedgerSummary.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

using test::FromHex;
using test::Hex;
using test::LabelledTable;
using test::SmallRecord;

// Where the section lies in the document, for the messages.
constexpr size_t kAt = 100;

TLedgerRecord LabelledRecord(int project, int period) {
    TLedgerRecord record = SmallRecord(project, period, "2026150");
    record.BasedOnLabel = "2026149";
    return record;
}

TLedger LedgerOf(const std::vector<TLedgerRecord>& records) {
    LabelledTable table;
    TLedger ledger;
    for (const TLedgerRecord& record : records) {
        ledger.Record(record, table.net, table.Finder());
    }
    return ledger;
}

// Hexadecimal written in groups, one field a group.
std::string Fields(std::string hex) {
    std::erase(hex, ' ');
    return FromHex(hex);
}

// The byte a reader's message names.
size_t NamedByte(const std::string& message) {
    const size_t at = message.rfind("at byte ");
    return at == std::string::npos ? std::string::npos : std::stoul(message.substr(at + 8));
}

TEST(LedgerFormat, RecordBytesAreTheDocumentedLayout) {
    const TLedgerRecord record = LabelledRecord(2, 361);
    ByteWriter options;
    record.Options.SaveToStream(options);
    const std::string expected =
        Fields("69a6186a00000000 02000000") + options.Bytes() +
        Fields(
            "01000000 02000000 14000000 e7a8b3e4b88ae5a4b43a5be993815d312c332c35"
            "14000000 e5a4b4e5b0bee590883a5be5aeb95d352c362c37"
            "00200000200080000000000000 000100"
            "02000000 28000000 00200000200080000000000000 1e000000 00200000000080000000000000"
            "69010000 07 32303236313530 68010000 07 32303236313439");
    EXPECT_EQ(Hex(RecordBytes(record)), Hex(expected));
    EXPECT_EQ(RecordBytes(record).size(), 202U);
}

TEST(LedgerFormat, RoundTripsByteForByte) {
    TLedgerRecord odd = SmallRecord(3, 362);
    odd.Options.Padding[12] = 7;  // a flag byte other than 1, kept as it came
    odd.Options.Padding[13] = 0xAB;
    odd.Conditions.clear();
    odd.Kept.clear();
    odd.Groups = {{10, {}}};
    odd.RecordedAt = -1;
    const TLedger ledger = LedgerOf({LabelledRecord(1, 361), odd, SmallRecord(1, 361)});
    const std::string bytes = EncodeLedger(ledger);
    const TLedger read = DecodeLedger(bytes, kAt);
    EXPECT_EQ(read.BrokenAt(), std::nullopt);
    ASSERT_EQ(read.Count(), 3);
    EXPECT_EQ(read.Entries()[2].Seq, 3);
    EXPECT_EQ(read.Entries()[1].Record.RecordedAt, -1);
    EXPECT_EQ(read.Entries()[1].Record.Options.Padding[13], 0xAB);
    EXPECT_EQ(EncodeLedger(read), bytes);
    EXPECT_EQ(Hex(EncodeLedger(TLedger())), "00000000");
    EXPECT_EQ(DecodeLedger(FromHex("00000000"), kAt).Count(), 0);
}

TEST(LedgerFormat, SpoiledSectionsAreRefusedWithTheirByte) {
    const std::string good = EncodeLedger(LedgerOf({LabelledRecord(2, 361)}));
    ASSERT_EQ(good.size(), 4U + 202U + 32U);
    struct Case {
        size_t at;  // in the section
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {0, FromHex("ffffff7f"), "Bad ledger entry count 2147483647 at byte 100"},
        {0, FromHex("ffffffff"), "Bad ledger entry count -1 at byte 100"},
        {0, FromHex("02000000"), "Bad ledger entry count 2 at byte 100"},
        {12, FromHex("00000000"), "Bad ledger project number 0 at byte 112"},
        {17, FromHex("01"), "Bad ledger project settings (first four bytes not zero) at byte 116"},
        {72, FromHex("0b000000"), "Bad ledger tolerance 11 at byte 172"},
        {76, FromHex("e8030000"), "Bad ledger condition count 1000 at byte 176"},
        {80, FromHex("10270000"), "Bad ledger condition text length 10000 at byte 180"},
        {85, FromHex("ff"), "Bad ledger condition text (not UTF-8) at byte 184"},
        {140, FromHex("10"), "Bad ledger kept codes at byte 240"},
        {142, FromHex("02"), "Bad ledger kept-code error 2 at byte 242"},
        {144, FromHex("e8030000"), "Bad ledger group count 1000 at byte 244"},
        {148, FromHex("00000000"), "Bad ledger group size 0 at byte 248"},
        {165, FromHex("01000000"), "Bad ledger group code count 2 at byte 269"},
        {182, FromHex("00000000"), "Bad ledger target period 0 at byte 282"},
        {186, FromHex("0a"), "Bad ledger label length 10 at byte 286"},
        {188, "x", "Bad ledger label character at byte 288"},
        {194, FromHex("ffffffff"), "Bad ledger table row count -1 at byte 294"},
        {good.size(), std::string(1, '\0'),
         "Bad ledger section (bytes after the last entry) at byte 338"},
    };
    for (const Case& c : cases) {
        std::string spoiled = good;
        spoiled.replace(c.at, c.bytes.size(), c.bytes);
        try {
            DecodeLedger(spoiled, kAt);
            ADD_FAILURE() << c.message;
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(LedgerFormat, EveryCutIsRefusedWhereItStops) {
    const std::string good = EncodeLedger(LedgerOf({SmallRecord(1, 361), LabelledRecord(2, 361)}));
    for (size_t length = 0; length < good.size(); ++length) {
        try {
            DecodeLedger(good.substr(0, length), kAt);
            ADD_FAILURE() << "a cut at " << length << " was read";
        } catch (const EReadError& error) {
            EXPECT_LE(NamedByte(error.what()), kAt + length) << error.what();
        }
    }
}

// Every byte of every entry changed: the section is refused at or after
// that entry's first byte, or it reads and the chain breaks at that entry.
// A changed time or hash always reads, and always breaks the chain there.
TEST(LedgerFormat, AnyChangedByteBreaksTheChainAtItsEntry) {
    const TLedger ledger =
        LedgerOf({SmallRecord(1, 361), LabelledRecord(2, 361), SmallRecord(3, 362)});
    const std::string good = EncodeLedger(ledger);
    size_t start = 4;
    for (const TLedgerEntry& entry : ledger.Entries()) {
        const size_t hashAt = start + RecordBytes(entry.Record).size();
        const size_t end = hashAt + entry.Hash.size();
        for (size_t at = start; at < end; ++at) {
            std::string changed = good;
            changed[at] = static_cast<char>(changed[at] + 1);
            const bool mustRead = at < start + 8 || at >= hashAt;
            try {
                const TLedger read = DecodeLedger(changed, kAt);
                EXPECT_EQ(read.BrokenAt(), entry.Seq) << "byte " << at;
            } catch (const EReadError& error) {
                EXPECT_FALSE(mustRead) << "byte " << at << ": " << error.what();
                EXPECT_GE(NamedByte(error.what()), kAt + start) << "byte " << at;
            }
        }
        start = end;
    }
    EXPECT_EQ(start, good.size());
}

// Entries taken out or put in another order break the chain where the
// first one no longer follows; a broken chain stays broken as it grows.
TEST(LedgerFormat, RemovedOrReorderedEntriesBreakTheChain) {
    const TLedger ledger =
        LedgerOf({SmallRecord(1, 361), SmallRecord(2, 361), SmallRecord(3, 361)});
    std::vector<std::string> entries;
    for (const TLedgerEntry& entry : ledger.Entries()) {
        entries.push_back(RecordBytes(entry.Record) +
                          std::string(reinterpret_cast<const char*>(entry.Hash.data()), 32));
    }
    const std::string removed = FromHex("02000000") + entries[0] + entries[2];
    const std::string swapped = FromHex("03000000") + entries[0] + entries[2] + entries[1];
    const std::string firstGone = FromHex("02000000") + entries[1] + entries[2];
    EXPECT_EQ(ChainStateText(DecodeLedger(removed, kAt)), "broken at 2");
    EXPECT_EQ(DecodeLedger(swapped, kAt).BrokenAt(), 2);
    EXPECT_EQ(DecodeLedger(firstGone, kAt).BrokenAt(), 1);

    TLedger broken = DecodeLedger(swapped, kAt);
    LabelledTable table;
    broken.Record(SmallRecord(4, 361), table.net, table.Finder());
    EXPECT_EQ(DecodeLedger(EncodeLedger(broken), kAt).BrokenAt(), 2);
}

}  // namespace
}  // namespace tovarin
