// Helpers shared by the window tests: a message sink that records instead of
// showing a box, a watchdog that fails a test when a real modal dialog
// appears, and a snapshot of what the user can see of the window.
#pragma once

#include "ui/frm_tarvix1.h"
#include "ui/message_box.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <memory>

class QWidget;

namespace tarvix::test {

// Receives what the window asks the desktop to open, in place of a browser:
// register it with QDesktopServices::setUrlHandler(scheme, &recorder, "open").
// That call only takes the slot by name; there is no pointer-to-member form.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class MessageRecorder {
public:
    MessageSink sink();
    const QStringList& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QStringList m_messages;
};

// Polls for a modal widget. A test that meets one would otherwise hang in the
// dialog's event loop; the watchdog notes it, closes it and lets the test
// fail in its cleanup.
class ModalWatchdog : public QObject {
    Q_OBJECT

public:
    explicit ModalWatchdog(QObject* parent = nullptr);
    bool tripped() const { return !m_seen.isEmpty(); }
    QString seen() const { return m_seen.join(QStringLiteral("; ")); }

private:
    void check();

    QTimer m_timer;
    QStringList m_seen;
};

// The window of one test function, made afresh in init() and closed in
// cleanup(), with its recorded messages and a watchdog for real modal boxes.
class WindowFixture {
protected:
    // Shows a fresh window; false when it never became exposed.
    bool openWindow();
    // Closes the window; what real modal dialogs were met, empty when none.
    QString closeWindow();

    MessageRecorder m_messages;
    std::unique_ptr<ModalWatchdog> m_watchdog;
    std::unique_ptr<frmTarvix1> m_window;
};

// Every named control's text, visibility and enabled state, keyed by name.
struct ControlState {
    QString text;
    bool visible = false;
    bool enabled = false;
    bool operator==(const ControlState&) const = default;
};
using WindowState = QMap<QString, ControlState>;
WindowState snapshot(const QWidget& window);

// The user-visible text of a control of any kind.
QString controlText(const QWidget& control);

} // namespace tarvix::test
