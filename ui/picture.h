// The picture control: a bitmap at its natural size, drawn from the copy made
// for the pixel density of the screen the window is on.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace tarvix {

// A PNG file or resource, read without probing the image plug-ins.
QPixmap pngPixmap(const QString& path);

class Picture : public QLabel {
    Q_OBJECT

public:
    // `naturalPath` names the PNG bitmap at 96 dpi; `twicePath` the same
    // picture with twice as many pixels each way. Each is decoded when a
    // density first needs it: the finer one only on a high-density screen.
    Picture(const QString& naturalPath, const QString& twicePath, QWidget* parent = nullptr);

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

    QString m_naturalPath;
    QString m_twicePath;
    QPixmap m_natural;   // null until needed
    QPixmap m_twice;     // null until needed
    qreal m_ratio = 0.0; // the ratio the shown bitmap was made for
};

} // namespace tarvix
