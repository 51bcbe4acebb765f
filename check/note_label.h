// A note of one line beside a box: a fixed height and a width the layout
// gives it, so that a note coming or going never moves a box. A text too long
// for its place is cut with an ellipsis; the whole text is its tool tip and
// its accessible description, what a screen reader reads.
#pragma once

#include <QLabel>

namespace tarvix {

class NoteLabel : public QLabel {
    Q_OBJECT

public:
    explicit NoteLabel(QWidget* parent = nullptr);

    // The text, whole in the tool tip, cut to the width in the window.
    void setNote(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tarvix
