// The one-line note: painted cut to its width, its size set by the font
// alone, never by its text.
#include "check/note_label.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

namespace tarvix {

namespace {

// The width a note asks for: some thirty characters; the layout may give it
// more, or less on a narrow screen.
constexpr int kNoteCharacters = 30;

} // namespace

NoteLabel::NoteLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
}

void NoteLabel::setNote(const QString& text) {
    setText(text);
    setToolTip(text);
    // The name says whose note it is; the note itself is what a screen
    // reader reads next.
    setAccessibleDescription(text);
    update();
}

QSize NoteLabel::sizeHint() const {
    return {fontMetrics().averageCharWidth() * kNoteCharacters, fontMetrics().height()};
}

QSize NoteLabel::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void NoteLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QRect place = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, place.width());
    style()->drawItemText(&painter, place, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                          shown, foregroundRole());
}

} // namespace tarvix
