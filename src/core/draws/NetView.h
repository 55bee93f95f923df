#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/base/Errors.h"

namespace tovarin {

class TCodeNet;

// The grid's own error: a scroll position the grid cannot show.
class ECodeNetErr : public Exception {
public:
    using Exception::Exception;
};

// A rectangle as the grid measures it: Right and Bottom are one past the
// last pixel, so a cell (2, 2, 24, 40) covers 22 × 38 pixels.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    TRect Moved(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Intersected(const TRect& other) const;
    TRect United(const TRect& other) const;
    bool operator==(const TRect&) const = default;
};

enum THitRegion { rtNone, rtSel, rtHead, rtNum };

// What a column of the grid shows: the check mark, the period (row + 1),
// the lottery's label (only while some draw has one), the sum, a digit.
enum class TNetCol { Sel, Period, Label, Sum, Digit };

struct TNetColumn {
    TNetCol Kind = TNetCol::Sel;
    int Width = 0;
    bool operator==(const TNetColumn&) const = default;
};

struct THit {
    THitRegion Region = rtNone;
    int Line = 0;
    int Col = 0;
    bool operator==(const THit&) const = default;
};

enum class TNetKey { PageDown, PageUp, Left, Right, Up, Down, Home, End, Enter };

enum class TScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbTrack,
    ThumbPosition,
    Top,
    Bottom,
    EndScroll
};

// The view side of the draw-table grid, free of any window system: the
// geometry, the cell cursor, hit testing, selection, keys, typed digits,
// scrolling and the digit search. The widget only paints what this says and
// forwards its events here. Lines are visible line slots (0 = the first line
// under the header); rows are table rows; row = TopRow + line.
class TNetView {
public:
    static constexpr int GridLine = 1;
    static constexpr int HeaderHeight = 23;
    static constexpr int RowHeight = 20;
    static constexpr int BottomMargin = 9;
    static constexpr int SelWidth = 24;
    // The width of every other column, unless a 期 or 期号 text needs more.
    static constexpr int CellWidth = 48;
    // The header's width with the columns 选, 期, 合 and A to G, as the
    // editor window's width was made for.
    static constexpr int StandardHeaderWidth = SelWidth + 9 * CellWidth + 10 * GridLine;

    explicit TNetView(TCodeNet& net);
    ~TNetView();
    TNetView(const TNetView&) = delete;
    TNetView& operator=(const TNetView&) = delete;

    TCodeNet& Net() { return net_; }
    const TCodeNet& Net() const { return net_; }

    // Raised after every key, scroll, layout or row-list change; Repaint
    // after changes of digits or check marks that move nothing.
    std::function<void()> OnChange;
    std::function<void()> OnRepaint;

    // Geometry. The columns follow the table: 期 and 期号 grow to their
    // widest text (at digitPixels a digit), 期号 is there only while a
    // draw has a label.
    void SetDigitPixels(int digitPixels);
    int ColCount() const { return static_cast<int>(columns_.size()); }
    const TNetColumn& Column(int col) const;
    std::string ColTitle(int col) const;
    int DigitCols() const { return digitCols_; }
    int HeaderWidth() const;
    void SetClientSize(int width, int height);
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void Layout();
    int LeftOfHead(int col) const;
    bool CellRect(int line, int col, TRect& rect) const;
    TRect HeadCell(int col) const;
    TRect SelCell(int line) const;
    // The cell of a column before the digits (期, 期号, 合) on a line.
    TRect InfoCell(int line, int col) const;
    // Whether the grid line above a visible line is drawn thick: the line
    // above periods 1, 5, 9, ... groups the draws by four.
    bool ThickLineAbove(int line) const;
    THit HitTest(int x, int y) const;
    // The table row of a line at this height, or -1 above the lines.
    int RowAt(int y) const;

    const TRect& ContentRect() const { return content_; }
    const TRect& HeaderBand() const { return headerBand_; }
    const TRect& SelBand() const { return selBand_; }
    const TRect& FirstSelCell() const { return firstSel_; }
    const TRect& DigitBand() const { return digitBand_; }
    const TRect& FirstDigitCell() const { return firstDigit_; }

    // State.
    int TopRow() const { return topRow_; }
    int VisibleRows() const { return visibleRows_; }
    int CursorCol() const { return cursorCol_; }
    int CursorRow() const { return cursorRow_; }
    int CursorTableRow() const { return topRow_ + cursorRow_; }
    int SelAnchor() const { return selAnchor_; }
    int ScrollMax() const { return scrollMax_; }
    bool AutoAdvance = true;

    // Input.
    void MouseDown(int x, int y, bool shift, bool alt);
    void Key(TNetKey key, bool shift = false, bool alt = false);
    // A typed character; false when it is not a digit (the caller beeps).
    // Each cell takes the game's numbers: in 七星彩's last column a 1 stays
    // there until the next character, which makes 10 to 14 of it when it is
    // 0 to 4, or else goes on as the next cell's (any key or click ends the
    // wait and keeps the 1), so a player types "12345614" without a pause.
    bool TypeChar(char c);
    // Whether a 1 in 七星彩's last column waits for a second digit.
    bool AwaitsSecondDigit() const { return pendingTen_; }
    void Scroll(TScrollCode code, int thumbPos = 0);
    // Applies a scroll position as the scroll bar reported it.
    void ApplyScrollPos(int position);
    void ScrollToRow(int row);
    // Scrolls to the end of the table and puts the cursor on column A of
    // the append line, where the next draw is typed.
    void ShowAppendLine();
    // Searches the rows after the cursor; true when it moved to a match.
    bool FindNext(std::string_view text);
    // The selection rule for a click or Enter on a visible line.
    void SelectLine(int line, bool shift, bool alt);

private:
    using Posted = std::variant<TScrollCode, TNetKey>;

    // A request posted to the grid itself runs after the input that posted
    // it is handled, in the order of posting.
    void Post(Posted request);
    void RunPosted();
    void HandleKey(TNetKey key, bool shift, bool alt);
    // Fits the columns to the table; whether they changed.
    bool FitColumns();
    int TextWidth(int digits) const;
    // Moves on after a typed number, when AutoAdvance says so.
    bool Advanced();
    bool OnLastVisibleLine() const { return cursorRow_ >= visibleRows_ - 1; }
    void Raise(const std::function<void()>& event) const;

    TCodeNet& net_;
    int listenerToken_ = 0;
    std::vector<TNetColumn> columns_;
    int digitCols_ = 0;
    int digitPixels_ = 8;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int topRow_ = 0;
    int visibleRows_ = 10;
    int cursorCol_ = 0;
    int cursorRow_ = 0;
    int selAnchor_ = 0;
    int scrollMax_ = 0;
    TRect content_;
    TRect headerBand_;
    TRect selBand_;
    TRect firstSel_;
    TRect digitBand_;
    TRect firstDigit_;
    bool pendingTen_ = false;
    int tenRow_ = 0;
    std::deque<Posted> posted_;
    bool draining_ = false;
};

// What the grid tells about a row beyond its cells: "第361期  期号2026150
// 开奖日期2026-12-06", without the parts the draw does not have.
std::string RowInfoText(const TCodeNet& net, int row);

// Whether the find text matches the seven digits starting at some place:
// a digit must be equal, any other character stands for any digit.
bool DigitsMatch(std::string_view digits, std::string_view findText);

}  // namespace tovarin
