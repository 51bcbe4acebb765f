// The yardstick of the start-up comparison: the smallest Qt Widgets program
// that shows a window, one label in it, built with the same compiler, flags
// and Qt as tarvix.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Minimal Qt Widgets window"), &window));
    window.show();
    return QApplication::exec();
}
