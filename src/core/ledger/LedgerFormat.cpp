#include "core/ledger/LedgerFormat.h"

#include <array>
#include <bit>
#include <cstdio>

#include "core/base/ByteStream.h"
#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/ledger/Ledger.h"

namespace tovarin {
namespace {

constexpr size_t kCodeSetBytes = (TCodes::kCount + 7) / 8;
constexpr size_t kMaxLabelLength = 9;
constexpr int kMaxTolerance = 10;
// An entry without conditions, kept codes, groups or labels.
constexpr size_t kMinEntryBytes = 8 + 4 + TPrjOptions::StoredSize + 4 + 4 + kCodeSetBytes + 4 + 4 +
                                  1 + 4 + 1 + sizeof(TSha256Digest);
constexpr size_t kMinConditionBytes = 4;
constexpr size_t kMinGroupBytes = 4 + kCodeSetBytes;

[[noreturn]] void Refuse(const std::string& what, long long value, size_t offset) {
    throw EReadError("Bad ledger " + what + " " + std::to_string(value) + " at byte " +
                     std::to_string(offset));
}

[[noreturn]] void Refuse(const std::string& what, size_t offset) {
    throw EReadError("Bad ledger " + what + " at byte " + std::to_string(offset));
}

void WriteI64(ByteWriter& out, int64_t value) {
    const auto bits = static_cast<uint64_t>(value);
    out.WriteI32(static_cast<int32_t>(static_cast<uint32_t>(bits & 0xFFFFFFFFU)));
    out.WriteI32(static_cast<int32_t>(static_cast<uint32_t>(bits >> 32)));
}

int64_t ReadI64(ByteReader& in) {
    const auto low = static_cast<uint32_t>(in.ReadI32());
    const auto high = static_cast<uint32_t>(in.ReadI32());
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

// A count or number that must lie in [low, high].
int ReadBounded(ByteReader& in, const char* what, long long low, long long high) {
    const size_t at = in.Offset();
    const int32_t value = in.ReadI32();
    if (value < low || value > high) {
        Refuse(what, value, at);
    }
    return value;
}

// A count of items of at least minBytes each, checked against what is left.
size_t ReadCount(ByteReader& in, const char* what, size_t minBytes) {
    const size_t at = in.Offset();
    const int32_t count = in.ReadI32();
    if (count < 0 || static_cast<size_t>(count) > in.Remaining() / minBytes) {
        Refuse(what, count, at);
    }
    return static_cast<size_t>(count);
}

void WriteCodeSet(ByteWriter& out, const std::vector<TCode>& codes) {
    std::array<uint8_t, kCodeSetBytes> bits{};
    for (const TCode code : codes) {
        // A code outside the set is left out; the record then does not read
        // back as it was and is refused.
        if (code < 0 || code >= TCodes::kCount) {
            continue;
        }
        bits[static_cast<size_t>(code) / 8] |= static_cast<uint8_t>(1U << (code % 8));
    }
    out.WriteBytes(std::string_view(reinterpret_cast<const char*>(bits.data()), bits.size()));
}

std::vector<TCode> ReadCodeSet(ByteReader& in, const char* what) {
    const size_t at = in.Offset();
    const std::string_view bits = in.ReadBytes(kCodeSetBytes);
    if ((static_cast<uint8_t>(bits.back()) >> (TCodes::kCount % 8)) != 0) {
        Refuse(what, at + kCodeSetBytes - 1);
    }
    std::vector<TCode> codes;
    for (size_t byte = 0; byte < kCodeSetBytes; ++byte) {
        for (unsigned rest = static_cast<uint8_t>(bits[byte]); rest != 0; rest &= rest - 1) {
            codes.push_back(static_cast<TCode>(byte * 8) + std::countr_zero(rest));
        }
    }
    return codes;
}

void WriteLabel(ByteWriter& out, const std::optional<std::string>& label) {
    out.WriteU8(static_cast<uint8_t>(label ? label->size() : 0));
    if (label) {
        out.WriteBytes(*label);
    }
}

std::optional<std::string> ReadLabel(ByteReader& in) {
    const size_t at = in.Offset();
    const uint8_t length = in.ReadU8();
    if (length > kMaxLabelLength) {
        Refuse("label length", length, at);
    }
    if (length == 0) {
        return std::nullopt;
    }
    const std::string_view digits = in.ReadBytes(length);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            Refuse("label character", at + 1 + i);
        }
    }
    return std::string(digits);
}

std::vector<std::string> ReadConditions(ByteReader& in) {
    const size_t count = ReadCount(in, "condition count", kMinConditionBytes);
    std::vector<std::string> texts;
    texts.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = in.Offset();
        const int32_t length = in.ReadI32();
        if (length < 0 || static_cast<size_t>(length) > in.Remaining()) {
            Refuse("condition text length", length, at);
        }
        const std::string_view text = in.ReadBytes(static_cast<size_t>(length));
        if (!IsValidUtf8(text)) {
            Refuse("condition text (not UTF-8)", at + 4);
        }
        texts.emplace_back(text);
    }
    return texts;
}

std::vector<TKeptCode> ReadKept(ByteReader& in, int tolerance) {
    std::vector<TKeptCode> kept;
    for (const TCode code : ReadCodeSet(in, "kept codes")) {
        const size_t at = in.Offset();
        const int error = in.ReadU8();
        if (error > tolerance) {
            Refuse("kept-code error", error, at);
        }
        kept.push_back({code, error});
    }
    return kept;
}

