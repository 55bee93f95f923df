#include "core/draws/LawNet.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "core/base/ByteStream.h"
#include "core/base/Codec.h"
#include "core/base/DateTime.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/PathCheck.h"
#include "core/base/Text.h"
#include "core/draws/LabelRules.h"

namespace tovarin {
namespace {

constexpr int StoredDrawSize = 4 * TSeq::DigitCount;
constexpr size_t StoredLabelSize = 9;
// Labels of each width are below these; an absent label (width 0) is 0,
// and no value fits a width above nine.
constexpr std::array<uint32_t, 16> kLabelBounds = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

bool IsComment(std::string_view line) {
    return line.empty() || line.front() == ';' || line.starts_with("//");
}

// Only ASCII digits count; the bytes of GBK characters never fall in
// '0'..'9' (lead and trail bytes are 0x40 and above), so a byte scan needs
// no decoding.
TSeq DrawOfLine(std::string_view line, int count) {
    TSeq draw;
    int pos = 0;
    for (const char c : line) {
        if (pos == count) {
            break;
        }
        if (c >= '0' && c <= '9') {
            draw.SetNum(pos++, c - '0');
        }
    }
    return draw;
}

// The little-endian 32-bit value at bytes, whatever the machine.
int32_t StoredValue(const char* bytes) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(bytes[0])) |
                                static_cast<uint32_t>(static_cast<uint8_t>(bytes[1])) << 8 |
                                static_cast<uint32_t>(static_cast<uint8_t>(bytes[2])) << 16 |
                                static_cast<uint32_t>(static_cast<uint8_t>(bytes[3])) << 24);
}

TNetEdit EditOf(TNetEdit::TKind kind, int row = -1, const TSeq& before = {}) {
    TNetEdit edit;
    edit.Kind = kind;
    edit.Row = row;
    edit.Before = before;
    return edit;
}

[[noreturn]] void RefuseStoredDigit(int32_t digit, size_t offset) {
    throw EReadError("TSeq.SetNum Error! (digit " + std::to_string(digit) + " at byte " +
                     std::to_string(offset) + ")");
}

// Zero exactly for a digit 0..9, in operations a compiler can run on many
// values at once: a value above 15 has bits above the low four, and adding
// 6 carries 10..15 into bit 4.
uint32_t NonDigitBits(uint32_t value) { return (value | (value + 6)) & ~uint32_t{0xF}; }

// Refuses the first of count stored values, from a draw's first, that is
// no digit (or above lastMax, as the last of a draw), if any.
void RefuseNonDigit(const char* stored, size_t count, size_t offset, int lastMax) {
    for (size_t i = 0; i < count; ++i) {
        const auto value = static_cast<uint32_t>(StoredValue(stored + 4 * i));
        const bool last = i % TSeq::DigitCount == TSeq::DigitCount - 1;
        if (value > static_cast<uint32_t>(last ? lastMax : 9)) {
            RefuseStoredDigit(static_cast<int32_t>(value), offset + 4 * i);
        }
    }
}

// Refuses the first entry of a labels section that is out of range.
void RefuseLabels(std::string_view stored, size_t start) {
    for (size_t at = 0; at + StoredLabelSize <= stored.size(); at += StoredLabelSize) {
        const auto width = static_cast<uint8_t>(stored[at]);
        const auto value = static_cast<uint32_t>(StoredValue(stored.data() + at + 1));
        const auto date = static_cast<uint32_t>(StoredValue(stored.data() + at + 5));
        if (width > TLabel::MaxDigits || value >= kLabelBounds[width]) {
            throw EReadError("Bad label (" + std::to_string(value) + " in " +
                             std::to_string(width) + " digits) at byte " +
                             std::to_string(start + at));
        }
        if (date > TDrawDate::MaxDayNumber) {
            throw EReadError("Bad date " + std::to_string(date) + " at byte " +
                             std::to_string(start + at + 5));
        }
    }
}

}  // namespace

int TSeq::GetNum(int pos) const {
    if (pos < 0 || pos >= DigitCount) {
        throw Exception("TSeq.GetNum Error!");
    }
    return digits_[pos];
}

