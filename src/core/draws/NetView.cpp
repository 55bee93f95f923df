#include "core/draws/NetView.h"

#include <algorithm>
#include <string>

#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

constexpr int L = TNetView::GridLine;
constexpr int H = TNetView::HeaderHeight;
constexpr int R = TNetView::RowHeight;
constexpr int LineStep = TNetView::RowHeight + TNetView::GridLine;
constexpr int DigitWidth = TNetView::CellWidth;
constexpr const char* DigitTitles[] = {"A", "B", "C", "D", "E", "F", "G"};

int DigitsOf(int value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

TRect TRect::Intersected(const TRect& other) const {
    const TRect cut{std::max(Left, other.Left), std::max(Top, other.Top),
                    std::min(Right, other.Right), std::min(Bottom, other.Bottom)};
    return cut.IsEmpty() ? TRect{} : cut;
}

TRect TRect::United(const TRect& other) const {
    if (IsEmpty()) {
        return other;
    }
    if (other.IsEmpty()) {
        return *this;
    }
    return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
}

TNetView::TNetView(TCodeNet& net) : net_(net) {
    FitColumns();
    listenerToken_ = net_.Subscribe([this](TNetChange change) {
        pendingTen_ = false;
        // A label edited in a cell can widen or remove the 期号 column.
        if (change == TNetChange::Rows || FitColumns()) {
            Layout();
        } else {
            Raise(OnRepaint);
        }
    });
}

void TNetView::SetDigitPixels(int digitPixels) {
    digitPixels_ = digitPixels;
    Layout();
}

int TNetView::TextWidth(int digits) const {
    // The text's digits and a margin of four pixels on either side.
    return std::max(CellWidth, digits * digitPixels_ + 8);
}

bool TNetView::FitColumns() {
    std::vector<TNetColumn> columns = {{TNetCol::Sel, SelWidth},
                                       {TNetCol::Period, TextWidth(DigitsOf(net_.Count()))}};
    if (const int widest = net_.WidestLabel(); widest > 0) {
        columns.push_back({TNetCol::Label, TextWidth(widest)});
    }
    columns.push_back({TNetCol::Sum, CellWidth});
    digitCols_ = NumberCount(net_.Game());
    cursorCol_ = std::min(cursorCol_, digitCols_ - 1);
    columns.insert(columns.end(), static_cast<size_t>(digitCols_), {TNetCol::Digit, DigitWidth});
    if (columns == columns_) {
        return false;
    }
    columns_ = std::move(columns);
    return true;
}

const TNetColumn& TNetView::Column(int col) const {
    LeftOfHead(col);
    return columns_[static_cast<size_t>(col)];
}

std::string TNetView::ColTitle(int col) const {
    switch (Column(col).Kind) {
        case TNetCol::Sel:
            return "选";
        case TNetCol::Period:
            return "期";
        case TNetCol::Label:
            return "期号";
        case TNetCol::Sum:
            return "合";
        case TNetCol::Digit:
            break;
    }
    return DigitTitles[col - (ColCount() - digitCols_)];
}

int TNetView::HeaderWidth() const {
    int width = 0;
    for (const TNetColumn& column : columns_) {
        width += column.Width + L;
    }
    return width;
}

TNetView::~TNetView() { net_.Unsubscribe(listenerToken_); }

void TNetView::Raise(const std::function<void()>& event) const {
    if (event) {
        event();
    }
}

void TNetView::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    Layout();
}

