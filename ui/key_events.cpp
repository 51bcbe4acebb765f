// Mapping of Qt key events to classic character codes, and the event filter
// that feeds them to the entry filters.
#include "ui/key_events.h"

#include <QEvent>
#include <QKeyEvent>
#include <QString>

#include <utility>

namespace tarvix {

namespace {

constexpr KeyAscii kBackspace = 8;
constexpr KeyAscii kEnter = 13;
constexpr KeyAscii kEscape = 27;
constexpr char16_t kFirstPrintable = 32;
constexpr char16_t kDeleteCharacter = 127;

} // namespace

std::optional<KeyAscii> classicKeyCode(int key, Qt::KeyboardModifiers modifiers,
                                       const QString& text) {
    switch (key) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Escape:
        return kEscape;
    default:
        break;
    }
    // Ctrl+letter is read from the key, not the text: X11 delivers Ctrl+C with
    // the text "\x03", synthetic events deliver it with "c". AltGr arrives as
    // Ctrl+Alt on some systems and types ordinary characters.
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    if (control && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return key - Qt::Key_A + 1;
    }
    if (control && !alt) {
        // Ctrl with anything but a letter types nothing (Ctrl+Left moves the
        // caret, Ctrl+Insert copies).
        return std::nullopt;
    }
    if (text.isEmpty()) {
        return std::nullopt;
    }
    // Delete arrives as "\x7f" under X11 and as "" elsewhere; Tab as "\t". Neither
    // types a character.
    const char16_t first = text.front().unicode();
    if (first < kFirstPrintable || first == kDeleteCharacter) {
        return std::nullopt;
    }
    return static_cast<KeyAscii>(first);
}

KeyPressFilter::KeyPressFilter(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)) {}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
    // Every key reaches a widget twice, as ShortcutOverride and then as
    // KeyPress; the character is judged once, on the KeyPress. An edit box
    // accepts the ShortcutOverride of Ctrl+V and the like so that the KeyPress
    // follows; discarding that KeyPress is what keeps the box from pasting.
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* keyEvent = static_cast<const QKeyEvent*>(event);
    const std::optional<KeyAscii> code =
        classicKeyCode(keyEvent->key(), keyEvent->modifiers(), keyEvent->text());
    if (!code) {
        return QObject::eventFilter(watched, event);
    }
    // The filters only pass a character or discard it (code 0).
    return m_handler(*code) == 0;
}

} // namespace tarvix
