#include "gui/draws/CodeNetGrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <optional>

#include "core/base/Codec.h"
#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

std::optional<TNetKey> GridKeyOf(int key) {
    switch (key) {
        case Qt::Key_PageDown:
            return TNetKey::PageDown;
        case Qt::Key_PageUp:
            return TNetKey::PageUp;
        case Qt::Key_Left:
            return TNetKey::Left;
        case Qt::Key_Right:
            return TNetKey::Right;
        case Qt::Key_Up:
            return TNetKey::Up;
        case Qt::Key_Down:
            return TNetKey::Down;
        case Qt::Key_Home:
            return TNetKey::Home;
        case Qt::Key_End:
            return TNetKey::End;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return TNetKey::Enter;
        default:
            return std::nullopt;
    }
}

std::optional<TScrollCode> ScrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return TScrollCode::LineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return TScrollCode::LineDown;
        case QAbstractSlider::SliderPageStepSub:
            return TScrollCode::PageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return TScrollCode::PageDown;
        case QAbstractSlider::SliderMove:
            return TScrollCode::ThumbTrack;
        case QAbstractSlider::SliderToMinimum:
            return TScrollCode::Top;
        case QAbstractSlider::SliderToMaximum:
            return TScrollCode::Bottom;
        default:
            return std::nullopt;
    }
}

}  // namespace

TCodeNetGrid::TCodeNetGrid(TCodeNet& net, QWidget* parent)
    : QAbstractScrollArea(parent), view_(net) {
    setObjectName("CodeNet");
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &TCodeNetGrid::ScrollBarAction);
    view_.OnChange = [this] {
        SyncScrollBar();
        viewport()->update();
        emit OnChange();
    };
    view_.OnRepaint = [this] { viewport()->update(); };
    view_.SetDigitPixels(TCodeNetPainter::DigitPixels(font()));
}

bool TCodeNetGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QAbstractScrollArea::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = view_.RowAt(help->pos().y());
    if (row >= 0 && row < CodeNet().Count()) {
        QToolTip::showText(help->globalPos(), QString::fromStdString(RowInfoText(CodeNet(), row)),
                           viewport());
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

TCodeNet& TCodeNetGrid::CodeNet() { return view_.Net(); }

bool TCodeNetGrid::FindNext(const QString& text) {
    // The search compares bytes as the text files hold them.
    const QByteArray utf8 = text.toUtf8();
    std::string bytes;
    try {
        bytes = Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    } catch (const ECodecError&) {
        bytes.assign(utf8.constData(), static_cast<size_t>(utf8.size()));
    }
    return view_.FindNext(bytes);
}

void TCodeNetGrid::SyncScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker blocker(bar);
    bar->setRange(0, view_.ScrollMax());
    bar->setPageStep(std::max(1, view_.VisibleRows()));
    bar->setSliderPosition(view_.TopRow());
    bar->setValue(view_.TopRow());
}

void TCodeNetGrid::ScrollBarAction(int action) {
    const std::optional<TScrollCode> code = ScrollCodeOf(action);
    if (!code) {
        return;
    }
    setFocus();
    view_.Scroll(*code, verticalScrollBar()->sliderPosition());
    // The slider applies its own idea of the position after this signal;
    // give it ours.
    verticalScrollBar()->setSliderPosition(view_.TopRow());
}

void TCodeNetGrid::scrollContentsBy(int, int) { viewport()->update(); }

void TCodeNetGrid::paintEvent(QPaintEvent*) {
    if (!painter_) {
        painter_ = std::make_unique<TCodeNetPainter>(font());
    }
    QPainter painter(viewport());
    painter_->Paint(painter, view_, palette(), hasFocus());
}

void TCodeNetGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    view_.SetClientSize(viewport()->width(), viewport()->height());
}

void TCodeNetGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        view_.MouseDown(at.x(), at.y(), event->modifiers() & Qt::ShiftModifier,
                        event->modifiers() & Qt::AltModifier);
        // The cursor may have moved to another draw.
        emit OnChange();
    }
    event->accept();
}

void TCodeNetGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_ != nullptr) {
        popupMenu_->popup(event->globalPos());
    }
    event->accept();
}

void TCodeNetGrid::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<TNetKey> key = GridKeyOf(event->key())) {
        view_.Key(*key, event->modifiers() & Qt::ShiftModifier,
                  event->modifiers() & Qt::AltModifier);
    } else if (!event->text().isEmpty()) {
        const QChar c = event->text().front();
        const char typed = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0';
        // The digit that ends a waiting 1 of 七星彩's last number is the
        // next cell's, and a step of the history of its own draw.
        if (view_.AwaitsSecondDigit() && typed >= '5' && typed <= '9') {
            view_.Key(TNetKey::Right);
        }
        bool digit = true;
        const auto type = [this, typed, &digit] { digit = view_.TypeChar(typed); };
        if (EditRunner && typed >= '0' && typed <= '9') {
            EditRunner(view_.CursorTableRow(), type);
        } else {
            type();
        }
        if (!digit) {
            QApplication::beep();
        }
    } else {
        emit OnChange();
    }
    viewport()->update();
    event->accept();
}

void TCodeNetGrid::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    for (int i = 0; i < std::abs(steps) * 3; ++i) {
        view_.Scroll(steps > 0 ? TScrollCode::LineUp : TScrollCode::LineDown);
    }
    event->accept();
}

void TCodeNetGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TCodeNetGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace tovarin