void TNetView::Layout() {
    FitColumns();
    content_ = headerBand_ = selBand_ = firstSel_ = digitBand_ = firstDigit_ = TRect{};
    visibleRows_ = 0;
    const int ch = clientHeight_;
    if (ch > L) {
        headerBand_ = {1, 1, HeaderWidth(), H};
        content_ = headerBand_;
    }
    if (ch - H > L + BottomMargin) {
        // Ceiling: the last line may be cut off.
        visibleRows_ = (ch - H - L - BottomMargin + LineStep - 1) / LineStep;
        const int x0 = LeftOfHead(ColCount() - digitCols_);
        const int bandBottom = LineStep * visibleRows_ + H;
        digitBand_ = {x0 + 1, H + L + 1, digitCols_ * (DigitWidth + L) + x0, bandBottom};
        firstDigit_ = {x0 + 2, H + L + 2, x0 + DigitWidth, H + L + R};
        content_ = content_.United(digitBand_);
        selBand_ = {1, H + L + 1, SelWidth, bandBottom};
        firstSel_ = {1, H + L + 2, SelWidth, H + L + R};
    }
    const int count = net_.Count();
    if (count < topRow_ + visibleRows_ - 1) {
        topRow_ = std::max(0, count - visibleRows_ + 2);
    }
    if (cursorRow_ >= visibleRows_) {
        cursorRow_ = std::max(visibleRows_ - 1, 0);
    }
    if (count == topRow_ + cursorRow_ + 1) {
        cursorCol_ = 0;
    }
    // The extra 2 lets the append line scroll fully into view.
    scrollMax_ = std::max(count - visibleRows_ + 2, 0);
    Raise(OnChange);
}

int TNetView::LeftOfHead(int col) const {
    if (col < 0 || col >= ColCount()) {
        throw Exception("TCodeNet.LeftOfHead Error!");
    }
    int x = 0;
    for (int i = 0; i < col; ++i) {
        x += columns_[static_cast<size_t>(i)].Width + L;
    }
    return x;
}

bool TNetView::CellRect(int line, int col, TRect& rect) const {
    if (line < 0 || line >= topRow_ + visibleRows_) {
        rect = TRect{};
        return false;
    }
    rect = firstDigit_.Moved(col * (L + DigitWidth), line * LineStep);
    return true;
}

TRect TNetView::HeadCell(int col) const {
    const int left = LeftOfHead(col);
    return {left + 1, 1, left + Column(col).Width, H};
}

TRect TNetView::SelCell(int line) const { return firstSel_.Moved(0, line * LineStep); }

// The cells span the column's width from one past the widths before it
// (the grid lines between are not counted, as the grid was first drawn).
TRect TNetView::InfoCell(int line, int col) const {
    const int left = LeftOfHead(col) - col * L;
    return TRect{left + 1, H + L + 1, left + Column(col).Width, H + L + R}.Moved(0,
                                                                                 line * LineStep);
}

bool TNetView::ThickLineAbove(int line) const {
    return (topRow_ + line + net_.FirstPeriod() - 1) % 4 == 0;
}

THit TNetView::HitTest(int x, int y) const {
    const TRect client{0, 0, clientWidth_, clientHeight_};
    if (headerBand_.Contains(x, y)) {
        for (int col = 0; col < ColCount(); ++col) {
            if (HeadCell(col).Intersected(client).Contains(x, y)) {
                return {rtHead, 0, col};
            }
        }
        return {};
    }
    if (digitBand_.Contains(x, y)) {
        for (int line = 0; line < visibleRows_; ++line) {
            for (int col = 0; col < digitCols_; ++col) {
                const TRect cell = firstDigit_.Moved(col * (L + DigitWidth), line * LineStep);
                if (cell.Intersected(client).Contains(x, y)) {
                    return {rtNum, line, col};
                }
            }
        }
        return {};
    }
    if (selBand_.Contains(x, y)) {
        for (int line = 0; line < visibleRows_; ++line) {
            if (SelCell(line).Contains(x, y)) {
                return {rtSel, line, 0};
            }
        }
    }
    return {};
}

int TNetView::RowAt(int y) const {
    if (y < H + L || visibleRows_ == 0) {
        return -1;
    }
    return topRow_ + (y - H - L) / LineStep;
}

std::string RowInfoText(const TCodeNet& net, int row) {
    const TSeq& draw = net.GetSeq(row);
    std::string text = "第" + std::to_string(net.FirstPeriod() + row) + "期";
    if (!draw.GetLabel().Empty()) {
        text += "  期号" + draw.GetLabel().Text();
    }
    if (!draw.GetDate().Empty()) {
        text += "  开奖日期" + draw.GetDate().Text();
    }
    return text;
}

