// Benchmarks of the real window on Qt's offscreen platform: creating and
// showing frmTarvix1 until its first paint, one keystroke delivered to txtF
// with its filter, change handler, Validate and repaint, and a megabyte
// pasted into txtF. Messages go to a counting sink instead of a modal box, so
// a benchmark that raises one fails instead of waiting for a click.
#include "bench/bench_main.h"
#include "bench/offscreen.h"
#include "ui/control_builder.h"
#include "ui/frm_tarvix1.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>

namespace tarvix::bench {

namespace {

constexpr qint64 kPaintTimeoutMs = 5000;
constexpr qsizetype kPasteChars = qsizetype{1} << 20;

// Notes the paint events of one widget. Seeing one means the paint pass that
// sent it is under way; the call to processEvents that delivered it returns
// only when that pass, children included, is done.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget) { widget.installEventFilter(this); }

    // Processes events until the widget has been painted since the last call;
    // false when that does not happen within kPaintTimeoutMs.
    bool waitForPaint() {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!m_painted) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!m_painted && elapsed.elapsed() > kPaintTimeoutMs) {
                return false;
            }
        }
        m_painted = false;
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            m_painted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};

// The window as the program shows it, with a sink that counts messages.
struct ShownWindow {
    int messages = 0;
    frmTarvix1 window{[this](QWidget*, const QString&) { ++messages; }};
    QLineEdit* txtF = window.findChild<QLineEdit*>(QStringLiteral("txtF"));
    PaintWatch txtFPaints{*txtF};

    // Shows the window and fills step 1 as on the walkthrough (7 MHz,
    // A = 60 ft, B = 20 ft), with a trailing zero in txtF that a benchmark can
    // type again and take back without changing the value. Empty when all
    // went as expected.
    std::string prepare() {
        PaintWatch windowPaints(window);
        window.show();
        if (!windowPaints.waitForPaint()) {
            return "the window was not painted";
        }
        txtF->setFocus();
        txtF->setText(QStringLiteral("7.0"));
        window.findChild<QLineEdit*>(QStringLiteral("txtA"))->setText(QStringLiteral("60"));
        window.findChild<QLineEdit*>(QStringLiteral("txtB"))->setText(QStringLiteral("20"));
        if (!txtFPaints.waitForPaint()) {
            return "txtF was not painted";
        }
        if (messages != 0 || window.record().freqMHz != 7) {
            return "filling step 1 did not go as the walkthrough does";
        }
        return {};
    }
};

void createShowFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        int messages = 0;
        auto window = std::make_unique<frmTarvix1>([&](QWidget*, const QString&) { ++messages; });
        PaintWatch paints(*window);
        window->show();
        const bool painted = paints.waitForPaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
        if (!painted || messages != 0) {
            state.SkipWithError(painted ? "showing the window raised a message"
                                        : "the window was not painted");
            break;
        }
    }
}

// One keystroke per iteration: "0" typed at the end of txtF, then, on the
// next iteration, a backspace that removes it again. Each is a press and a
// release as the platform would deliver them, followed by the repaint of txtF.
void keystrokeTxtF(benchmark::State& state) {
    // Every keystroke must reach the box: one that the filter dropped would
    // leave only a cursor blink to repaint txtF. Counted before the window
    // exists so that the count outlives it.
    qint64 changes = 0;
    ShownWindow shown;
    if (const std::string problem = shown.prepare(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    QObject::connect(shown.txtF, &QLineEdit::textChanged, shown.txtF, [&changes] { ++changes; });
    bool typed = false;
    for (auto _ : state) {
        QTest::keyClick(shown.txtF, typed ? Qt::Key_Backspace : Qt::Key_0);
        typed = !typed;
        if (!shown.txtFPaints.waitForPaint()) {
            state.SkipWithError("txtF was not repainted after a keystroke");
            break;
        }
    }
    if (changes != state.iterations()) {
        state.SkipWithError("a keystroke did not change the text of txtF");
    } else if (shown.messages != 0 || shown.window.record().freqMHz != 7) {
        state.SkipWithError("a keystroke did not leave 7 MHz without a message");
    }
}

// Select all, paste from the clipboard and repaint. The clipboard holds a
// megabyte: "7.000..." and "8.000..." take turns, so that every paste is a
// change, with a frequency in range and no message.
void pasteTxtF(benchmark::State& state) {
    ShownWindow shown;
    if (const std::string problem = shown.prepare(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    QString seven = QStringLiteral("7.");
    seven.resize(kPasteChars, QLatin1Char('0'));
    QString eight = seven;
    eight[0] = QLatin1Char('8');
    QClipboard* clipboard = QGuiApplication::clipboard();
    bool sevenNext = true;
    for (auto _ : state) {
        state.PauseTiming();
        clipboard->setText(sevenNext ? seven : eight);
        state.ResumeTiming();
        shown.txtF->selectAll();
        shown.txtF->paste();
        if (!shown.txtFPaints.waitForPaint()) {
            state.SkipWithError("txtF was not repainted after the paste");
            break;
        }
        if (shown.window.record().freqMHz != (sevenNext ? 7 : 8)) {
            state.SkipWithError("the pasted frequency did not reach the record");
            break;
        }
        sevenNext = !sevenNext;
    }
    // A line edit keeps at most maxLength() characters of a paste.
    state.counters["kept_chars"] = static_cast<double>(shown.txtF->text().size());
    state.SetBytesProcessed(state.iterations() * kPasteChars);
    if (shown.messages != 0) {
        state.SkipWithError("the paste raised a message");
    }
}

} // namespace

} // namespace tarvix::bench

int main(int argc, char** argv) {
    tarvix::bench::OffscreenArguments qt(argv[0]);
    QApplication app(qt.argc, qt.argv);
    // As the program's own start-up does.
    QApplication::setApplicationName(QStringLiteral("Tarvix"));
    QApplication::setWindowIcon(tarvix::programIcon());
    tarvix::useDialogFont();

    using namespace tarvix::bench;
    return runBenchmarks(argc, argv,
                         {
                             {"window/create_show_first_paint", createShowFirstPaint},
                             {"window/keystroke/txtF", keystrokeTxtF},
                             {"window/paste_1MiB/txtF/7.000", pasteTxtF},
                         });
}
