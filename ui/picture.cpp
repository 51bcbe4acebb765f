// Choosing and resampling the picture's bitmap for the screen's density.
#include "ui/picture.h"

#include <QImageReader>
#include <QSizeF>
#include <QtGlobal>

namespace tarvix {

// Our pictures are PNG files: naming the format spares Qt probing every image
// plugin it has (and loading them) to find out.
QPixmap pngPixmap(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

Picture::Picture(const QString& naturalPath, const QString& twicePath, QWidget* parent)
    : QLabel(parent), m_naturalPath(naturalPath), m_twicePath(twicePath) {
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
    const QSize pixels = (QSizeF(finer.size()) / 2.0 * ratio).toSize();
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
    if (ratio > 1.0 && m_twice.isNull()) {
        m_twice = pngPixmap(m_twicePath);
    }
    if ((ratio <= 1.0 || m_twice.isNull()) && m_natural.isNull()) {
        m_natural = pngPixmap(m_naturalPath);
    }
    setPixmap(forRatio(m_natural, m_twice, ratio));
}

} // namespace tarvix