void TNetView::SelectLine(int line, bool shift, bool alt) {
    const int row = topRow_ + line;
    const int count = net_.Count();
    if (row >= count || row < 0) {
        return;
    }
    selAnchor_ = std::min(selAnchor_, std::max(0, count - 1));
    if (shift) {
        net_.SetSelRange(selAnchor_, row, true);
    } else if (alt) {
        net_.SetSelRange(selAnchor_, row, false);
    } else {
        selAnchor_ = row;
        net_.SetSelected(row, !net_.GetSeq(row).Selected);
    }
}

void TNetView::MouseDown(int x, int y, bool shift, bool alt) {
    pendingTen_ = false;
    const THit hit = HitTest(x, y);
    if (hit.Region == rtNum) {
        cursorRow_ = hit.Line;
        cursorCol_ = hit.Col;
    } else if (hit.Region == rtSel) {
        SelectLine(hit.Line, shift, alt);
    }
    Raise(OnRepaint);
}

void TNetView::Key(TNetKey key, bool shift, bool alt) {
    HandleKey(key, shift, alt);
    Raise(OnChange);
    RunPosted();
}

void TNetView::HandleKey(TNetKey key, bool shift, bool alt) {
    pendingTen_ = false;
    const int row = CursorTableRow();
    const int count = net_.Count();
    switch (key) {
        case TNetKey::PageDown:
            Post(TScrollCode::PageDown);
            break;
        case TNetKey::PageUp:
            Post(TScrollCode::PageUp);
            break;
        case TNetKey::Left:
            if (cursorCol_ > 0) {
                --cursorCol_;
            } else if (row != 0) {
                cursorCol_ = digitCols_ - 1;
                if (cursorRow_ > 0) {
                    --cursorRow_;
                } else {
                    Post(TScrollCode::LineUp);
                }
            }
            break;
        case TNetKey::Right:
            if (row == count && cursorCol_ == 0) {
                break;
            }
            if (cursorCol_ == digitCols_ - 1) {
                cursorCol_ = 0;
                if (OnLastVisibleLine()) {
                    Post(TScrollCode::LineDown);
                } else {
                    ++cursorRow_;
                }
            } else {
                ++cursorCol_;
            }
            break;
        case TNetKey::Up:
            if (row != 0) {
                if (cursorRow_ > 0) {
                    --cursorRow_;
                } else {
                    Post(TScrollCode::LineUp);
                }
            }
            break;
        case TNetKey::Down:
            if (row < count) {
                if (OnLastVisibleLine()) {
                    Post(TScrollCode::LineDown);
                    if (row >= count - 1) {
                        cursorCol_ = 0;
                    }
                } else {
                    ++cursorRow_;
                    if (row + 1 == count) {
                        cursorCol_ = 0;
                    }
                }
            }
            break;
        case TNetKey::Home:
            topRow_ = 0;
            Layout();
            break;
        case TNetKey::End:
            topRow_ = scrollMax_;
            Layout();
            break;
        case TNetKey::Enter:
            SelectLine(cursorRow_, shift, alt);
            break;
    }
}

bool TNetView::TypeChar(char c) {
    // Scrolling away from the 1 (the cursor stays on its line slot) ends the wait.
    const bool afterOne = pendingTen_ && tenRow_ == CursorTableRow();
    pendingTen_ = false;
    if (c < '0' || c > '9') {
        Raise(OnChange);
        return false;
    }
    const int digit = c - '0';
    if (afterOne) {
        const int row = CursorTableRow();
        if (row < net_.Count() && 10 + digit <= MaxNumber(net_.Game(), cursorCol_)) {
            net_.SetNum(row, cursorCol_, 10 + digit);
            return Advanced();
        }
        // The 1 was the whole number; this digit is the next cell's.
        HandleKey(TNetKey::Right, false, false);
        RunPosted();
    }
    const int row = CursorTableRow();
    if (row > net_.Count()) {
        Raise(OnChange);
        return true;
    }
    if (row == net_.Count()) {
        net_.Add();
    }
    net_.SetNum(row, cursorCol_, digit);
    if (digit == 1 && MaxNumber(net_.Game(), cursorCol_) >= 10) {
        // 七星彩's last number: a 1 waits for the digit that may follow.
        pendingTen_ = true;
        tenRow_ = row;
        Raise(OnChange);
        return true;
    }
    return Advanced();
}

