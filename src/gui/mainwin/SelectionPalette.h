#pragma once

#include <QPalette>
#include <QWidget>

namespace tovarin {

// Paints the selection of an inactive window as that of the active one, so
// a control keeps its selection visible when the focus goes elsewhere.
inline void KeepSelectionVisible(QWidget& widget) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    widget.setPalette(colours);
}

}  // namespace tovarin
