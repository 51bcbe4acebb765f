// The keys the monkey presses: digits and the point (which the numeric filter
// passes), letters, signs, blanks and non-ASCII characters (which it refuses),
// the control keys it refuses (Enter, Escape, Ctrl+C/V/X/Z/A), and the keys
// that type nothing and are never filtered (Delete, arrows, Home, End, Tab,
// selection with Shift).
#pragma once

#include <QString>

#include <random>

namespace tarvix::test {

struct MonkeyKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;        // sent as the event's text; empty lets QTest derive it
    QString label;       // for the event log
    bool typesCharacter; // reaches the keystroke filters as a character code
    bool passesNumeric;  // digit, "." or Backspace
    int weight;
};

// A key drawn by weight; digits come most often so that real numbers form.
const MonkeyKey& randomKey(std::mt19937_64& random);

// The key of the table with this label ("'5'", "'.'", "End", "Shift+Home").
const MonkeyKey& keyLabelled(const QString& label);

} // namespace tarvix::test
