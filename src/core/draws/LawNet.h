#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Listeners.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
class TFileReader;

// One draw: seven digits 0..9 and the check mark of the grid's 选 column.
// Digits are kept in single bytes so that a table of a million draws stays
// small; the interface speaks int as the stored block does.
class TSeq {
public:
    static constexpr int DigitCount = 7;

    int GetNum(int pos) const;
    void SetNum(int pos, int value);
    // The sum of the first four digits (head to tail), 0..36.
    int GetSum() const;
    // The same draw as far as the document goes: every stored field. The
    // check mark is the grid's, no part of the document.
    bool SameDraw(const TSeq& other) const;

    bool Selected = false;

private:
    // The table decodes its stored block straight into the digits, after
    // checking a whole run of them at once.
    friend class TCodeNet;

    uint8_t digits_[DigitCount] = {};
};

// The most draws a table holds. At 28 bytes a draw in the stored block a
// full table is 448 MiB, far below the 1 GB every reader takes in, with room
// for a label and a date per draw and for the projects.
inline constexpr int kMaxDraws = 1 << 24;

// A change that would leave the table with more than kMaxDraws draws;
// nothing was changed.
class ETooManyDraws : public Exception {
public:
    explicit ETooManyDraws(size_t draws);
    size_t Draws() const { return draws_; }

private:
    size_t draws_;
};

// Raises ETooManyDraws when a table of this many draws would pass the bound;
// a change asks before it builds or touches anything.
void CheckDrawCount(size_t draws);

// What a change notification tells the listeners.
enum class TNetChange {
    Rows,   // the row list changed: rows were added, removed or replaced
    Cells,  // digits or check marks changed; the rows are the same
};

// One change in the detail a listener needs to take it back (the undo
// history): which row, and what the table held before.
struct TNetEdit {
    enum class TKind : uint8_t {
        Set,       // row Row holds another draw; Before is the draw it held
        Inserted,  // a row was put in at Row (at the end, for Add)
        Removed,   // row Row was taken out; Before is the draw it held
        Whole,     // every row at once (replaced, cleared, loaded); *Old held before
        Marks,     // check marks only: the document is the same
    };

    TKind Kind = TKind::Marks;
    int Row = -1;
    TSeq Before;
    // Whole: the rows before, alive while the listeners are told.
    const std::vector<TSeq>* Old = nullptr;

    // What a listener of plain changes hears of it.
    TNetChange Change() const;
};

// The draw table: one row per draw, oldest first. Periods are not stored:
// the row at index i is period i + FirstPeriod(), and nothing else converts
// between periods and rows.
class TCodeNet {
public:
    using Listener = std::function<void(TNetChange)>;
    using EditListener = std::function<void(const TNetEdit&)>;

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
    // Puts a whole draw in place of the one at row; its check mark stays.
    void SetSeq(int row, const TSeq& draw);

    // Adding or inserting a row at kMaxDraws raises ETooManyDraws, and so
    // does a replacement of more rows.
    int Add();
    int Insert(int row);
    // Puts a draw in at row, 0..Count() (Count(): after the last).
    void InsertSeq(int row, const TSeq& draw);
    void Delete(int row);
    void Clear();
    // Puts these draws in place of every row (the download does this).
    void Replace(std::vector<TSeq> rows);
    // Exchanges every row with rows: the table takes them and hands its
    // own back in rows (the undo history goes back and forth this way).
    void SwapRows(std::vector<TSeq>& rows);
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

    // Listeners hear of every change after it is made; the token removes
    // the listener again. Both kinds of listener share the tokens.
    int Subscribe(Listener listener);
    int SubscribeEdits(EditListener listener);
    void Unsubscribe(int token);

private:
    // Appends the draws of a stored block whose size is a whole number of
    // draws; blockOffset, where the block starts in the image, names a value
    // outside 0..9 in the EReadError.
    static void DecodeDraws(std::string_view block, size_t blockOffset, std::vector<TSeq>& rows);
    void CheckRow(int row) const;
    void Changed(const TNetEdit& edit);
    // A change of the document's rows (not of check marks alone).
    void Edited(const TNetEdit& edit);
    // Every row replaced: the rows before are in old.
    void WholeChanged(const std::vector<TSeq>& old);

    std::vector<TSeq> rows_;
    bool modified_ = false;
    TListeners<const TNetEdit&> listeners_;
};

// A table of the same draws that nobody listens to and nobody changes: what
// a worker thread reads while the user goes on editing the real one.
std::shared_ptr<const TCodeNet> SnapshotOf(const TCodeNet& net);

// Why a draw list was refused: UTF-16 or other bytes that are no text.
inline constexpr std::string_view kNotDrawTextText =
    "导入的文件不是 GBK 或 UTF-8 文本（可能是 UTF-16 编码），请另存为 GBK 或 UTF-8 编码后再导入。";

// The draws of a text file's bytes: comment and blank lines are skipped,
// every other line gives a draw of the first seven digits it holds. A UTF-8
// byte-order mark at the start is skipped; a text with a UTF-16 mark or any
// NUL byte raises EReadError with kNotDrawTextText.
std::vector<TSeq> ParseDrawText(std::string_view bytes);

}  // namespace tovarin
