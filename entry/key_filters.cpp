// Keystroke filters of the input boxes, the summary boxes and the gauge lists.
#include "entry/handlers.h"

#include <string>

namespace tarvix {

namespace {

constexpr KeyAscii backspace = 8;
constexpr KeyAscii decimalPoint = 46;

// The key code as the one-character text it stands for. A key event carries a
// 16-bit code; anything outside that range cannot be a single code unit, so
// it is given a code unit that sorts above every digit and is refused.
std::u16string characterText(KeyAscii key) {
    if (key < 0 || key > 0xFFFF) {
        return std::u16string(1, u'\uFFFF');
    }
    return std::u16string(1, static_cast<char16_t>(key));
}

} // namespace

KeyAscii numericKeyPress(KeyAscii key, Form& form) {
    if (key == backspace) {
        return key;
    }
    // The test is a text comparison, code unit by code unit, against "0" and
    // "90"; for one character it lets through exactly the digits, and the
    // decimal point is let through by its code.
    const std::u16string typed = characterText(key);
    if ((typed < u"0" || typed > u"90") && key != decimalPoint) {
        // The character is dropped before the message appears, so the box
        // never shows it, not even while the message is open.
        key = 0;
        form.message("Type only numbers");
    }
    return key;
}

KeyAscii discardKeyPress(KeyAscii /*key*/) {
    return 0;
}

} // namespace tarvix