void TSeq::SetNum(int pos, int value) {
    if (pos < 0 || pos >= DigitCount || value < 0 ||
        value > (pos == DigitCount - 1 ? MaxLastNumber : 9)) {
        throw Exception("TSeq.SetNum Error!");
    }
    digits_[pos] = static_cast<uint8_t>(value);
}

int TSeq::GetSum() const { return digits_[0] + digits_[1] + digits_[2] + digits_[3]; }

ETooManyDraws::ETooManyDraws(size_t draws)
    : Exception("the draw table would have " + std::to_string(draws) + " draws; it holds at most " +
                std::to_string(kMaxDraws)),
      draws_(draws) {}

void CheckDrawCount(size_t draws) {
    if (draws > static_cast<size_t>(kMaxDraws)) {
        throw ETooManyDraws(draws);
    }
}

bool TSeq::SameDraw(const TSeq& other) const {
    return std::equal(std::begin(digits_), std::end(digits_), std::begin(other.digits_)) &&
           labelValue_ == other.labelValue_ && dateAndWidth_ == other.dateAndWidth_;
}

TLabel TSeq::GetLabel() const {
    const auto width = static_cast<int>(dateAndWidth_ & kWidthMask);
    return width == 0 ? TLabel() : TLabel(labelValue_, width);
}

void TSeq::SetLabel(TLabel label) {
    labelValue_ = label.Value();
    dateAndWidth_ = (dateAndWidth_ & ~kWidthMask) | static_cast<uint32_t>(label.Digits());
}

TDrawDate TSeq::GetDate() const {
    // Only a checked date is ever stored.
    return *TDrawDate::FromDayNumber(dateAndWidth_ >> kWidthBits);
}

void TSeq::SetDate(TDrawDate date) {
    dateAndWidth_ = (date.DayNumber() << kWidthBits) | (dateAndWidth_ & kWidthMask);
}

void TCodeNet::CheckRow(int row) const {
    if (row < 0 || row >= Count()) {
        throw Exception("TCodeNet.GetSeq Error!");
    }
}

TSeq& TCodeNet::GetSeq(int row) {
    CheckRow(row);
    return rows_[static_cast<size_t>(row)];
}

const TSeq& TCodeNet::GetSeq(int row) const {
    CheckRow(row);
    return rows_[static_cast<size_t>(row)];
}

int TCodeNet::GetNum(int row, int pos) const { return GetSeq(row).GetNum(pos); }

void TCodeNet::SetNum(int row, int pos, int value) {
    TSeq& draw = GetSeq(row);
    if (!NumberMisfit(game_, pos, value).empty()) {
        throw Exception("TSeq.SetNum Error!");
    }
    const TSeq before = draw;
    draw.SetNum(pos, value);
    Edited(EditOf(TNetEdit::TKind::Set, row, before));
}

void TCodeNet::SetSeq(int row, const TSeq& draw) {
    TSeq& stored = GetSeq(row);
    const TSeq before = stored;
    CountLabel(stored, -1);
    stored = draw;
    stored.Selected = before.Selected;
    CountLabel(stored, 1);
    Edited(EditOf(TNetEdit::TKind::Set, row, before));
}

void TCodeNet::SetSelected(int row, bool value) {
    GetSeq(row).Selected = value;
    Changed(EditOf(TNetEdit::TKind::Marks, row));
}

void TCodeNet::SetLabelDate(int row, TLabel label, TDrawDate date) {
    TSeq& draw = GetSeq(row);
    const TSeq before = draw;
    CountLabel(draw, -1);
    draw.SetLabel(label);
    draw.SetDate(date);
    CountLabel(draw, 1);
    Edited(EditOf(TNetEdit::TKind::Set, row, before));
}

int TCodeNet::LabelledCount() const { return Count() - labelWidths_[0]; }

int TCodeNet::WidestLabel() const {
    for (int width = TLabel::MaxDigits; width > 0; --width) {
        if (labelWidths_[static_cast<size_t>(width)] > 0) {
            return width;
        }
    }
    return 0;
}

void TCodeNet::CountLabel(const TSeq& draw, int delta) {
    labelWidths_[draw.dateAndWidth_ & TSeq::kWidthMask] += delta;
}

