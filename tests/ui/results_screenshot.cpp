// tarvix-results-shot: draws the window after the typical design of the
// README (F 7 MHz, A 60 ft, B 20 ft, gauge 14; former 2 in, length 2 in,
// gauge 20) and saves it as a PNG. The keys are typed as a user types them;
// a message on the way, or results other than the expected ones, fail.
//
//   tarvix-results-shot OUTPUT.png
//
// Runs on the offscreen platform unless another is chosen, so it needs no
// display.
#include "ui/frm_tarvix1.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        std::fputs("usage: tarvix-results-shot OUTPUT.png\n", stderr);
        return 1;
    }

    QStringList messages;
    tarvix::frmTarvix1 window(
        [&messages](QWidget*, const QString& text) { messages.append(text); });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fputs("tarvix-results-shot: the window was not shown\n", stderr);
        return 1;
    }
    const auto box = [&window](const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto click = [&window](const char* name) {
        QTest::mouseClick(window.findChild<QPushButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    };
    QTest::keyClicks(box("txtF"), QStringLiteral("7"));
    QTest::keyClicks(box("txtA"), QStringLiteral("60"));
    QTest::keyClicks(box("txtB"), QStringLiteral("20"));
    click("Command1");
    QTest::keyClicks(box("txtD1"), QStringLiteral("2"));
    QTest::keyClicks(box("txtB1"), QStringLiteral("2"));
    click("Command2");

    const QStringList shown{box("L")->text(), box("txtN")->text(), box("txtB2")->text()};
    const QStringList expected{QStringLiteral("5.5"), QStringLiteral("7"),
                               QStringLiteral("Revised length = 0.2 inch")};
    if (!messages.isEmpty() || shown != expected) {
        std::fprintf(stderr, "tarvix-results-shot: unexpected results [%s], messages [%s]\n",
                     qPrintable(shown.join(QStringLiteral(" | "))),
                     qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    if (!window.grab().save(args[1], "PNG")) {
        std::fprintf(stderr, "tarvix-results-shot: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