bool TNetView::Advanced() {
    if (AutoAdvance) {
        Post(TNetKey::Right);
    }
    Raise(OnChange);
    RunPosted();
    return true;
}

void TNetView::Scroll(TScrollCode code, int thumbPos) {
    int position = topRow_;
    switch (code) {
        case TScrollCode::LineUp:
            position = std::max(0, position - 1);
            break;
        case TScrollCode::LineDown:
            position = std::min(scrollMax_, position + 1);
            break;
        case TScrollCode::PageUp:
            position = std::max(position - visibleRows_, 0);
            break;
        case TScrollCode::PageDown:
            position = std::min(position + visibleRows_, scrollMax_);
            break;
        case TScrollCode::ThumbTrack:
        case TScrollCode::ThumbPosition:
            if (thumbPos >= 0) {
                position = thumbPos;
            }
            break;
        case TScrollCode::Top:
            position = 0;
            break;
        case TScrollCode::Bottom:
            position = scrollMax_;
            break;
        case TScrollCode::EndScroll:
            break;
    }
    ApplyScrollPos(position);
}

void TNetView::ApplyScrollPos(int position) {
    topRow_ = position;
    Layout();
    if (position < 0) {
        throw ECodeNetErr("VScroll Error");
    }
}

void TNetView::ScrollToRow(int row) {
    const int count = net_.Count();
    if (row < 0 || row >= count) {
        throw Exception("TCodeNet.ScrollToRow Error!");
    }
    if (row < topRow_ || row >= topRow_ + visibleRows_) {
        topRow_ =
            count > row + visibleRows_ ? std::max(0, row - 2) : std::max(0, count - visibleRows_);
    }
    cursorRow_ = row - topRow_;
    Raise(OnChange);
}

void TNetView::ShowAppendLine() {
    // The first layout brings the scroll range up to the table as it is now.
    Layout();
    topRow_ = scrollMax_;
    Layout();
    cursorRow_ = std::clamp(net_.Count() - topRow_, 0, std::max(visibleRows_ - 1, 0));
    cursorCol_ = 0;
    Raise(OnChange);
}

bool DigitsMatch(std::string_view digits, std::string_view findText) {
    for (size_t start = 0; start < digits.size(); ++start) {
        const std::string_view part = digits.substr(start, findText.size());
        if (part.size() < findText.size()) {
            return false;
        }
        bool same = true;
        for (size_t i = 0; i < findText.size() && same; ++i) {
            const char wanted = findText[i];
            same = (wanted < '0' || wanted > '9') || wanted == part[i];
        }
        if (same) {
            return true;
        }
    }
    return false;
}

bool TNetView::FindNext(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const int count = net_.Count();
    std::string digits(static_cast<size_t>(digitCols_), '0');
    for (int row = CursorTableRow() + 1; row < count; ++row) {
        const TSeq& draw = net_.GetSeq(row);
        for (int pos = 0; pos < digitCols_; ++pos) {
            // A two-digit number is matched only by a wildcard.
            const int value = draw.GetNum(pos);
            digits[static_cast<size_t>(pos)] = value > 9 ? '*' : static_cast<char>('0' + value);
        }
        if (DigitsMatch(digits, text)) {
            ScrollToRow(row);
            return true;
        }
    }
    return false;
}

void TNetView::Post(Posted request) { posted_.push_back(request); }

void TNetView::RunPosted() {
    if (draining_) {
        return;
    }
    draining_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{draining_};
    while (!posted_.empty()) {
        const Posted request = posted_.front();
        posted_.pop_front();
        if (const auto* code = std::get_if<TScrollCode>(&request)) {
            Scroll(*code);
        } else {
            Key(std::get<TNetKey>(request));
        }
    }
}

}  // namespace tovarin