void TCodeNet::CountLabels() {
    labelWidths_.fill(0);
    for (const TSeq& draw : rows_) {
        CountLabel(draw, 1);
    }
}

int TCodeNet::Add() {
    CheckDrawCount(rows_.size() + 1);
    TSeq draw;
    if (!rows_.empty()) {
        if (const std::optional<TLabel> next = NextLabel(rows_.back().GetLabel())) {
            draw.SetLabel(*next);
        }
    }
    rows_.push_back(draw);
    CountLabel(draw, 1);
    Edited(EditOf(TNetEdit::TKind::Inserted, Count() - 1));
    return Count() - 1;
}

int TCodeNet::Insert(int row) {
    if (row < 0 || row >= Count()) {
        throw Exception("TCodeNet.Insert Error!");
    }
    InsertSeq(row, TSeq());
    return row;
}

void TCodeNet::InsertSeq(int row, const TSeq& draw) {
    if (row < 0 || row > Count()) {
        throw Exception("TCodeNet.Insert Error!");
    }
    CheckDrawCount(rows_.size() + 1);
    rows_.insert(rows_.begin() + row, draw);
    CountLabel(draw, 1);
    Edited(EditOf(TNetEdit::TKind::Inserted, row));
}

void TCodeNet::Delete(int row) {
    CheckRow(row);
    const TSeq before = rows_[static_cast<size_t>(row)];
    CountLabel(rows_[static_cast<size_t>(row)], -1);
    rows_.erase(rows_.begin() + row);
    Edited(EditOf(TNetEdit::TKind::Removed, row, before));
}

void TCodeNet::Clear() { Replace({}); }

bool TCodeNet::FitsGame(const TSeq& draw, TGame game) {
    switch (game) {
        case TGame::Seven:
            return draw.digits_[6] <= 9;
        case TGame::Qxc:
            return draw.digits_[6] <= TSeq::MaxLastNumber;
        case TGame::Pl5:
            return (draw.digits_[5] | draw.digits_[6]) == 0;
    }
    return false;
}

bool TCodeNet::AllFit(const std::vector<TSeq>& rows, TGame game) {
    return std::all_of(rows.begin(), rows.end(),
                       [game](const TSeq& draw) { return FitsGame(draw, game); });
}

void TCodeNet::CheckFits(const std::vector<TSeq>& rows, TGame game) {
    if (AllFit(rows, game)) {
        return;
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        if (const std::string misfit = DrawMisfit(rows[row], game); !misfit.empty()) {
            throw Exception("第" + std::to_string(row + 1) + "期的" + misfit);
        }
    }
}

void TCodeNet::SetGame(TGame game) {
    if (game == game_) {
        return;
    }
    CheckFits(rows_, game);
    TNetEdit edit = EditOf(TNetEdit::TKind::Game);
    edit.OldGame = game_;
    game_ = game;
    Edited(edit);
}

void TCodeNet::Replace(std::vector<TSeq> rows) { Replace(std::move(rows), game_); }

void TCodeNet::Replace(std::vector<TSeq> rows, TGame game) {
    CheckDrawCount(rows.size());
    CheckFits(rows, game);
    const TGame oldGame = game_;
    game_ = game;
    rows_.swap(rows);
    CountLabels();
    modified_ = true;
    WholeChanged(rows, oldGame);
}

void TCodeNet::SwapRows(std::vector<TSeq>& rows, TGame& game) {
    rows_.swap(rows);
    std::swap(game_, game);
    CountLabels();
    modified_ = true;
    WholeChanged(rows, game);
}

std::shared_ptr<const TCodeNet> SnapshotOf(const TCodeNet& net) {
    auto copy = std::make_shared<TCodeNet>();
    copy->Replace(net.Rows(), net.Game());
    return copy;
}

void TCodeNet::SelectAll() {
    for (TSeq& draw : rows_) {
        draw.Selected = true;
    }
    Changed(EditOf(TNetEdit::TKind::Marks));
}

void TCodeNet::InvertSelection() {
    for (TSeq& draw : rows_) {
        draw.Selected = !draw.Selected;
    }
    Changed(EditOf(TNetEdit::TKind::Marks));
}