std::vector<TLedgerGroup> ReadGroups(ByteReader& in) {
    const size_t count = ReadCount(in, "group count", kMinGroupBytes);
    std::vector<TLedgerGroup> groups(count);
    for (TLedgerGroup& group : groups) {
        group.Size = ReadBounded(in, "group size", 1, TCodes::kCount);
        const size_t at = in.Offset();
        group.Codes = ReadCodeSet(in, "group codes");
        if (group.Codes.size() > static_cast<size_t>(group.Size)) {
            Refuse("group code count", static_cast<long long>(group.Codes.size()), at);
        }
    }
    return groups;
}

}  // namespace

std::string RecordBytes(const TLedgerRecord& record) {
    ByteWriter out;
    WriteI64(out, record.RecordedAt);
    out.WriteI32(record.Project);
    record.Options.SaveToStream(out);
    out.WriteI32(record.Tolerance);
    out.WriteI32(static_cast<int32_t>(record.Conditions.size()));
    for (const std::string& text : record.Conditions) {
        out.WriteI32(static_cast<int32_t>(text.size()));
        out.WriteBytes(text);
    }
    std::vector<TCode> keptCodes;
    keptCodes.reserve(record.Kept.size());
    for (const TKeptCode& kept : record.Kept) {
        keptCodes.push_back(kept.Code);
    }
    WriteCodeSet(out, keptCodes);
    for (const TKeptCode& kept : record.Kept) {
        out.WriteU8(static_cast<uint8_t>(kept.Error));
    }
    out.WriteI32(static_cast<int32_t>(record.Groups.size()));
    for (const TLedgerGroup& group : record.Groups) {
        out.WriteI32(group.Size);
        WriteCodeSet(out, group.Codes);
    }
    out.WriteI32(record.Period);
    WriteLabel(out, record.Label);
    out.WriteI32(record.BasedOnDraws);
    WriteLabel(out, record.BasedOnLabel);
    return out.Bytes();
}

TLedgerRecord ReadRecord(ByteReader& in) {
    TLedgerRecord record;
    record.RecordedAt = ReadI64(in);
    record.Project = ReadBounded(in, "project number", 1, INT32_MAX);
    const size_t optionsAt = in.Offset();
    const std::string_view options = in.ReadBytes(TPrjOptions::StoredSize);
    // They stand for a pointer of the program's and are written as zero.
    if (options.substr(0, 4) != std::string_view("\0\0\0\0", 4)) {
        Refuse("project settings (first four bytes not zero)", optionsAt);
    }
    ByteReader optionsReader(options, optionsAt);
    record.Options.LoadFromStream(optionsReader);
    record.Tolerance = ReadBounded(in, "tolerance", 0, kMaxTolerance);
    record.Conditions = ReadConditions(in);
    record.Kept = ReadKept(in, record.Tolerance);
    record.Groups = ReadGroups(in);
    record.Period = ReadBounded(in, "target period", 1, INT32_MAX);
    record.Label = ReadLabel(in);
    record.BasedOnDraws = ReadBounded(in, "table row count", 0, INT32_MAX);
    record.BasedOnLabel = ReadLabel(in);
    return record;
}

TSha256Digest ChainHash(TSha256& hasher, std::string_view recordBytes,
                        const TSha256Digest* previous) {
    hasher.Add(recordBytes);
    if (previous != nullptr) {
        hasher.Add(
            std::string_view(reinterpret_cast<const char*>(previous->data()), previous->size()));
    }
    return hasher.Finish();
}

std::string EncodeLedger(const TLedger& ledger) {
    ByteWriter out;
    out.WriteI32(ledger.Count());
    for (const TLedgerEntry& entry : ledger.Entries()) {
        out.WriteBytes(RecordBytes(entry.Record));
        out.WriteBytes(
            std::string_view(reinterpret_cast<const char*>(entry.Hash.data()), entry.Hash.size()));
    }
    return out.Bytes();
}

TLedger DecodeLedger(std::string_view payload, size_t offsetInFile) {
    ByteReader in(payload, offsetInFile);
    const size_t count = ReadCount(in, "entry count", kMinEntryBytes);
    std::vector<TLedgerEntry> entries(count);
    std::optional<int> brokenAt;
    TSha256 hasher;
    for (size_t i = 0; i < count; ++i) {
        TLedgerEntry& entry = entries[i];
        entry.Seq = static_cast<int>(i) + 1;
        const size_t start = in.Offset();
        entry.Record = ReadRecord(in);
        const std::string_view bytes = payload.substr(start - offsetInFile, in.Offset() - start);
        const std::string_view stored = in.ReadBytes(entry.Hash.size());
        std::copy(stored.begin(), stored.end(), entry.Hash.begin());
        const TSha256Digest expected =
            ChainHash(hasher, bytes, i == 0 ? nullptr : &entries[i - 1].Hash);
        if (!brokenAt && expected != entry.Hash) {
            brokenAt = entry.Seq;
        }
    }
    if (in.Remaining() != 0) {
        Refuse("section (bytes after the last entry)", in.Offset());
    }
    return TLedger(TLedgerState{std::move(entries), brokenAt});
}

std::string HashText(const TSha256Digest& hash) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(hash.size() * 2);
    for (const uint8_t byte : hash) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace tovarin
