#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/Listeners.h"
#include "core/draws/DrawLabel.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
class TFileReader;

// One draw: seven digits 0..9, the check mark of the grid's 选 column, and
// the lottery's label and date when they are known. Everything is kept in
// 16 bytes so that a table of a million draws stays small, and every row
// operation (insert, delete, replace, a copy kept for undo) carries the
// label and date along; the interface speaks int as the stored block does.
class TSeq {
public:
    static constexpr int DigitCount = 7;

    int GetNum(int pos) const;
    void SetNum(int pos, int value);
    // The sum of the first four digits (head to tail), 0..36.
    int GetSum() const;

    TLabel GetLabel() const;
    void SetLabel(TLabel label);
    TDrawDate GetDate() const;
    void SetDate(TDrawDate date);

    bool Selected = false;

private:
    // The table decodes its stored block straight into the digits, after
    // checking a whole run of them at once.
    friend class TCodeNet;

    static constexpr uint32_t kWidthBits = 4;
    static constexpr uint32_t kWidthMask = (1U << kWidthBits) - 1;

    uint8_t digits_[DigitCount] = {};
    uint32_t labelValue_ = 0;
    // The date's day number (0 for none) above the label's width (0 for none).
    uint32_t dateAndWidth_ = 0;
};

static_assert(sizeof(TSeq) <= 16, "a million draws must stay within 16 MB");

// What a change notification tells the listeners.
enum class TNetChange {
    Rows,   // the row list changed: rows were added, removed or replaced
    Cells,  // digits or check marks changed; the rows are the same
};

// The draw table: one row per draw, oldest first. Periods are not stored:
// the row at index i is period i + FirstPeriod(), and nothing else converts
// between periods and rows.
class TCodeNet {
public:
    using Listener = std::function<void(TNetChange)>;

    TCodeNet() = default;
    TCodeNet(const TCodeNet&) = delete;
    TCodeNet& operator=(const TCodeNet&) = delete;

    int Count() const { return static_cast<int>(rows_.size()); }
    int FirstPeriod() const { return 1; }
    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }

    const std::vector<TSeq>& Rows() const { return rows_; }
    TSeq& GetSeq(int row);
    const TSeq& GetSeq(int row) const;
    int GetNum(int row, int pos) const;
    // A digit typed into the grid: stores it and marks the table modified.
    void SetNum(int row, int pos, int value);
    void SetSelected(int row, bool value);
    // A row's label and date as the player corrects them.
    void SetLabelDate(int row, TLabel label, TDrawDate date);

    // How many rows have a label, and the widest label's digits (0 when
    // none has one): the grid sizes its 期号 column by them.
    int LabelledCount() const;
    int WidestLabel() const;

    // Appends an empty draw; below a labelled draw it takes the next label
    // (NextLabel), since a typed draw is the one after the last.
    int Add();
    int Insert(int row);
    void Delete(int row);
    void Clear();
    // Puts these draws in place of every row (the download does this).
    void Replace(std::vector<TSeq> rows);
    // Hands every row over and leaves the table empty (a table read as a
    // draft gives its rows to the real one this way).
    std::vector<TSeq> TakeRows();

    void SelectAll();
    void InvertSelection();
    // Rows min(a,b)..max(a,b), both ends clipped to the table.
    void SetSelRange(int a, int b, bool value);

    // The draw-table block: N, then seven 32-bit digits per draw.
    void SaveToStream(ByteWriter& out);
    // The same block without clearing Modified, for a document image that
    // may still fail to reach the disk.
    void WriteBlock(ByteWriter& out) const;
    // Reads a whole block before it touches the table: a short or corrupt
    // block raises EReadError and leaves the rows as they were.
    void LoadFromStream(ByteReader& in);
    // The block at the start of a document file, its draws decoded piece
    // by piece as they are read, while each piece is still in the
    // processor's cache. Nothing when the file does not hold the draws its
    // count announces (LoadFromStream, given the whole file, then says
    // what is wrong); EReadError for a digit outside 0..9, as there.
    static std::optional<std::vector<TSeq>> ReadBlockFromFile(TFileReader& file);

    // The text form: four comment lines and one line of seven digits per
    // draw, GB2312 with CR LF.
    std::string ExportText() const;
    void ExportToText(const std::string& path) const;
    // A missing file does nothing; a file that cannot be read raises
    // EInOutError and leaves the table as it was.
    void ImportFromText(const std::string& path);

    // The labels-and-dates section of the document's extension, needed
    // when a row has a label or a date: the row count, then for each row
    // its label's width (1 byte, 0 for none), the label's value (4) and the
    // date's day number (4, 0 for none; TDrawDate).
    bool HasLabelsOrDates() const;
    void WriteLabelSection(ByteWriter& out) const;
    // Gives rows the labels and dates of a section read whole from in;
    // EReadError naming the byte for a count that is not the rows', a
    // width above 9, a value wider than its width or a day after 9999. The
    // readers of documents pass rows of their own, read from the same
    // file, which a failure leaves to be thrown away.
    static void ReadLabelSection(ByteReader& in, std::vector<TSeq>& rows);

    // Listeners hear of every change after it is made; the token removes
    // the listener again.
    int Subscribe(Listener listener);
    void Unsubscribe(int token);

private:
    // Appends the draws of a stored block whose size is a whole number of
    // draws; blockOffset, where the block starts in the image, names a value
    // outside 0..9 in the EReadError.
    static void DecodeDraws(std::string_view block, size_t blockOffset, std::vector<TSeq>& rows);
    void CheckRow(int row) const;
    void Changed(TNetChange change);
    void CountLabels();
    void CountLabel(const TSeq& draw, int delta);

    std::vector<TSeq> rows_;
    // Rows by their label's width: [0] the rows without one.
    std::array<int, TLabel::MaxDigits + 1> labelWidths_{};
    bool modified_ = false;
    TListeners<TNetChange> listeners_;
};

// Whether two draws have the same numbers, whatever their labels and dates.
bool SameDigits(const TSeq& a, const TSeq& b);

// A draw's numbers as a player reads them: "3581290".
std::string NumbersText(const TSeq& draw);

// Why a draw list was refused: UTF-16 or other bytes that are no text.
inline constexpr std::string_view kNotDrawTextText =
    "导入的文件不是 GBK 或 UTF-8 文本（可能是 UTF-16 编码），请另存为 GBK 或 UTF-8 编码后再导入。";

// The draws of a text file's bytes: comment and blank lines are skipped,
// every other line gives a draw of the first seven digits it holds. A UTF-8
// byte-order mark at the start is skipped; a text with a UTF-16 mark or any
// NUL byte raises EReadError with kNotDrawTextText.
std::vector<TSeq> ParseDrawText(std::string_view bytes);

}  // namespace tovarin
