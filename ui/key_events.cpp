// Mapping of Qt key events to classic character codes, and the event filter
// that feeds them, and the text input methods commit, to the entry filters.
#include "ui/key_events.h"

#include <QEvent>
#include <QInputMethodEvent>
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

// The characters of an input method's committed text that the handler lets
// through, judged one by one as typed keys are. A character outside the basic
// plane is judged by its first code unit, as a key press would be, and kept
// or dropped whole.
QString passedCharacters(const QString& committed, const KeyPressFilter::Handler& handler) {
    QString passed;
    for (qsizetype i = 0; i < committed.size();) {
        const qsizetype length =
            committed.at(i).isHighSurrogate() && i + 1 < committed.size() ? 2 : 1;
        if (handler(static_cast<KeyAscii>(committed.at(i).unicode())) != 0) {
            passed.append(committed.mid(i, length));
        }
        i += length;
    }
    return passed;
}

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
    // Text an input method commits reaches the box without a key press; it
    // goes through the handler too. A box that turns input methods off is not
    // spared this: Qt's edit fields take committed text whatever that setting.
    if (event->type() == QEvent::InputMethod) {
        auto* inputMethod = static_cast<QInputMethodEvent*>(event);
        const QString committed = inputMethod->commitString();
        const QString passed = passedCharacters(committed, m_handler);
        if (passed != committed) {
            // When nothing passes, nothing around the caret is replaced either:
            // the box stays as it was, as for a refused key.
            const bool any = !passed.isEmpty();
            inputMethod->setCommitString(passed, any ? inputMethod->replacementStart() : 0,
                                         any ? inputMethod->replacementLength() : 0);
        }
        return QObject::eventFilter(watched, event);
    }
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
