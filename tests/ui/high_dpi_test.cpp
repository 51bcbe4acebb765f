// The window on a high-density screen. Run once for each device pixel ratio
// (QT_SCALE_FACTOR 1, 1.5 and 2): the diagram is drawn from the bitmap made
// for the density, pixel for pixel, and the window is grabbed at that density
// into screenshot@<ratio>x.png in the build tree. That the controls keep their
// places in device-independent pixels is checked by running the layout suite
// at the same ratios.
#include "ui/frm_tarvix1.h"
#include "ui/picture.h"
#include "window_test_support.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTest>

#include <cmath>
#include <memory>

using namespace tarvix;
using namespace tarvix::test;

namespace {

constexpr QSize kDiagramSize(302, 89); // device-independent pixels
constexpr QSize kWindowSize(643, 371);

QSize timesRatio(QSize size, qreal ratio) {
    return (QSizeF(size) * ratio).toSize();
}

QPixmap solid(QSize size, const QColor& colour) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

// Pixels only: the ratios are compared on their own.
QImage comparable(const QImage& image) {
    QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    pixels.setDevicePixelRatio(1.0);
    return pixels;
}

} // namespace

class HighDpiTest : public QObject, public WindowFixture {
    Q_OBJECT

private:
    QLabel* diagram() const { return m_window->findChild<QLabel*>(QStringLiteral("Image1")); }

    qreal m_ratio = 1.0;

private slots:
    void initTestCase() {
        bool ok = true;
        m_ratio = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble(&ok);
        QVERIFY2(ok && m_ratio > 0, "QT_SCALE_FACTOR is not a number");
    }

    void init() { QVERIFY(openWindow()); }

    void cleanup() {
        const QString modal = closeWindow();
        QVERIFY2(modal.isEmpty(), qPrintable(modal));
        QVERIFY(m_messages.messages().isEmpty());
    }

    // Without this the other checks could pass at the wrong density.
    void ratioIsInEffect() {
        QCOMPARE(m_window->devicePixelRatioF(), m_ratio);
        QCOMPARE(diagram()->devicePixelRatioF(), m_ratio);
    }

    void diagramBitmapMatchesTheDensity() {
        const QPixmap shown = diagram()->pixmap();
        QCOMPARE(shown.devicePixelRatio(), std::max(m_ratio, 1.0));
        QCOMPARE(shown.size(), timesRatio(kDiagramSize, std::max(m_ratio, 1.0)));
        QCOMPARE(diagram()->size(), kDiagramSize);
        // At whole ratios the bitmap made for that density, unchanged: the
        // one compiled into the program, or the finer one from the resources.
        if (m_ratio == 1.0 || m_ratio == 2.0) {
            const QString file = m_ratio == 1.0 ? QStringLiteral(TARVIX_ASSETS_DIR "/diagram.png")
                                                : QStringLiteral(":/tarvix/diagram@2x.png");
            QCOMPARE(comparable(shown.toImage()), comparable(QImage(file)));
        }
    }

    // The painter copies the bitmap to the screen one pixel for one, which is
    // what keeps it sharp; any scaling on the way would change the pixels.
    void diagramIsDrawnPixelForPixel() {
        const QImage grab = m_window->grab().toImage();
        const QRect place(diagram()->mapTo(m_window.get(), QPoint(0, 0)), kDiagramSize);
        const QRect pixels(std::lround(place.x() * m_ratio), std::lround(place.y() * m_ratio),
                           diagram()->pixmap().width(), diagram()->pixmap().height());
        QCOMPARE(comparable(grab.copy(pixels)), comparable(diagram()->pixmap().toImage()));
    }

    void grabAtThisDensity() {
        const QPixmap grab = m_window->grab();
        QCOMPARE(grab.devicePixelRatio(), m_ratio);
        QCOMPARE(grab.size(), timesRatio(kWindowSize, m_ratio));
        const QString file =
            QStringLiteral(TARVIX_SCREENSHOT_DIR "/screenshot@%1x.png").arg(m_ratio);
        QVERIFY2(grab.save(file, "PNG"), qPrintable(file));
    }

    void bitmapForRatio_data();
    void bitmapForRatio();
};

void HighDpiTest::bitmapForRatio_data() {
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<qreal>("bitmapRatio");
    QTest::addColumn<bool>("fromFiner");
    QTest::newRow("below 1: natural") << 0.75 << QSize(302, 89) << 1.0 << false;
    QTest::newRow("1: natural") << 1.0 << QSize(302, 89) << 1.0 << false;
    QTest::newRow("1.25: finer, resampled") << 1.25 << QSize(378, 111) << 1.25 << true;
    QTest::newRow("1.5: finer, resampled") << 1.5 << QSize(453, 134) << 1.5 << true;
    QTest::newRow("2: finer as it is") << 2.0 << QSize(604, 178) << 2.0 << true;
    QTest::newRow("3: finer, enlarged") << 3.0 << QSize(906, 267) << 3.0 << true;
}

// Which of the two bitmaps a ratio gets, told apart by their colours.
void HighDpiTest::bitmapForRatio() {
    QFETCH(qreal, ratio);
    QFETCH(QSize, pixels);
    QFETCH(qreal, bitmapRatio);
    QFETCH(bool, fromFiner);
    const QColor naturalColour(Qt::red);
    const QColor finerColour(Qt::blue);
    const QPixmap shown = Picture::forRatio(solid(kDiagramSize, naturalColour),
                                            solid(kDiagramSize * 2, finerColour), ratio);
    QCOMPARE(shown.size(), pixels);
    QCOMPARE(shown.devicePixelRatio(), bitmapRatio);
    const QImage image = shown.toImage();
    QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2),
             fromFiner ? finerColour : naturalColour);
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
