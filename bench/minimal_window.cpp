// The yardstick of the start-up comparison: the smallest Qt Widgets program
// that shows a window, one label in it, built with the same compiler, flags
// and Qt as tarvix.
//
//   tarvix_minimal_window [WIDTHxHEIGHT]
//
// With a size, the window's client area is that many pixels (tarvix's is
// 643x371), so that the comparison does not count the cost of a larger back
// buffer against tarvix; without, the window takes the label's size.
#include <QApplication>
#include <QLabel>
#include <QSize>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QSize requestedSize(const QStringList& arguments) {
    if (arguments.size() < 2) {
        return {};
    }
    const QStringList parts = arguments.at(1).split(QLatin1Char('x'));
    return parts.size() == 2 ? QSize(parts.at(0).toInt(), parts.at(1).toInt()) : QSize();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Minimal Qt Widgets window"), &window));
    if (const QSize size = requestedSize(QApplication::arguments()); size.isValid()) {
        window.resize(size);
    }
    window.show();
    return QApplication::exec();
}
