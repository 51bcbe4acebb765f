// A whole session with the real window, as the program runs it: the event
// loop starts, the user types a design, pastes, meets a refused key and a
// fault, clicks the author link and both OK buttons, and closes the window,
// which ends the loop. Run under valgrind's memcheck by ctest; the exit code
// says whether the session itself went as expected.
#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "ui/frm_tarvix1.h"
#include "ui/start_up.h"
#include "window_test_support.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <string>

namespace {

using tarvix::test::UrlRecorder;

class Session {
public:
    Session(tarvix::frmTarvix1& window, UrlRecorder& urls, const QStringList& messages)
        : m_window(window), m_urls(urls), m_messages(messages) {}

    // Returns what went wrong, or an empty list.
    QStringList run() {
        type("txtF", QStringLiteral("x7"));     // the x is refused with a message
        paste("txtA", QStringLiteral("1E400")); // an overflow, reported
        paste("txtA", QString());
        type("txtA", QStringLiteral("60"));
        type("txtB", QStringLiteral("20"));
        QTest::mouseClick(control<QLabel>("Label11"), Qt::LeftButton);
        click("Command1");
        type("txtD1", QStringLiteral("2"));
        type("txtB1", QStringLiteral("2"));
        click("Command2");
        return problems();
    }

private:
    template <class Widget = QLineEdit> Widget* control(const char* name) {
        auto* widget = m_window.findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("frmTarvix1 has no control %s", name);
        }
        return widget;
    }
    void type(const char* box, const QString& keys) {
        control(box)->setFocus();
        QTest::keyClicks(control(box), keys);
    }
    void paste(const char* box, const QString& text) { control(box)->setText(text); }
    void click(const char* button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }

    QStringList problems() {
        // The same design computed directly, without the window, by the very
        // functions the window calls: this proves the session reached the
        // results and wired them to the boxes, not that the values are right.
        // The calculation and window tests pin the values.
        tarvix::DesignRecord expected;
        expected.freqMHz = 7;
        expected.totalLengthFt = 60;
        expected.centreToCoilFt = 20;
        tarvix::KeptTexts output;
        tarvix::computeInductance(expected, "14", output);
        expected.coilFormerDiaIn = 2;
        expected.coilLengthIn = 2;
        tarvix::computeWinding(expected, "20", output);

        QStringList found;
        const auto expect = [&found](bool ok, const char* what) {
            if (!ok) {
                found.append(QString::fromLatin1(what));
            }
        };
        expect(control("txtN")->text().toStdString() == tarvix::numberText(expected.turnCount),
               "txtN does not show the turns");
        expect(control("txtB2")->text().toStdString() ==
                   tarvix::revisedLengthMessage(expected.revisedLengthIn),
               "txtB2 does not show the revised length");
        expect(control<QWidget>("Frame5")->isVisible() && control<QWidget>("Frame6")->isVisible(),
               "the results are not shown");
        expect(m_messages ==
                   QStringList{QStringLiteral("Type only numbers"), QStringLiteral("Overflow")},
               "the messages differ from a refused key and an overflow");
        expect(m_urls.opened.size() == 1, "the author link did not ask for the page once");
        return found;
    }

    tarvix::frmTarvix1& m_window;
    UrlRecorder& m_urls;
    const QStringList& m_messages;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvix"));
    tarvix::useDialogFont();

    UrlRecorder urls;
    // The handler API names its method as text; there is no other form.
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "open");

    QStringList messages;
    tarvix::frmTarvix1 window(
        [&messages](QWidget*, const QString& text) { messages.append(text); });
    window.show();

    QStringList problems;
    QTimer::singleShot(0, &window, [&] {
        Session session(window, urls, messages);
        problems = session.run();
        // Closing the last window ends the event loop, as the user's click on
        // the close button would.
        window.close();
    });
    const int status = QApplication::exec();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    for (const QString& problem : problems) {
        std::fprintf(stderr, "session: %s\n", qPrintable(problem));
    }
    return status != 0 || !problems.isEmpty() ? 1 : 0;
}
