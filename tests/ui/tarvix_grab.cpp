// tarvix-grab: saves the screen of the X display it runs on as a PNG, once a
// window has appeared on it and has finished drawing. Used with Xvfb, where
// the root window is plain black (-br) and no window manager draws frames.
//
//   tarvix-grab OUTPUT.png [--crop] [--timeout SECONDS]
//
// --crop keeps only the part that differs from the root window's colour,
// which is the window itself. Exit codes: 0 saved, 1 usage or save error,
// 2 nothing appeared before the timeout.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

// The rectangle of pixels that differ from the bottom-right corner's colour,
// which is the root window's: with no window manager, windows open at the
// top left.
QRect contentRect(const QImage& image) {
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    int left = image.width();
    int top = image.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QStringList args = QGuiApplication::arguments();
    args.removeFirst();
    QString output;
    bool crop = false;
    double timeoutSeconds = 20;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--crop")) {
            crop = true;
        } else if (args[i] == QLatin1String("--timeout") && i + 1 < args.size()) {
            timeoutSeconds = args[++i].toDouble();
        } else if (output.isEmpty()) {
            output = args[i];
        } else {
            std::fputs("usage: tarvix-grab OUTPUT.png [--crop] [--timeout SECONDS]\n", stderr);
            return 1;
        }
    }
    if (output.isEmpty()) {
        std::fputs("usage: tarvix-grab OUTPUT.png [--crop] [--timeout SECONDS]\n", stderr);
        return 1;
    }

    // A window has appeared when the screen is no longer one colour, and has
    // finished drawing when two grabs a moment apart are the same.
    QElapsedTimer clock;
    clock.start();
    QImage previous;
    while (clock.elapsed() < static_cast<qint64>(timeoutSeconds * 1000)) {
        const QImage current = grabScreen();
        const QRect content = contentRect(current);
        if (!content.isEmpty() && current == previous) {
            const QImage saved = crop ? current.copy(content) : current;
            if (!saved.save(output, "PNG")) {
                std::fprintf(stderr, "tarvix-grab: cannot write %s\n", qPrintable(output));
                return 1;
            }
            return 0;
        }
        previous = current;
        QThread::msleep(300);
    }
    std::fputs("tarvix-grab: no window appeared on the display\n", stderr);
    return 2;
}