void TCodeNet::SetSelRange(int a, int b, bool value) {
    const int last = Count() - 1;
    const int from = std::max(0, std::min(std::min(a, b), last));
    const int to = std::min(std::max(a, b), last);
    for (int row = from; row <= to; ++row) {
        rows_[static_cast<size_t>(row)].Selected = value;
    }
    Changed(EditOf(TNetEdit::TKind::Marks));
}

void TCodeNet::WriteBlock(ByteWriter& out) const {
    out.Reserve(4 + rows_.size() * StoredDrawSize);
    out.WriteI32(Count());
    for (const TSeq& draw : rows_) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            out.WriteI32(draw.GetNum(pos));
        }
    }
}

bool TCodeNet::HasLabelsOrDates() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const TSeq& draw) { return draw.dateAndWidth_ != 0; });
}

void TCodeNet::WriteLabelSection(ByteWriter& out) const {
    out.Reserve(4 + rows_.size() * StoredLabelSize);
    out.WriteI32(Count());
    for (const TSeq& draw : rows_) {
        out.WriteU8(static_cast<uint8_t>(draw.dateAndWidth_ & TSeq::kWidthMask));
        out.WriteI32(static_cast<int32_t>(draw.labelValue_));
        out.WriteI32(static_cast<int32_t>(draw.dateAndWidth_ >> TSeq::kWidthBits));
    }
}

void TCodeNet::ReadLabelSection(ByteReader& in, std::vector<TSeq>& rows) {
    const size_t countOffset = in.Offset();
    const int32_t count = in.ReadI32();
    if (count < 0 || static_cast<size_t>(count) != rows.size()) {
        throw EReadError("Labels at byte " + std::to_string(countOffset) + " are for " +
                         std::to_string(count) + " draws, but the table has " +
                         std::to_string(rows.size()));
    }
    const size_t start = in.Offset();
    const std::string_view stored = in.ReadBytes(rows.size() * StoredLabelSize);
    // One pass without branches stores every entry and notes whether any
    // is out of range; only then is the first such entry looked for.
    bool spoiled = false;
    for (size_t row = 0; row < rows.size(); ++row) {
        const char* const entry = stored.data() + row * StoredLabelSize;
        const auto width = static_cast<uint8_t>(entry[0]);
        const auto value = static_cast<uint32_t>(StoredValue(entry + 1));
        const auto date = static_cast<uint32_t>(StoredValue(entry + 5));
        spoiled |= (width > TLabel::MaxDigits) | (value >= kLabelBounds[width & TSeq::kWidthMask]) |
                   (date > TDrawDate::MaxDayNumber);
        TSeq& draw = rows[row];
        draw.labelValue_ = value;
        draw.dateAndWidth_ = date << TSeq::kWidthBits | (width & TSeq::kWidthMask);
    }
    if (spoiled) {
        RefuseLabels(stored, start);
    }
}

void TCodeNet::SaveToStream(ByteWriter& out) {
    WriteBlock(out);
    modified_ = false;
}

// The block goes through in runs of a few thousand draws, small enough to
// stay in the processor's cache: first every value of a run is checked and
// narrowed to a byte in one simple loop over the values (the compiler runs
// it on many at once), then the run's draws take their digits from those
// bytes, and the run reaches the table in one large copy. The table is
// never filled with zeros first.
void TCodeNet::DecodeDraws(std::string_view block, size_t blockOffset, std::vector<TSeq>& rows,
                           int lastMax) {
    const size_t runDraws = std::min<size_t>(4096, block.size() / StoredDrawSize);
    const auto digitBuffer = std::make_unique<uint8_t[]>(runDraws * TSeq::DigitCount);
    const auto runBuffer = std::make_unique<TSeq[]>(runDraws);
    // Plain pointers: a store through a byte pointer could change a
    // container's own fields, which would keep the loops from running wide.
    uint8_t* const digits = digitBuffer.get();
    TSeq* const run = runBuffer.get();
    for (size_t start = 0; start < block.size(); start += runDraws * StoredDrawSize) {
        const char* const stored = block.data() + start;
        const size_t draws = std::min(runDraws, (block.size() - start) / StoredDrawSize);
        const size_t values = draws * TSeq::DigitCount;
        uint32_t outside = 0;
        for (size_t i = 0; i < values; ++i) {
            const auto value = static_cast<uint32_t>(StoredValue(stored + 4 * i));
            outside |= NonDigitBits(value);
            digits[i] = static_cast<uint8_t>(value);
        }
        // A last number above 9 (七星彩's) is looked at again, by position.
        if (outside != 0) {
            RefuseNonDigit(stored, values, blockOffset + start, lastMax);
        }
        for (size_t draw = 0; draw < draws; ++draw) {
            std::memcpy(run[draw].digits_, digits + draw * TSeq::DigitCount, TSeq::DigitCount);
        }
        rows.insert(rows.end(), run, run + draws);
    }
}

