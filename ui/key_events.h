// Qt key events seen as the classic key-press event the entry filters expect:
// one character code per typed character, which the filter may pass or
// discard before the control acts on it.
#pragma once

#include "entry/handlers.h"

#include <QObject>

#include <functional>
#include <optional>

class QString;

namespace tarvix {

// The character code a key event stands for: 8 Backspace, 13 Enter/Return,
// 27 Escape, 1..26 for Ctrl+letter, a printable character as its first UTF-16
// code unit. Keys that type no character (Delete, arrows, Home, End, Tab,
// function keys) give no code and are not filtered.
std::optional<KeyAscii> classicKeyCode(int key, Qt::KeyboardModifiers modifiers,
                                       const QString& text);

// Runs a key-press handler on every key press of the controls it is installed
// on, and on each character of text an input method commits to them; a
// character the handler sets to 0 never reaches the control.
class KeyPressFilter : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<KeyAscii(KeyAscii)>;

    KeyPressFilter(Handler handler, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};

} // namespace tarvix
