#include "gui/draws/GridPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include "core/draws/LawNet.h"
#include "core/draws/NetView.h"

namespace tovarin {
namespace {

constexpr QColor GridColor(0xC0, 0xC0, 0xC0);
constexpr QColor FaceEdge(0x80, 0x80, 0x80);
constexpr QColor FocusedCursor(0x00, 0x00, 0xFF);
constexpr QColor UnfocusedCursor(0x00, 0xFF, 0x00);

// Point sizes as a 96-dpi screen renders them, so the texts fit the fixed
// pixel geometry whatever the display reports.
int PixelsOfPoints(int points) { return (points * 96 + 36) / 72; }

QFont SizedFont(const QFont& base, int points, bool bold) {
    QFont font(base);
    font.setPixelSize(PixelsOfPoints(points));
    font.setBold(bold);
    return font;
}

QRect ToQRect(const TRect& rect) {
    return QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

void DrawFlatCheckBox(QPainter& painter, const QRect& box, bool checked) {
    painter.fillRect(box, Qt::white);
    painter.setPen(FaceEdge);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (checked) {
        const QPointF a(box.left() + box.width() * 0.22, box.top() + box.height() * 0.50);
        const QPointF b(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
        const QPointF c(box.left() + box.width() * 0.78, box.top() + box.height() * 0.28);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawPolyline(QList<QPointF>{a, b, c});
    }
}

}  // namespace

int TCodeNetPainter::DigitPixels(const QFont& baseFont) {
    return QFontMetrics(SizedFont(baseFont, 11, false)).horizontalAdvance(QLatin1Char('0'));
}

TCodeNetPainter::TCodeNetPainter(const QFont& baseFont)
    : headerFont_(baseFont),
      smallFont_(SizedFont(baseFont, 11, false)),
      boldFont_(SizedFont(baseFont, 15, true)) {
    headerFont_.setBold(false);
}

void TCodeNetPainter::Paint(QPainter& painter, const TNetView& view, const QPalette& palette,
                            bool focused) const {
    painter.fillRect(0, 0, view.ClientWidth(), view.ClientHeight(), palette.color(QPalette::Base));
    if (TNetView::HeaderHeight < view.ClientHeight()) {
        PaintHeader(painter, view, palette);
    }
    if (view.VisibleRows() > 0) {
        PaintGridLines(painter, view);
        const int drawn = std::min(view.VisibleRows(), view.Net().Count() - view.TopRow());
        for (int line = 0; line < drawn; ++line) {
            PaintLine(painter, view, line);
        }
        PaintCursor(painter, view, focused);
    }
}

void TCodeNetPainter::PaintHeader(QPainter& painter, const TNetView& view,
                                  const QPalette& palette) const {
    painter.setFont(headerFont_);
    for (int col = 0; col < view.ColCount(); ++col) {
        const QRect face = ToQRect(view.HeadCell(col));
        painter.fillRect(face, palette.color(QPalette::Button));
        painter.setPen(FaceEdge);
        painter.drawRect(face.adjusted(0, 0, -1, -1));
        painter.setPen(palette.color(QPalette::ButtonText));
        painter.drawText(face, Qt::AlignCenter, QString::fromStdString(view.ColTitle(col)));
    }
}

void TCodeNetPainter::PaintGridLines(QPainter& painter, const TNetView& view) const {
    constexpr int L = TNetView::GridLine;
    constexpr int step = TNetView::RowHeight + L;
    const TRect& content = view.ContentRect();
    const int right = content.Right - 2 * L;
    for (int i = 0; i <= view.VisibleRows(); ++i) {
        const int y = TNetView::HeaderHeight + L + i * step;
        // A thick line takes the pixel above as well, so that it never
        // touches the cells below it.
        if (view.ThickLineAbove(i)) {
            painter.fillRect(0, y - 1, right + 1, 2, GridColor);
        } else {
            painter.fillRect(0, y, right + 1, 1, GridColor);
        }
    }
    int x = 0;
    for (int col = 0; col < view.ColCount(); ++col) {
        x += L + view.Column(col).Width;
        const int lineX = col == view.ColCount() - 1 ? x - 2 * L : x;
        painter.fillRect(lineX, TNetView::HeaderHeight, 1,
                         content.Bottom + L - TNetView::HeaderHeight + 1, GridColor);
    }
}

void TCodeNetPainter::PaintLine(QPainter& painter, const TNetView& view, int line) const {
    const int row = view.TopRow() + line;
    const TSeq& draw = view.Net().GetSeq(row);
    DrawFlatCheckBox(painter, ToQRect(view.SelCell(line)).adjusted(2, 2, -2, -2), draw.Selected);

    painter.setPen(Qt::black);
    painter.setFont(smallFont_);
    for (int col = 1; col < view.ColCount() - view.DigitCols(); ++col) {
        QString text;
        switch (view.Column(col).Kind) {
            case TNetCol::Period:
                text = QString::number(view.Net().FirstPeriod() + row);
                break;
            case TNetCol::Label:
                text = QString::fromStdString(draw.GetLabel().Text());
                break;
            case TNetCol::Sum:
                text = QString::number(draw.GetSum());
                break;
            case TNetCol::Sel:
            case TNetCol::Digit:
                break;
        }
        painter.drawText(ToQRect(view.InfoCell(line, col)), Qt::AlignCenter, text);
    }
    for (int col = 0; col < view.DigitCols(); ++col) {
        TRect cell;
        view.CellRect(line, col, cell);
        painter.setFont(col < 4 ? boldFont_ : smallFont_);
        painter.drawText(ToQRect(cell), Qt::AlignCenter, QString::number(draw.GetNum(col)));
    }
}

void TCodeNetPainter::PaintCursor(QPainter& painter, const TNetView& view, bool focused) const {
    TRect cell;
    if (!view.CellRect(view.CursorRow(), view.CursorCol(), cell)) {
        return;
    }
    painter.setPen(QPen(focused ? FocusedCursor : UnfocusedCursor, 1));
    painter.setBrush(Qt::NoBrush);
    // Around the cell: one pixel outside it on every side.
    painter.drawRect(
        QRect(cell.Left - 1, cell.Top - 1, cell.Right - cell.Left + 1, cell.Bottom - cell.Top + 1));
}

}  // namespace tovarin
