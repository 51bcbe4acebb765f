// The one way a message reaches the user. The window is given a sink; the
// program's sink is a modal message box, tests give one that records.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace tarvix {

// Shows one text and returns when the user has closed it.
using MessageSink = std::function<void(QWidget* parent, const QString& text)>;

// The application's short name, the caption of every message box.
inline constexpr const char* kMessageCaption = "Tarvix";

// A modal box with the text, a single OK button, no icon and the caption
// "Tarvix". Blocks until the user closes it. Qt presents it to assistive
// technology as an alert, icon or not, and announces it when it is shown.
void showMessageBox(QWidget* parent, const QString& text);

} // namespace tarvix
