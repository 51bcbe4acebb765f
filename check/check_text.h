// Text between the check window's Qt strings and the libraries' std::string.
#pragma once

#include <QLineEdit>
#include <QString>

#include <string>

namespace tarvix {

inline QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace tarvix
