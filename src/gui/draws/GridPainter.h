#pragma once

#include <QFont>
#include <QPalette>

class QPainter;

namespace tovarin {

class TNetView;

// Paints the draw-table grid as its view lays it out. Only the visible
// lines are touched, so a page costs the same whatever the table's size.
class TCodeNetPainter {
public:
    // baseFont is the control's font: the header titles use it as it is.
    explicit TCodeNetPainter(const QFont& baseFont);

    // How wide a digit of the 期 and 期号 columns is painted.
    static int DigitPixels(const QFont& baseFont);

    void Paint(QPainter& painter, const TNetView& view, const QPalette& palette,
               bool focused) const;

private:
    void PaintHeader(QPainter& painter, const TNetView& view, const QPalette& palette) const;
    void PaintGridLines(QPainter& painter, const TNetView& view) const;
    void PaintLine(QPainter& painter, const TNetView& view, int line) const;
    void PaintCursor(QPainter& painter, const TNetView& view, bool focused) const;

    QFont headerFont_;
    QFont smallFont_;  // 期, 合 and the digits E-G
    QFont boldFont_;   // the digits A-D
};

}  // namespace tovarin
