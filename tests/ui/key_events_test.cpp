// From Qt key events to classic character codes, and the filter that lets
// the entry handlers pass or discard a character before the box sees it.
#include "ui/key_events.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace tarvix;

class KeyEventsTest : public QObject {
    Q_OBJECT

private slots:
    void classicKeyCode_data();
    void classicKeyCode();
    void judgedOnceOnKeyPress_data();
    void judgedOnceOnKeyPress();
    void passedCharacterReachesTheBox();
    void keysWithoutCharacterBypassTheHandler_data();
    void keysWithoutCharacterBypassTheHandler();
};

void KeyEventsTest::classicKeyCode_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code"); // -1: no character
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;

    QTest::newRow("digit") << int(Qt::Key_7) << none << "7" << 55;
    QTest::newRow("keypad digit") << int(Qt::Key_7) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << "7" << 55;
    QTest::newRow("point") << int(Qt::Key_Period) << none << "." << 46;
    QTest::newRow("small letter") << int(Qt::Key_A) << none << "a" << 97;
    QTest::newRow("capital letter") << int(Qt::Key_A) << shift << "A" << 65;
    QTest::newRow("space") << int(Qt::Key_Space) << none << " " << 32;
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << "-" << 45;
    QTest::newRow("e acute") << int(Qt::Key_Eacute) << none << QStringLiteral("\u00E9") << 0xE9;
    QTest::newRow("euro sign") << int(Qt::Key_unknown) << none << QStringLiteral("\u20AC")
                               << 0x20AC;
    QTest::newRow("first unit of a pair")
        << int(Qt::Key_unknown) << none << QStringLiteral("\U0001F600") << 0xD83D;

    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << "\b" << 8;
    QTest::newRow("backspace without text") << int(Qt::Key_Backspace) << none << "" << 8;
    QTest::newRow("return") << int(Qt::Key_Return) << none << "\r" << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << "\r" << 13;
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << "\x1b" << 27;

    // Synthetic events carry the letter, X11 the control character.
    QTest::newRow("ctrl+a") << int(Qt::Key_A) << ctrl << "a" << 1;
    QTest::newRow("ctrl+c, synthetic") << int(Qt::Key_C) << ctrl << "c" << 3;
    QTest::newRow("ctrl+c, X11") << int(Qt::Key_C) << ctrl << "\x03" << 3;
    QTest::newRow("ctrl+v, no text") << int(Qt::Key_V) << ctrl << "" << 22;
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << ctrl << "x" << 24;
    QTest::newRow("ctrl+shift+z") << int(Qt::Key_Z) << (ctrl | shift) << "Z" << 26;
    QTest::newRow("altgr letter") << int(Qt::Key_E) << (ctrl | Qt::AltModifier)
                                  << QStringLiteral("\u20AC") << 0x20AC;

    QTest::newRow("delete, X11") << int(Qt::Key_Delete) << none << "\x7f" << -1;
    QTest::newRow("delete, offscreen") << int(Qt::Key_Delete) << none << "" << -1;
    QTest::newRow("left arrow") << int(Qt::Key_Left) << none << "" << -1;
    QTest::newRow("home") << int(Qt::Key_Home) << none << "" << -1;
    QTest::newRow("end") << int(Qt::Key_End) << none << "" << -1;
    QTest::newRow("f1") << int(Qt::Key_F1) << none << "" << -1;
    QTest::newRow("tab") << int(Qt::Key_Tab) << none << "\t" << -1;
    QTest::newRow("ctrl+left") << int(Qt::Key_Left) << ctrl << "" << -1;
    QTest::newRow("ctrl+digit") << int(Qt::Key_1) << ctrl << "1" << -1;
    QTest::newRow("shift+insert") << int(Qt::Key_Insert) << shift << "" << -1;
}

void KeyEventsTest::classicKeyCode() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    const std::optional<KeyAscii> mapped = tarvix::classicKeyCode(key, modifiers, text);
    QCOMPARE(mapped.value_or(-1), code);
}

void KeyEventsTest::judgedOnceOnKeyPress_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    // The clipboard keys arrive first as ShortcutOverride, which the box
    // accepts; the handler must see them once, and a discard must stop the box.
    QTest::newRow("ctrl+v") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << 22;
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier) << 24;
    QTest::newRow("ctrl+z") << int(Qt::Key_Z) << Qt::KeyboardModifiers(Qt::ControlModifier) << 26;
    QTest::newRow("letter") << int(Qt::Key_Q) << Qt::KeyboardModifiers() << 113;
}

void KeyEventsTest::judgedOnceOnKeyPress() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    QLineEdit box(QStringLiteral("12"));
    box.selectAll();
    QList<KeyAscii> seen;
    KeyPressFilter filter(
        [&seen](KeyAscii typed) {
            seen.append(typed);
            return 0;
        },
        nullptr);
    box.installEventFilter(&filter);
    QApplication::clipboard()->setText(QStringLiteral("99"));

    QTest::keyClick(&box, static_cast<Qt::Key>(key), modifiers);

    QCOMPARE(seen, QList<KeyAscii>{code});
    QCOMPARE(box.text(), QStringLiteral("12"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("99"));
}

void KeyEventsTest::passedCharacterReachesTheBox() {
    QLineEdit box;
    KeyPressFilter filter([](KeyAscii typed) { return typed; }, nullptr);
    box.installEventFilter(&filter);
    QTest::keyClicks(&box, QStringLiteral("4.5"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.text(), QStringLiteral("4."));
}

void KeyEventsTest::keysWithoutCharacterBypassTheHandler_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("delete") << int(Qt::Key_Delete) << "23";
    QTest::newRow("end") << int(Qt::Key_End) << "123";
    QTest::newRow("right arrow") << int(Qt::Key_Right) << "123";
}

void KeyEventsTest::keysWithoutCharacterBypassTheHandler() {
    QFETCH(int, key);
    QFETCH(QString, expected);
    QLineEdit box(QStringLiteral("123"));
    box.setCursorPosition(0);
    int calls = 0;
    KeyPressFilter filter(
        [&calls](KeyAscii) {
            ++calls;
            return 0;
        },
        nullptr);
    box.installEventFilter(&filter);
    QTest::keyClick(&box, static_cast<Qt::Key>(key));
    QCOMPARE(calls, 0);
    QCOMPARE(box.text(), expected);
}

QTEST_MAIN(KeyEventsTest)
#include "key_events_test.moc"