std::optional<std::vector<TSeq>> TCodeNet::ReadBlockFromFile(TFileReader& file) {
    char countBytes[4];
    if (file.Read(countBytes, sizeof countBytes) < sizeof countBytes) {
        return std::nullopt;
    }
    const int32_t count = ByteReader(std::string_view(countBytes, sizeof countBytes)).ReadI32();
    const size_t blockBytes = static_cast<size_t>(std::max(count, 0)) * StoredDrawSize;
    if (count < 0 || file.SizeWhenOpened() < sizeof countBytes + blockBytes) {
        return std::nullopt;
    }
    // Pieces of a whole number of draws, well inside the processor's cache.
    constexpr size_t kPieceBytes = size_t{StoredDrawSize} * 8192;
    std::string piece(std::min(kPieceBytes, blockBytes), '\0');
    std::vector<TSeq> rows;
    rows.reserve(static_cast<size_t>(count));
    for (size_t done = 0; done < blockBytes;) {
        const size_t bytes = std::min(piece.size(), blockBytes - done);
        // The file was cut short while it was read.
        if (file.Read(piece.data(), bytes) < bytes) {
            return std::nullopt;
        }
        DecodeDraws(std::string_view(piece.data(), bytes), sizeof countBytes + done, rows,
                    TSeq::MaxLastNumber);
        done += bytes;
    }
    return rows;
}

std::vector<TSeq> TCodeNet::TakeRows() {
    std::vector<TSeq> rows;
    rows.swap(rows_);
    CountLabels();
    WholeChanged(rows, game_);
    return rows;
}

void TCodeNet::LoadFromStream(ByteReader& in) {
    const size_t countOffset = in.Offset();
    const int32_t count = in.ReadI32();
    if (count < 0 || static_cast<uint64_t>(count) * StoredDrawSize > in.Remaining()) {
        throw EReadError("Draw table at byte " + std::to_string(countOffset) + " announces " +
                         std::to_string(count) + " draws, but only " +
                         std::to_string(in.Remaining()) + " bytes follow");
    }
    // The count is checked against the bytes that follow, so the block is
    // taken in one read and its draws decoded straight from it into a table
    // of exactly that size: a million draws are seven million values.
    const size_t blockOffset = in.Offset();
    const std::string_view block = in.ReadBytes(static_cast<size_t>(count) * StoredDrawSize);
    std::vector<TSeq> rows;
    rows.reserve(static_cast<size_t>(count));
    DecodeDraws(block, blockOffset, rows, MaxNumber(game_, TSeq::DigitCount - 1));
    CheckBlockGame(rows, game_, countOffset);
    rows_.swap(rows);
    CountLabels();
    modified_ = false;
    WholeChanged(rows, game_);
}

void TCodeNet::CheckBlockGame(const std::vector<TSeq>& rows, TGame game, size_t blockOffset) {
    if (AllFit(rows, game)) {
        return;
    }
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
            const int value = rows[row].GetNum(pos);
            if (!NumberMisfit(game, pos, value).empty()) {
                RefuseStoredDigit(
                    value,
                    blockOffset + 4 + (row * TSeq::DigitCount + static_cast<size_t>(pos)) * 4);
            }
        }
    }
}

