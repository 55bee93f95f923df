#pragma once

#include <array>
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
#include "core/draws/DrawLabel.h"
#include "core/draws/Game.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
class TFileReader;

// One draw: seven numbers (digits 0..9, the last 0..14 for 七星彩; which
// a table takes is its game's rule), the check mark of the grid's 选 column, and
// the lottery's label and date when they are known. Everything is kept in
// 16 bytes so that a table of a million draws stays small, and every row
// operation (insert, delete, replace, a copy kept for undo) carries the
// label and date along; the interface speaks int as the stored block does.
class TSeq {
public:
    static constexpr int DigitCount = 7;
    // The largest last number any game has (七星彩's).
    static constexpr int MaxLastNumber = 14;

    int GetNum(int pos) const;
    void SetNum(int pos, int value);
    // The sum of the first four digits (head to tail), 0..36.
    int GetSum() const;
    // The same draw as far as the document goes: every stored field. The
    // check mark is the grid's, no part of the document.
    bool SameDraw(const TSeq& other) const;

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

static_assert(sizeof(TSeq) <= 16, "a million draws must stay within 16 MB");

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
        Game,      // the game alone changed
    };

    TKind Kind = TKind::Marks;
    int Row = -1;
    TSeq Before;
    // Whole: the rows before, alive while the listeners are told.
    const std::vector<TSeq>* Old = nullptr;
    // Whole and Game: the game before.
    TGame OldGame = TGame::Seven;

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
    // The game the table keeps (TGame); every row fits it.
    TGame Game() const { return game_; }
    // Switches the game; Exception naming the first draw that does not fit
    // the new one ("第361期的第7个号码是14，七位数每位只能是0-9"), the table
    // unchanged.
    void SetGame(TGame game);
    TSeq& GetSeq(int row);
    const TSeq& GetSeq(int row) const;
    int GetNum(int row, int pos) const;
    // A number typed into the grid: stores it and marks the table
    // modified; Exception for a number the game does not have there.
    void SetNum(int row, int pos, int value);
    void SetSelected(int row, bool value);
    // Puts a whole draw in place of the one at row; its check mark stays.
    void SetSeq(int row, const TSeq& draw);

    // Adding or inserting a row at kMaxDraws raises ETooManyDraws, and so
    // does a replacement of more rows.

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
    // Puts a draw in at row, 0..Count() (Count(): after the last).
    void InsertSeq(int row, const TSeq& draw);
    void Delete(int row);
    void Clear();
    // Puts these draws in place of every row (the download does this), and
    // the game with them; Exception as SetGame's when a draw does not fit,
    // the table unchanged.
    void Replace(std::vector<TSeq> rows);
    void Replace(std::vector<TSeq> rows, TGame game);
    // Exchanges every row and the game with rows and game: the table takes
    // them and hands its own back (the undo history goes back and forth this way).
    void SwapRows(std::vector<TSeq>& rows, TGame& game);
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
    // block, or a number the table's game does not have, raises EReadError
    // and leaves the rows as they were.
    void LoadFromStream(ByteReader& in);
    // The rows of a block at blockOffset (where its count stands) checked
    // against a game learnt after the block was read: EReadError naming the
    // first number that does not fit, as the block's reader names it.
    static void CheckBlockGame(const std::vector<TSeq>& rows, TGame game, size_t blockOffset);
    // The block at the start of a document file, its draws decoded piece
    // by piece as they are read, while each piece is still in the
    // processor's cache. Nothing when the file does not hold the draws its
    // count announces (LoadFromStream, given the whole file, then says
    // what is wrong); EReadError for a number no game has, as there (the
    // game, stored after the block, is checked by CheckBlockGame).
    static std::optional<std::vector<TSeq>> ReadBlockFromFile(TFileReader& file);

    // The text form: four comment lines and one line of seven digits per
    // draw, GB2312 with CR LF; five digits for 排列5. A 七星彩 table with a
    // last number above 9 has no such form: Exception naming the draw.
    std::string ExportText() const;
    void ExportToText(const std::string& path) const;
    // A missing file does nothing; a file that cannot be read raises
    // EInOutError and leaves the table as it was. Each line gives the
    // game's count of digits.
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
    // the listener again. Both kinds of listener share the tokens.
    int Subscribe(Listener listener);
    int SubscribeEdits(EditListener listener);
    void Unsubscribe(int token);

private:
    // Appends the draws of a stored block whose size is a whole number of
    // draws; blockOffset, where the block starts in the image, names a value
    // outside 0..9 in the EReadError.
    // lastMax is the largest last number the reader takes.
    static void DecodeDraws(std::string_view block, size_t blockOffset, std::vector<TSeq>& rows,
                            int lastMax);
    static bool FitsGame(const TSeq& draw, TGame game);
    static bool AllFit(const std::vector<TSeq>& rows, TGame game);
    // Exception naming the first row that does not fit the game.
    static void CheckFits(const std::vector<TSeq>& rows, TGame game);
    void CheckRow(int row) const;
    void Changed(const TNetEdit& edit);
    // A change of the document's rows (not of check marks alone).
    void Edited(const TNetEdit& edit);
    // Every row replaced: the rows before are in old.
    void WholeChanged(const std::vector<TSeq>& old, TGame oldGame);
    void CountLabels();
    void CountLabel(const TSeq& draw, int delta);

    std::vector<TSeq> rows_;
    // Rows by their label's width: [0] the rows without one.
    std::array<int, TLabel::MaxDigits + 1> labelWidths_{};
    bool modified_ = false;
    TGame game_ = TGame::Seven;
    TListeners<const TNetEdit&> listeners_;
};

// A table of the same draws that nobody listens to and nobody changes: what
// a worker thread reads while the user goes on editing the real one.
std::shared_ptr<const TCodeNet> SnapshotOf(const TCodeNet& net);

// Whether two draws have the same numbers, whatever their labels and dates.
bool SameDigits(const TSeq& a, const TSeq& b);

// A draw's numbers as a player reads them: the game's count of digits
// ("3581290", "35812"), or the numbers separated by blanks when one has two
// digits ("1 2 3 4 5 6 14").
std::string NumbersText(const TSeq& draw, TGame game = TGame::Seven);
// Why a draw does not fit the game (NumberMisfit of its first misfit
// number); empty when it fits.
std::string DrawMisfit(const TSeq& draw, TGame game);

// Why a draw list was refused: UTF-16 or other bytes that are no text.
inline constexpr std::string_view kNotDrawTextText =
    "导入的文件不是 GBK 或 UTF-8 文本（可能是 UTF-16 编码），请另存为 GBK 或 UTF-8 编码后再导入。";

// The draws of a text file's bytes: comment and blank lines are skipped,
// every other line gives a draw of the first seven digits it holds (the
// first count digits, for a game of fewer numbers). A UTF-8
// byte-order mark at the start is skipped; a text with a UTF-16 mark or any
// NUL byte raises EReadError with kNotDrawTextText.
std::vector<TSeq> ParseDrawText(std::string_view bytes, int count = TSeq::DigitCount);

}  // namespace tovarin
