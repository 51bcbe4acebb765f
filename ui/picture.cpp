// Choosing and resampling the picture's bitmap for the screen's density.
#include "ui/picture.h"

#include <QSizeF>
#include <QtGlobal>

namespace tarvix {

Picture::Picture(const QPixmap& natural, const QPixmap& twice, QWidget* parent)
    : QLabel(parent), m_natural(natural), m_twice(twice) {
    m_twice.setDevicePixelRatio(2.0);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showForRatio(devicePixelRatioF());
}

QPixmap Picture::forRatio(const QPixmap& natural, const QPixmap& twice, qreal ratio) {
    if (ratio <= 1.0 || twice.isNull()) {
        return natural;
    }
    QPixmap finer = twice;
    finer.setDevicePixelRatio(2.0);
    if (qFuzzyCompare(ratio, 2.0)) {
        return finer;
    }
    // Drawn as it is, the finer bitmap would be scaled by the painter without
    // smoothing and lose its thin lines; resampled once here, each of its
    // pixels lands on one pixel of the screen.
    const QSize pixels = (QSizeF(natural.size()) * ratio).toSize();
    QPixmap resampled = finer.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    resampled.setDevicePixelRatio(ratio);
    return resampled;
}

void Picture::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    if (!qFuzzyCompare(ratio, m_ratio)) {
        showForRatio(ratio);
    }
    QLabel::paintEvent(event);
}

void Picture::showForRatio(qreal ratio) {
    m_ratio = ratio;
    setPixmap(forRatio(m_natural, m_twice, ratio));
}

} // namespace tarvix