std::string TCodeNet::ExportText() const {
    const int count = NumberCount(game_);
    for (size_t row = 0; row < rows_.size(); ++row) {
        const int last = rows_[row].GetNum(count - 1);
        if (last > 9) {
            throw Exception("第" + std::to_string(row + 1) + "期的第" + std::to_string(count) +
                            "个号码是" + std::to_string(last) +
                            "，文本文件每个号码只有一位数字。请用“导出开奖数据”导出。");
        }
    }
    std::string header;
    header += ";开奖码表导出\r\n";
    header += ";总共" + IntToStr(Count()) + "期\r\n";
    header += ";" + DateText(Now()) + "\r\n";
    header += ";" + std::string(48, '=') + "\r\n";
    std::string text = Utf8ToGbk(header);
    text.reserve(text.size() + rows_.size() * static_cast<size_t>(count + 2));
    for (const TSeq& draw : rows_) {
        for (int pos = 0; pos < count; ++pos) {
            text += static_cast<char>('0' + draw.GetNum(pos));
        }
        text += "\r\n";
    }
    return text;
}

void TCodeNet::ExportToText(const std::string& path) const {
    if (PathExists(path) && !CanReplaceFile(path)) {
        throw Exception("原有的文件删除失败！\r\n可能正在被其它程序使用！");
    }
    WriteFileAtomically(path, ExportText());
}

void TCodeNet::ImportFromText(const std::string& path) {
    if (!FileExists(path)) {
        return;
    }
    Replace(ParseDrawText(ReadWholeFile(path), NumberCount(game_)));
}

TNetChange TNetEdit::Change() const {
    // A new game changes the grid's columns, as new rows change its extent.
    return Kind == TKind::Set || Kind == TKind::Marks ? TNetChange::Cells : TNetChange::Rows;
}

int TCodeNet::Subscribe(Listener listener) {
    return listeners_.Add(
        [listener = std::move(listener)](const TNetEdit& edit) { listener(edit.Change()); });
}

int TCodeNet::SubscribeEdits(EditListener listener) { return listeners_.Add(std::move(listener)); }

void TCodeNet::Unsubscribe(int token) { listeners_.Remove(token); }

void TCodeNet::Changed(const TNetEdit& edit) { listeners_.Notify(edit); }

void TCodeNet::Edited(const TNetEdit& edit) {
    modified_ = true;
    Changed(edit);
}

void TCodeNet::WholeChanged(const std::vector<TSeq>& old, TGame oldGame) {
    TNetEdit edit = EditOf(TNetEdit::TKind::Whole);
    edit.Old = &old;
    edit.OldGame = oldGame;
    Changed(edit);
}

bool SameDigits(const TSeq& a, const TSeq& b) {
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        if (a.GetNum(pos) != b.GetNum(pos)) {
            return false;
        }
    }
    return true;
}

std::string NumbersText(const TSeq& draw, TGame game) {
    const int count = NumberCount(game);
    const bool blanks = draw.GetNum(count - 1) > 9;
    std::string text;
    for (int pos = 0; pos < count; ++pos) {
        if (blanks && pos > 0) {
            text += ' ';
        }
        const int value = draw.GetNum(pos);
        if (value > 9) {
            text += '1';
        }
        text += static_cast<char>('0' + value % 10);
    }
    return text;
}

std::string DrawMisfit(const TSeq& draw, TGame game) {
    for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
        if (std::string misfit = NumberMisfit(game, pos, draw.GetNum(pos)); !misfit.empty()) {
            return misfit;
        }
    }
    return {};
}

std::vector<TSeq> ParseDrawText(std::string_view bytes, int count) {
    // A UTF-16 text has a NUL byte beside every ASCII character, and its
    // digits would make draws of whatever pairs the scan found.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
        bytes.find('\0') != std::string_view::npos) {
        throw EReadError(std::string(kNotDrawTextText));
    }
    // Editors put a byte-order mark before a UTF-8 text; it is no draw.
    constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(utf8Mark)) {
        bytes.remove_prefix(utf8Mark.size());
    }
    std::vector<TSeq> rows;
    size_t begin = 0;
    while (begin <= bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = Trim(bytes.substr(begin, end - begin));
        if (!IsComment(line)) {
            rows.push_back(DrawOfLine(line, count));
        }
        begin = end + 1;
    }
    return rows;
}

}  // namespace tovarin
