// The monkey's key table.
#include "monkey_keys.h"

#include <vector>

namespace tarvix::test {

namespace {

std::vector<MonkeyKey> makeKeys() {
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    std::vector<MonkeyKey> keys;
    const auto character = [&](Qt::Key key, const QString& text, bool passes, int weight,
                               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        keys.push_back(
            {key, modifiers, text, QStringLiteral("'%1'").arg(text), true, passes, weight});
    };
    const auto control = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, const char* label,
                             bool typesCharacter, bool passes, int weight) {
        keys.push_back({key, modifiers, QString(), QString::fromLatin1(label), typesCharacter,
                        passes, weight});
    };

    for (int digit = 0; digit <= 9; ++digit) {
        character(static_cast<Qt::Key>(Qt::Key_0 + digit), QString::number(digit), true, 5);
    }
    character(Qt::Key_Period, QStringLiteral("."), true, 8);
    for (const char letter : {'a', 'e', 'd', 'x', 'q'}) {
        character(static_cast<Qt::Key>(Qt::Key_A + (letter - 'a')), QString(QLatin1Char(letter)),
                  false, 1);
    }
    character(Qt::Key_E, QStringLiteral("E"), false, 1, Qt::ShiftModifier);
    character(Qt::Key_D, QStringLiteral("D"), false, 1, Qt::ShiftModifier);
    character(Qt::Key_Space, QStringLiteral(" "), false, 1);
    character(Qt::Key_Minus, QStringLiteral("-"), false, 1);
    character(Qt::Key_Plus, QStringLiteral("+"), false, 1);
    character(Qt::Key_Comma, QStringLiteral(","), false, 1);
    character(Qt::Key_Eacute, QString::fromUtf8("\u00e9"), false, 1);
    character(Qt::Key_unknown, QString::fromUtf8("\u0663"), false, 1); // Arabic-Indic three
    character(Qt::Key_unknown, QString::fromUtf8("\uff11"), false, 1); // full-width one

    control(Qt::Key_Backspace, none, "Backspace", true, true, 8);
    control(Qt::Key_Return, none, "Enter", true, false, 2);
    control(Qt::Key_Escape, none, "Escape", true, false, 2);
    control(Qt::Key_C, Qt::ControlModifier, "Ctrl+C", true, false, 2);
    control(Qt::Key_V, Qt::ControlModifier, "Ctrl+V", true, false, 2);
    control(Qt::Key_X, Qt::ControlModifier, "Ctrl+X", true, false, 2);
    control(Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z", true, false, 2);
    control(Qt::Key_A, Qt::ControlModifier, "Ctrl+A", true, false, 1);

    control(Qt::Key_Delete, none, "Delete", false, false, 5);
    control(Qt::Key_Left, none, "Left", false, false, 3);
    control(Qt::Key_Right, none, "Right", false, false, 2);
    control(Qt::Key_Home, none, "Home", false, false, 2);
    control(Qt::Key_End, none, "End", false, false, 2);
    control(Qt::Key_Left, Qt::ShiftModifier, "Shift+Left", false, false, 2);
    control(Qt::Key_Home, Qt::ShiftModifier, "Shift+Home", false, false, 2);
    control(Qt::Key_End, Qt::ShiftModifier, "Shift+End", false, false, 1);
    control(Qt::Key_Up, none, "Up", false, false, 1);
    control(Qt::Key_Down, none, "Down", false, false, 1);
    control(Qt::Key_Tab, none, "Tab", false, false, 2);
    control(Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", false, false, 1);
    return keys;
}

const std::vector<MonkeyKey>& allKeys() {
    static const std::vector<MonkeyKey> keys = makeKeys();
    return keys;
}

} // namespace

const MonkeyKey& keyLabelled(const QString& label) {
    for (const MonkeyKey& key : allKeys()) {
        if (key.label == label) {
            return key;
        }
    }
    qFatal("the monkey has no key %s", qPrintable(label));
}

const MonkeyKey& randomKey(std::mt19937_64& random) {
    const std::vector<MonkeyKey>& keys = allKeys();
    static const std::discrete_distribution<std::size_t> byWeight = [] {
        std::vector<int> weights;
        for (const MonkeyKey& key : allKeys()) {
            weights.push_back(key.weight);
        }
        return std::discrete_distribution<std::size_t>(weights.begin(), weights.end());
    }();
    auto draw = byWeight; // distributions keep state; a copy keeps the table const
    return keys[draw(random)];
}

} // namespace tarvix::test
