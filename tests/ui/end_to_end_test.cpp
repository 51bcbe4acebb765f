// The real window driven in-process as a user drives it: keys typed into the
// boxes, clicks on the OK buttons. Every message that would have been shown
// is recorded and compared; a real dialog fails the test.
#include "ui/frm_tarvix1.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <memory>
#include <utility>

using namespace tarvix;
using namespace tarvix::test;

namespace {

const QString kTypeOnlyNumbers = QStringLiteral("Type only numbers");

// One typed entry: the box and the keys.
struct Typed {
    QString box;
    QString keys;
};
using TypedList = QList<Typed>;

} // namespace

Q_DECLARE_METATYPE(Typed)

class EndToEndTest : public QObject, public WindowFixture {
    Q_OBJECT

private:
    template <class Widget = QLineEdit> Widget* control(const QString& name) {
        Widget* widget = m_window->findChild<Widget*>(name);
        if (widget == nullptr) {
            // Not needed by the window yet: made now, in its initial state.
            m_window->createAllControls();
            widget = m_window->findChild<Widget*>(name);
        }
        if (widget == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }
    QString text(const QString& name) { return controlText(*control<QWidget>(name)); }
    bool visible(const QString& name) { return control<QWidget>(name)->isVisible(); }
    bool enabled(const QString& name) { return control<QWidget>(name)->isEnabled(); }
    void type(const QString& box, const QString& keys) { QTest::keyClicks(control(box), keys); }
    void click(const QString& button) {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // Step 1 of the typical road: F 7, A 60, B 20, antenna gauge 14.
    void typeTypicalStep1() {
        type("txtF", "7");
        type("txtA", "60");
        type("txtB", "20");
    }
    // The typical road up to the step-2 panel (1) or the results (2).
    void finishSteps(int stepsDone) {
        if (stepsDone >= 1) {
            typeTypicalStep1();
            click("Command1");
        }
        if (stepsDone >= 2) {
            type("txtD1", "2");
            type("txtB1", "2");
            click("Command2");
        }
    }
    // Keys as the platform delivers them: to the window, which hands them to
    // whichever control has the focus.
    void pressKeys(const QString& keys) {
        for (const QChar key : keys) {
            QTest::keyClick(m_window->windowHandle(), key.toLatin1());
        }
    }
    void pressKey(Qt::Key key) { QTest::keyClick(m_window->windowHandle(), key); }
    QString focusedControl() const {
        const QWidget* focused = QApplication::focusWidget();
        return focused == nullptr ? QString() : focused->objectName();
    }

private slots:
    void init() { QVERIFY(openWindow()); }

    void cleanup() {
        const QString modal = closeWindow();
        QVERIFY2(modal.isEmpty(), qPrintable(modal));
    }

    void typicalRoad();
    void typedValuesReportedAsTyped_data();
    void typedValuesReportedAsTyped();
    void refusedKeys_data();
    void refusedKeys();
    void numbersAndEditingKeysPass();
    void stepTwoBoxesAreFilteredToo();
    void summaryAndListsDiscardEverything_data();
    void summaryAndListsDiscardEverything();
    void deleteIsNoCharacter();
    void pasteFromMenuIsNotFiltered();
    void typedSpellingShowsAsStored();
    void stepOneFault();
    void stepTwoFault();
    void focusGoesOnFromTheHiddenButton_data();
    void focusGoesOnFromTheHiddenButton();
    void dropsAreRefused_data();
    void dropsAreRefused();
    void inputMethodTextIsFiltered_data();
    void inputMethodTextIsFiltered();
};

void EndToEndTest::typicalRoad() {
    typeTypicalStep1();
    QVERIFY(enabled("Command1"));
    QCOMPARE(text("cmbSWG1"), QStringLiteral("14"));
    QCOMPARE(m_messages.messages(), QStringList());

    click("Command1");
    QVERIFY(!visible("Frame3"));
    QVERIFY(visible("Frame4"));
    QVERIFY(!visible("Frame5"));
    QVERIFY(!visible("L")); // computed, but not yet on screen
    QCOMPARE(text("L"), QStringLiteral("5.5"));
    QVERIFY(std::abs(m_window->record().inductanceUH - 5.533500417592047) < 1e-14);
    QVERIFY(!enabled("Command2"));

    type("txtD1", "2");
    QVERIFY(!enabled("Command2"));
    type("txtB1", "2");
    QVERIFY(enabled("Command2"));
    QCOMPARE(text("cmbSWG2"), QStringLiteral("20"));

    click("Command2");
    QVERIFY(!visible("Frame4"));
    QVERIFY(visible("Frame5"));
    QVERIFY(visible("Frame6"));
    QVERIFY(visible("L"));
    QCOMPARE(text("L"), QStringLiteral("5.5"));
    QCOMPARE(text("txtN"), QStringLiteral("7"));
    QCOMPARE(text("txtB2"), QStringLiteral("Revised length = 0.2 inch"));
    QCOMPARE(text("txtFF"), QStringLiteral("7"));
    QCOMPARE(text("txtAA"), QStringLiteral("60"));
    QCOMPARE(text("txtBB"), QStringLiteral("20"));
    QCOMPARE(text("txtSWG1"), QStringLiteral("14"));
    QCOMPARE(text("txtDD1"), QStringLiteral("2"));
    QCOMPARE(text("txtSWG2"), QStringLiteral("20"));
    QCOMPARE(m_window->record().coilLengthIn, 0.2);
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::typedValuesReportedAsTyped_data() {
    QTest::addColumn<TypedList>("typed");
    QTest::addColumn<QStringList>("messages");
    const QString m1 = QStringLiteral("Input HF range only (1.5 to 30MHz)");
    const QString m2 = QStringLiteral("Input a value for frequency");

    // Each keystroke is one change: "0.9" is checked as 0, 0 and 0.9.
    QTest::newRow("frequency below the band")
        << TypedList{{"txtF", "0.9"}} << QStringList{m1, m1, m1};
    QTest::newRow("frequency in the band") << TypedList{{"txtF", "14"}} << QStringList{};
    QTest::newRow("length before frequency") << TypedList{{"txtA", "12"}} << QStringList{m2, m2};
    QTest::newRow("length above the limit")
        << TypedList{{"txtF", "14"}, {"txtA", "31"}}
        << QStringList{QStringLiteral(" A should be smaller than  30 ft")};
    QTest::newRow("distance above the limit")
        << TypedList{{"txtF", "7"}, {"txtA", "40"}, {"txtB", "20"}}
        << QStringList{QStringLiteral("B should be lower than 16 ft")};
    // B typed before A is checked against a limit of 0; A then fails both
    // of its checks, the shortness first.
    const QString m5 = QStringLiteral("B should be lower than 0 ft");
    const QString m3 = QStringLiteral("A ahould be larger than 52 ft");
    QTest::newRow("distance first, then a length short and above the limit")
        << TypedList{{"txtF", "14"}, {"txtB", "20"}, {"txtA", "40"}}
        << QStringList{m5, m5, m3, m3, QStringLiteral(" A should be smaller than  30 ft")};
}

void EndToEndTest::typedValuesReportedAsTyped() {
    QFETCH(TypedList, typed);
    QFETCH(QStringList, messages);
    for (const Typed& entry : typed) {
        type(entry.box, entry.keys);
        QCOMPARE(text(entry.box), QLatin1Char(' ') + entry.keys);
    }
    QCOMPARE(m_messages.messages(), messages);
}

void EndToEndTest::refusedKeys_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("letter") << "txtF" << int(Qt::Key_A) << "a" << none;
    QTest::newRow("exponent letter")
        << "txtA" << int(Qt::Key_E) << "E" << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("minus") << "txtB" << int(Qt::Key_Minus) << "-" << none;
    QTest::newRow("plus") << "txtF" << int(Qt::Key_Plus) << "+" << none;
    QTest::newRow("comma") << "txtA" << int(Qt::Key_Comma) << "," << none;
    QTest::newRow("space") << "txtB" << int(Qt::Key_Space) << " " << none;
    QTest::newRow("enter") << "txtF" << int(Qt::Key_Return) << "\r" << none;
    QTest::newRow("keypad enter") << "txtF" << int(Qt::Key_Enter) << "\r"
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("escape") << "txtA" << int(Qt::Key_Escape) << "\x1b" << none;
    QTest::newRow("ctrl+c") << "txtF" << int(Qt::Key_C) << "c" << ctrl;
    QTest::newRow("ctrl+v") << "txtF" << int(Qt::Key_V) << "v" << ctrl;
    QTest::newRow("ctrl+x") << "txtA" << int(Qt::Key_X) << "x" << ctrl;
    QTest::newRow("ctrl+z") << "txtB" << int(Qt::Key_Z) << "z" << ctrl;
    QTest::newRow("ctrl+a") << "txtB" << int(Qt::Key_A) << "a" << ctrl;
    QTest::newRow("ctrl+v as X11 sends it") << "txtF" << int(Qt::Key_V) << "\x16" << ctrl;
    QTest::newRow("e acute") << "txtF" << int(Qt::Key_Eacute) << QStringLiteral("\u00E9") << none;
    QTest::newRow("micro sign") << "txtA" << int(Qt::Key_unknown) << QStringLiteral("\u00B5")
                                << none;
    QTest::newRow("euro sign") << "txtB" << int(Qt::Key_unknown) << QStringLiteral("\u20AC")
                               << none;
}

void EndToEndTest::refusedKeys() {
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(QString, keyText);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    type("txtF", "7");
    type(box, "1");
    m_messages.clear();
    const QString before = text(box);
    QApplication::clipboard()->setText(QStringLiteral("99"));

    QTest::sendKeyEvent(QTest::Click, control(box), static_cast<Qt::Key>(key), keyText, modifiers);

    QCOMPARE(text(box), before);
    QCOMPARE(m_messages.messages(), QStringList{kTypeOnlyNumbers});
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("99")); // nothing cut or copied
}

void EndToEndTest::numbersAndEditingKeysPass() {
    // A second point is let through; the value is read up to it.
    type("txtF", "1.2.3");
    QCOMPARE(text("txtF"), QStringLiteral(" 1.2.3"));
    QCOMPARE(m_window->record().freqMHz, 1.2);
    QTest::keyClick(control("txtF"), Qt::Key_Backspace);
    QTest::keyClick(control("txtF"), Qt::Key_Backspace);
    QTest::keyClick(control("txtF"), Qt::Key_Left);
    QTest::keyClick(control("txtF"), Qt::Key_Backspace);
    QCOMPARE(text("txtF"), QStringLiteral(" 12"));
    QCOMPARE(m_window->record().freqMHz, 12.0);
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::stepTwoBoxesAreFilteredToo() {
    typeTypicalStep1();
    click("Command1");
    for (const QString& box : QStringList{"txtD1", "txtB1"}) {
        m_messages.clear();
        type(box, "2x");
        QCOMPARE(text(box), QStringLiteral(" 2"));
        QCOMPARE(m_messages.messages(), QStringList{kTypeOnlyNumbers});
    }
}

void EndToEndTest::summaryAndListsDiscardEverything_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stepsDone");  // the box is on screen after this many steps
    QTest::addColumn<bool>("editField"); // type into a list's own edit field
    QTest::newRow("cmbSWG1") << "cmbSWG1" << 0 << false;
    QTest::newRow("cmbSWG1 edit field") << "cmbSWG1" << 0 << true;
    QTest::newRow("cmbSWG2") << "cmbSWG2" << 1 << false;
    QTest::newRow("cmbSWG2 edit field") << "cmbSWG2" << 1 << true;
    for (const char* box : {"txtFF", "txtAA", "txtBB", "txtSWG1", "txtDD1", "txtSWG2"}) {
        QTest::newRow(box) << QString::fromLatin1(box) << 2 << false;
    }
}

void EndToEndTest::summaryAndListsDiscardEverything() {
    QFETCH(QString, box);
    QFETCH(int, stepsDone);
    QFETCH(bool, editField);
    finishSteps(stepsDone);
    m_messages.clear();
    QVERIFY(visible(box));

    QWidget* target = control<QWidget>(box);
    if (editField) {
        target = control<QComboBox>(box)->lineEdit();
    }
    const QString before = text(box);
    QApplication::clipboard()->setText(QStringLiteral("99"));
    QTest::keyClicks(target, QStringLiteral("5a."));
    QTest::keyClick(target, Qt::Key_Backspace);
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text(box), before);
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::deleteIsNoCharacter() {
    // Keys that type nothing are not filtered: Delete still edits the boxes
    // whose typing is discarded.
    typeTypicalStep1();
    click("Command1");
    type("txtD1", "2");
    type("txtB1", "2");
    click("Command2");
    QTest::keyClick(control("txtAA"), Qt::Key_Home);
    QTest::keyClick(control("txtAA"), Qt::Key_Delete);
    QCOMPARE(text("txtAA"), QStringLiteral("0"));
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::pasteFromMenuIsNotFiltered() {
    // The edit menu's Paste places text without key presses; the change
    // handler still checks it.
    QApplication::clipboard()->setText(QStringLiteral("45"));
    control("txtF")->paste();
    QCOMPARE(text("txtF"), QStringLiteral(" 45"));
    QCOMPARE(m_messages.messages(),
             QStringList{QStringLiteral("Input HF range only (1.5 to 30MHz)")});
}

void EndToEndTest::typedSpellingShowsAsStored() {
    type("txtF", "7.10");
    type("txtA", "050");
    type("txtB", "20.0");
    click("Command1");
    type("txtD1", "2.");
    type("txtB1", "2");
    click("Command2");
    QCOMPARE(text("txtFF"), QStringLiteral("7.1"));
    QCOMPARE(text("txtAA"), QStringLiteral("50"));
    QCOMPARE(text("txtBB"), QStringLiteral("20"));
    QCOMPARE(text("txtDD1"), QStringLiteral("2"));
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::stepOneFault() {
    // A/2 equal to B: the logarithm for the outer span meets 0.
    type("txtF", "7");
    type("txtA", "40");
    type("txtB", "20");
    QVERIFY(enabled("Command1"));
    m_messages.clear();

    click("Command1");
    QCOMPARE(m_messages.messages(), QStringList{QStringLiteral("Invalid argument")});
    QVERIFY(!visible("Frame3"));
    QVERIFY(visible("Frame4"));
    QVERIFY(!visible("Frame5"));
    QVERIFY(!visible("Frame6"));
    QCOMPARE(text("L"), QStringLiteral(" "));
    QVERIFY(!enabled("Command2"));
    const DesignRecord& record = m_window->record();
    QCOMPARE(record.outerSpanFt, 0.0);
    QCOMPARE(record.antennaWireDiaIn, 0.08);
    QCOMPARE(record.inductanceUH, 0.0);

    // The program goes on: the step-2 boxes still take input, and the check
    // of L, which holds no number, reports its own fault on each change.
    m_messages.clear();
    type("txtD1", "2");
    QCOMPARE(text("txtD1"), QStringLiteral(" 2"));
    QCOMPARE(m_window->record().coilFormerDiaIn, 2.0);
    QCOMPARE(m_messages.messages(), QStringList{QStringLiteral("Type mismatch")});
    QVERIFY(!enabled("Command2"));
}

void EndToEndTest::stepTwoFault() {
    // A coil former diameter of 0: the turn count divides by the radius.
    typeTypicalStep1();
    click("Command1");
    type("txtD1", "0");
    type("txtB1", "2");
    QVERIFY(enabled("Command2"));

    click("Command2");
    QCOMPARE(m_messages.messages(), QStringList{QStringLiteral("Division by zero")});
    QVERIFY(!visible("Frame4"));
    QVERIFY(visible("Frame5"));
    QVERIFY(visible("Frame6"));
    QCOMPARE(text("txtFF"), QStringLiteral("7"));
    QCOMPARE(text("txtSWG1"), QStringLiteral("14"));
    QCOMPARE(text("txtDD1"), QStringLiteral("0"));
    QCOMPARE(text("txtSWG2"), QStringLiteral("20"));
    QCOMPARE(text("txtN"), QStringLiteral(" "));
    QCOMPARE(text("txtB2"), QStringLiteral(" "));
    QCOMPARE(text("L"), QStringLiteral("5.5"));
}

void EndToEndTest::focusGoesOnFromTheHiddenButton_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("byMouse"); // else by Space
    QTest::addColumn<QString>("focused");
    QTest::newRow("Command1 by Space") << 1 << false << "txtD1";
    QTest::newRow("Command1 by mouse") << 1 << true << "txtD1";
    // txtB2 is the first control after Command2 in tab order that is shown.
    QTest::newRow("Command2 by Space") << 2 << false << "txtB2";
    QTest::newRow("Command2 by mouse") << 2 << true << "txtB2";
}

// The OK button is hidden with its panel; the keys typed next must reach the
// next control in tab order without a Tab first.
void EndToEndTest::focusGoesOnFromTheHiddenButton() {
    QFETCH(int, step);
    QFETCH(bool, byMouse);
    QFETCH(QString, focused);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    const auto pressOk = [&](const QString& button) {
        QCOMPARE(focusedControl(), button);
        if (byMouse) {
            QWidget* target = control<QPushButton>(button);
            QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                              target->mapTo(m_window.get(), target->rect().center()));
        } else {
            pressKey(Qt::Key_Space);
        }
    };

    // Tab selects each box's blank, which the digits replace; two Tabs pass
    // the gauge list to the OK button.
    QCOMPARE(focusedControl(), QStringLiteral("txtF"));
    pressKeys("7\t60\t20\t\t");
    if (step == 1) {
        pressOk("Command1");
        QVERIFY(!visible("Command1"));
        QCOMPARE(focusedControl(), focused);
        pressKeys("2");
        QCOMPARE(text("txtD1"), QStringLiteral(" 2"));
        QCOMPARE(m_window->record().coilFormerDiaIn, 2.0);
    } else {
        click("Command1");
        pressKeys("2\t2\t\t");
        pressOk("Command2");
        QVERIFY(visible("txtN"));
        QCOMPARE(focusedControl(), focused);
    }
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::dropsAreRefused_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stepsDone"); // the box is on screen after this many steps
    const std::pair<const char*, int> boxes[] = {
        {"txtF", 0},    {"txtA", 0},  {"txtB", 0},  {"cmbSWG1", 0}, {"txtD1", 1},  {"txtB1", 1},
        {"cmbSWG2", 1}, {"L", 2},     {"txtN", 2},  {"txtB2", 2},   {"txtDD1", 2}, {"txtSWG2", 2},
        {"txtFF", 2},   {"txtAA", 2}, {"txtBB", 2}, {"txtSWG1", 2},
    };
    for (const auto& [box, stepsDone] : boxes) {
        QTest::newRow(box) << QString::fromLatin1(box) << stepsDone;
    }
}

// Text dragged from elsewhere would pass the keystroke filters; no box or
// list takes it. The drag is delivered to the window, which finds the control
// under the pointer, as a real drag is.
void EndToEndTest::dropsAreRefused() {
    QFETCH(QString, box);
    QFETCH(int, stepsDone);
    finishSteps(stepsDone);
    m_messages.clear();
    // Into a list's edit field, where typed text would go.
    QWidget* target = control<QWidget>(box);
    if (auto* list = qobject_cast<QComboBox*>(target)) {
        target = list->lineEdit();
    }
    QVERIFY(target->isVisible());
    const QString before = text(box);

    QMimeData dragged;
    dragged.setText(QStringLiteral("a5"));
    const QPoint at = target->mapTo(m_window.get(), target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
    QCoreApplication::sendEvent(m_window->windowHandle(), &enter);
    if (enter.isAccepted()) {
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        QCoreApplication::sendEvent(m_window->windowHandle(), &drop);
    }
    QCOMPARE(text(box), before);
    QVERIFY(!enter.isAccepted());
    QCOMPARE(m_messages.messages(), QStringList());
}

void EndToEndTest::inputMethodTextIsFiltered_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("stepsDone");
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("passes");
    QTest::addColumn<int>("refused"); // characters refused with a message
    QTest::newRow("letter") << "txtF" << 0 << "a"
                            << "" << 1;
    QTest::newRow("digits") << "txtF" << 0 << "7"
                            << "7" << 0;
    QTest::newRow("letter between digits") << "txtF" << 0 << "1a2"
                                           << "12" << 1;
    QTest::newRow("character outside the basic plane")
        << "txtB1" << 1 << QStringLiteral("\U0001F600") << "" << 1;
    QTest::newRow("gauge list") << "cmbSWG1" << 0 << "5"
                                << "" << 0;
    QTest::newRow("summary box") << "txtFF" << 2 << "5"
                                 << "" << 0;
}

// An input method commits text without key presses; each character meets the
// box's filter as a typed key would.
void EndToEndTest::inputMethodTextIsFiltered() {
    QFETCH(QString, box);
    QFETCH(int, stepsDone);
    QFETCH(QString, committed);
    QFETCH(QString, passes);
    QFETCH(int, refused);
    finishSteps(stepsDone);
    m_messages.clear();
    QLineEdit* field =
        box.startsWith(QLatin1String("cmb")) ? control<QComboBox>(box)->lineEdit() : control(box);
    field->end(false);
    const QString before = field->text();

    QInputMethodEvent event;
    event.setCommitString(committed);
    QCoreApplication::sendEvent(field, &event);

    QCOMPARE(field->text(), before + passes);
    QCOMPARE(m_messages.messages().count(kTypeOnlyNumbers), refused);
}

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
