// Test helpers for the window suites.
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QWidget>

namespace tarvix::test {

MessageSink MessageRecorder::sink() {
    return [this](QWidget*, const QString& text) { m_messages.append(text); };
}

ModalWatchdog::ModalWatchdog(QObject* parent) : QObject(parent) {
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::check);
    m_timer.start();
}

void ModalWatchdog::check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        return;
    }
    const auto* box = qobject_cast<QMessageBox*>(modal);
    m_seen.append(box != nullptr
                      ? QStringLiteral("message box \"%1\"").arg(box->text())
                      : QStringLiteral("modal %1").arg(modal->metaObject()->className()));
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

QString controlText(const QWidget& control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(&control)) {
        return edit->text();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(&control)) {
        return list->currentText();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->text();
    }
    if (const auto* panel = qobject_cast<const QGroupBox*>(&control)) {
        return panel->title();
    }
    return {};
}

WindowState snapshot(const QWidget& window) {
    WindowState state;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) {
            continue;
        }
        state.insert(name, {controlText(*control), control->isVisible(), control->isEnabled()});
    }
    return state;
}

bool WindowFixture::openWindow() {
    m_messages.clear();
    m_watchdog = std::make_unique<ModalWatchdog>();
    m_window = std::make_unique<frmTarvix1>(m_messages.sink());
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

QString WindowFixture::closeWindow() {
    m_window.reset();
    // A test that opens a real box on purpose has switched the watchdog off.
    const QString seen = m_watchdog ? m_watchdog->seen() : QString();
    m_watchdog.reset();
    return seen;
}

} // namespace tarvix::test
