// What is settled before the window opens: whether the platform Qt will use
// needs a display server, and the names that tie the running window to its
// desktop entry.
#include "ui/start_up.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <string>

using namespace tarvix;

Q_DECLARE_METATYPE(tarvix::HostSystem)

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void needsDisplayServer_data();
    void needsDisplayServer();
    void desktopEntryNamesTheRunningApplication();
};

void StartUpTest::needsDisplayServer_data() {
    QTest::addColumn<HostSystem>("host");
    QTest::addColumn<QString>("requested"); // QT_QPA_PLATFORM, empty when unset
    QTest::addColumn<bool>("needed");
    using enum HostSystem;

    // Unset: the host's own window system.
    QTest::newRow("Linux") << OtherUnix << "" << true;
    QTest::newRow("Windows") << Windows << "" << false;
    QTest::newRow("macOS") << MacOS << "" << false;
    // Named: X11 and Wayland need their server wherever Qt runs.
    QTest::newRow("X11") << OtherUnix << "xcb" << true;
    QTest::newRow("X11 with options") << OtherUnix << "xcb:nomitshm" << true;
    QTest::newRow("Wayland") << OtherUnix << "wayland" << true;
    QTest::newRow("Wayland with EGL") << OtherUnix << "wayland-egl" << true;
    QTest::newRow("Wayland, then X11") << OtherUnix << "wayland;xcb" << true;
    QTest::newRow("X11 asked for on macOS") << MacOS << "xcb" << true;
    QTest::newRow("offscreen") << OtherUnix << "offscreen" << false;
    QTest::newRow("framebuffer") << OtherUnix << "linuxfb" << false;
    QTest::newRow("EGL full screen") << OtherUnix << "eglfs" << false;
    QTest::newRow("VNC") << OtherUnix << "vnc" << false;
    // Qt falls back along the list to one that needs no server.
    QTest::newRow("Wayland, then offscreen") << OtherUnix << "wayland;offscreen" << false;
    QTest::newRow("Windows with options") << Windows << "windows:darkmode=2" << false;
}

void StartUpTest::needsDisplayServer() {
    QFETCH(HostSystem, host);
    QFETCH(QString, requested);
    QFETCH(bool, needed);
    QCOMPARE(tarvix::needsDisplayServer(host, requested.toStdString()), needed);
}

// Docks and launchers find the menu entry of a running window by the desktop
// file name (Wayland) or by the window's class, which X11 takes from the
// application name (StartupWMClass in the entry).
void StartUpTest::desktopEntryNamesTheRunningApplication() {
    setApplicationIdentity();
    QFile entry(QStringLiteral(TARVIX_DIST_DIR "/") + QGuiApplication::desktopFileName() +
                QStringLiteral(".desktop"));
    QVERIFY2(entry.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(entry.fileName()));
    QString windowClass;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QLatin1String("StartupWMClass="))) {
            windowClass = line.section(QLatin1Char('='), 1);
        }
    }
    QCOMPARE(windowClass, QGuiApplication::applicationName());
}

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
