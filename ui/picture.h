// The picture control: a bitmap at its natural size, drawn from the copy made
// for the pixel density of the screen the window is on.
#pragma once

#include "ui/compiled_bitmap.h"

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace tarvix {

// A bitmap compiled into the program. Where the screen's format is the
// bitmap's (32-bit RGB, as on any true-colour display), the pixmap draws
// straight from the program's own pixels: nothing is decoded or copied.
QPixmap compiledPixmap(const CompiledBitmap& bitmap);

class Picture : public QLabel {
    Q_OBJECT

public:
    // `natural` is the bitmap at 96 dpi; `twicePath` names the PNG of the
    // same picture with twice as many pixels each way, decoded when a
    // density first needs it: only on a high-density screen.
    Picture(const QPixmap& natural, const QString& twicePath, QWidget* parent = nullptr);

    // The bitmap to show at a device pixel ratio: the natural one up to 1,
    // the finer one at 2, and the finer one resampled to the screen's pixels
    // in between and above, so that it is never enlarged from the coarse one.
    static QPixmap forRatio(const QPixmap& natural, const QPixmap& twice, qreal ratio);

protected:
    // The ratio can change while the window is open (moved to another screen,
    // or the desktop's scale changed), so it is looked at on every paint.
    void paintEvent(QPaintEvent* event) override;

private:
    void showForRatio(qreal ratio);

    QString m_twicePath;
    QPixmap m_natural;
    QPixmap m_twice;     // null until needed
    qreal m_ratio = 0.0; // the ratio the shown bitmap was made for
};

} // namespace tarvix
