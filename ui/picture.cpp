// Choosing and resampling the picture's bitmap for the screen's density.
#include "ui/picture.h"

#include <QImage>
#include <QImageReader>
#include <QSizeF>
#include <QtGlobal>

namespace tarvix {

namespace {

// Our pictures are PNG files: naming the format spares Qt probing every image
// plugin it has (and loading them) to find out.
QPixmap pngPixmap(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QPixmap compiledPixmap(const CompiledBitmap& bitmap) {
    // An image over constant data is read-only and shares it; the pixmap
    // shares the image unless it has to convert it to the screen's format.
    const QImage image(reinterpret_cast<const uchar*>(bitmap.pixels), bitmap.width, bitmap.height,
                       static_cast<qsizetype>(bitmap.width) * sizeof(*bitmap.pixels),
                       QImage::Format_RGB32);
    return QPixmap::fromImage(image);
}

Picture::Picture(const QPixmap& natural, const QString& twicePath, QWidget* parent)
    : QLabel(parent), m_twicePath(twicePath), m_natural(natural) {
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
    setPixmap(forRatio(m_natural, m_twice, ratio));
}

} // namespace tarvix
