// A monkey on the real window: seeded random keystrokes, pastes, gauge picks
// and clicks, in any order, with every message answered by a recorder. After
// each event the window and its design record must still make sense (see
// Expectations). A failure names the seed and the event, and the seed's row
// replays the same run:  tarvix_monkey_test randomSession:seed-<n>
//
// The expected values come from the code under test (the lenient parse, the
// calculation functions, Validate's rules restated): the monkey finds
// crashes, broken wiring and states that contradict each other, not wrong
// values. The calculation, entry and window tests pin the values.
#include "expectations.h"
#include "monkey_keys.h"
#include "ui/control_table.h"
#include "ui/frm_tarvix1.h"
#include "window_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using namespace tarvix;
using namespace tarvix::test;

namespace {

// Per seed: kEpisodes fresh windows, kEventsPerEpisode events each. Five seeds
// give 25,000 events a run.
constexpr int kEpisodes = 25;
constexpr int kEventsPerEpisode = 200;
constexpr std::size_t kRecentEvents = 25;
constexpr int kEpisodesPerHugePaste = 12;

const QString kMegabyteOfDigits = QString(1 << 20, QLatin1Char('7'));

// Texts a context-menu paste can put into a box. None of them is typed, so
// none passes through the keystroke filters.
const QStringList& pasteTexts() {
    static const QStringList texts{
        QString(),
        QStringLiteral(" "),
        QStringLiteral("   "),
        QStringLiteral("\t"),
        QStringLiteral("1E400"),
        QStringLiteral("-1E400"),
        QStringLiteral("1E-400"),
        QStringLiteral("-0"),
        QStringLiteral("NaN"),
        QStringLiteral("inf"),
        QStringLiteral("0"),
        QStringLiteral("."),
        QStringLiteral("7"),
        QStringLiteral("14"),
        QStringLiteral("60"),
        QStringLiteral("20"),
        QStringLiteral("30"),
        QStringLiteral("1.5"),
        QStringLiteral("3"),
        QStringLiteral("10"),
        QStringLiteral("11"),
        QStringLiteral("-5"),
        QStringLiteral("1D2"),
        QStringLiteral("2.6e1"),
        QStringLiteral("3 0"),
        QStringLiteral("\t1\n2"),
        QStringLiteral("12..5"),
        QStringLiteral("0.00001"),
        QStringLiteral("1E308"),
        QStringLiteral("1.79769313486232E+308"),
        QStringLiteral("abc"),
        QString::fromUtf8("\u0663\u0660"), // Arabic-Indic digits 30
        QString::fromUtf8("\u0967\u096a"), // Devanagari digits 14
        QString::fromUtf8("\uff11\uff14"), // full-width digits 14
        QString::fromUtf8("7\u00a0MHz"),   // no-break space
        QStringLiteral("0.") + QString(4000, QLatin1Char('3')),
    };
    return texts;
}

// How far the monkey got, printed per seed so that a run which never reaches
// the results (and so checks little) shows.
struct Tally {
    int events = 0;
    int messages = 0;
    int faults = 0;
    int step1Clicks = 0;
    int step2Clicks = 0;
    int windings = 0; // Command2 clicks that ended with a revised length
    int linkClicks = 0;
    int hugePastes = 0;

    QString summary() const {
        return QStringLiteral("%1 events, %2 messages (%3 faults), Command1 clicked %4 times, "
                              "Command2 %5 times, %6 complete windings, %7 author-link clicks, "
                              "%8 megabyte pastes")
            .arg(events)
            .arg(messages)
            .arg(faults)
            .arg(step1Clicks)
            .arg(step2Clicks)
            .arg(windings)
            .arg(linkClicks)
            .arg(hugePastes);
    }
};

// One window driven by one random stream.
class Monkey {
public:
    Monkey(std::mt19937_64& random, UrlRecorder& urls, Tally& tally, bool withHugePaste)
        : m_random(random), m_urls(urls), m_tally(tally) {
        m_window = std::make_unique<frmTarvix1>(m_messages.sink());
        // The monkey reaches for any control at any time, so all are made
        // now rather than when first needed; hidden ones stay hidden.
        m_window->createAllControls();
        m_window->show();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get())) {
            qWarning("the window did not become active; keys go to the focus widget regardless");
        }
        m_command1 = control<QPushButton>("Command1");
        m_command2 = control<QPushButton>("Command2");
        m_link = control<QLabel>("Label11");
        QObject::connect(m_command1, &QPushButton::clicked, m_window.get(),
                         [this] { ++m_clicks1; });
        QObject::connect(m_command2, &QPushButton::clicked, m_window.get(),
                         [this] { ++m_clicks2; });
        m_expect = std::make_unique<Expectations>(*m_window);
        // Half the windows start with a whole design typed on purpose, a
        // quarter with step 1 only; the rest are random from the start.
        const int plan = pick(4);
        if (plan < 3) {
            queueWholeDesign(plan < 2);
        }
        if (withHugePaste) {
            // Anywhere among the planned events, while an input box is shown.
            const auto at = m_script.begin() + pick(static_cast<int>(m_script.size()) + 1);
            m_script.emplace(at, [this] { return hugePaste(); });
        }
    }

    // Runs the events; returns the first broken expectation, or nothing.
    QString run(int events) {
        for (int i = 0; i < events; ++i) {
            m_messages.clear();
            m_clicks1 = m_clicks2 = 0;
            const qsizetype urlsBefore = m_urls.opened.size();
            m_expect->beforeEvent();

            const Event event = randomEvent();
            remember(QStringLiteral("%1: %2").arg(i).arg(event.description));

            EventOutcome outcome;
            outcome.messages = m_messages.messages();
            outcome.command1Clicks = m_clicks1;
            outcome.command2Clicks = m_clicks2;
            outcome.typed = event.typed;
            outcome.pasted = event.pasted;
            outcome.target = event.target;
            outcome.urls = m_urls.opened.mid(urlsBefore);
            outcome.linkClicked = event.linkClicked;
            const QString broken = m_expect->afterEvent(outcome);
            count(outcome);
            if (!broken.isEmpty()) {
                return QStringLiteral("event %1 (%2): %3\nrecent events:\n  %4")
                    .arg(i)
                    .arg(event.description, broken, recent().join(QStringLiteral("\n  ")));
            }
            if (i % 64 == 0) {
                // Let deferred work (repaints, deletions) run as the event loop would.
                QCoreApplication::processEvents();
            }
        }
        return {};
    }

private:
    void count(const EventOutcome& outcome) {
        ++m_tally.events;
        m_tally.messages += static_cast<int>(outcome.messages.size());
        for (const QString& message : outcome.messages) {
            m_tally.faults += isFaultText(message) ? 1 : 0;
        }
        m_tally.step1Clicks += outcome.command1Clicks;
        m_tally.step2Clicks += outcome.command2Clicks;
        if (outcome.command2Clicks > 0 &&
            control<QLineEdit>("txtB2")->text().startsWith(QLatin1String("Revised length"))) {
            ++m_tally.windings;
        }
        m_tally.linkClicks += outcome.linkClicked ? 1 : 0;
    }

    struct Event {
        explicit Event(QString what, QWidget* box = nullptr)
            : description(std::move(what)), target(box) {}

        QString description;
        QWidget* target;                  // the box a key or paste went to
        const MonkeyKey* typed = nullptr; // the key, for a key event
        std::optional<QString> pasted;    // the whole new text, for a replacing paste
        bool linkClicked = false;
    };

    template <class Widget> Widget* control(const char* name) const {
        auto* widget = m_window->findChild<Widget*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("frmTarvix1 has no control %s", name);
        }
        return widget;
    }

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    // The text fields a user can reach now: the visible boxes and the edit
    // fields of the visible gauge lists.
    std::vector<QLineEdit*> visibleFields(bool editableOnly) const {
        std::vector<QLineEdit*> fields;
        for (QLineEdit* field : m_window->findChildren<QLineEdit*>()) {
            if (field->isVisible() && !(editableOnly && field->isReadOnly())) {
                fields.push_back(field);
            }
        }
        return fields;
    }

    // The named control a field belongs to (a gauge list for its edit field).
    static QWidget* owner(QLineEdit* field) {
        if (auto* list = qobject_cast<QComboBox*>(field->parentWidget())) {
            return list;
        }
        return field;
    }

    Event randomEvent() {
        if (!m_script.empty()) {
            const auto next = std::move(m_script.front());
            m_script.pop_front();
            return next();
        }
        const int roll = pick(100);
        if (roll < 2) {
            return clickButton(m_link, QStringLiteral("click Label11"));
        }
        if (roll < 6 && m_command1->isVisible()) {
            return clickButton(m_command1, QStringLiteral("click Command1"));
        }
        if (roll < 10 && m_command2->isVisible()) {
            return clickButton(m_command2, QStringLiteral("click Command2"));
        }
        if (roll < 13) {
            return chooseGauge();
        }
        if (roll < 21) {
            return paste();
        }
        if (roll < 23) {
            return pasteAtCursor();
        }
        if (roll < 30) {
            return clickIntoField();
        }
        if (roll < 36) {
            if (QLineEdit* box = randomVisibleInputBox()) {
                queueValue(box, plausibleValue(box->objectName()));
                return randomEvent();
            }
        }
        return typeKey();
    }

    // A megabyte pasted over an input box, then a few keys into it and a short
    // paste over it: every further key there would lay out the whole
    // megabyte again.
    Event hugePaste() {
        QLineEdit* box = randomVisibleInputBox();
        if (box == nullptr) {
            return typeKey();
        }
        ++m_tally.hugePastes;
        m_script.emplace_front([this, box] { return pasteOver(box, randomPasteText()); });
        for (int i = 0; i < 3; ++i) {
            m_script.emplace_front([this, box] {
                box->setFocus(Qt::MouseFocusReason);
                return typeKeyInto(box);
            });
        }
        return pasteOver(box, chance(0.5) ? kMegabyteOfDigits
                                          : QStringLiteral("0.") + kMegabyteOfDigits);
    }

    // A value in the range a user designing an HF dipole would type.
    double plausibleValue(const QString& box) {
        double low = 0.5;
        double high = 6;
        if (box == QLatin1String("txtF")) {
            low = 1;
            high = 30;
        } else if (box == QLatin1String("txtA")) {
            low = 10;
            high = 120;
        } else if (box == QLatin1String("txtB")) {
            low = 1;
            high = 40;
        }
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }

    // Queues the keys that replace a box's text with a value: End, Shift+Home
    // to select the old text, then the digits, each key an event of its own.
    void queueValue(QLineEdit* box, double value) {
        const QString text = QString::number(value, 'f', pick(3));
        const auto press = [this, box](const QString& label) {
            m_script.emplace_back([this, box, label] {
                box->setFocus(Qt::MouseFocusReason);
                return typeKeyInto(box, &keyLabelled(label));
            });
        };
        press(QStringLiteral("End"));
        press(QStringLiteral("Shift+Home"));
        for (const QChar c : text) {
            press(QStringLiteral("'%1'").arg(c));
        }
    }

    void queueClick(QPushButton* button, const QString& description) {
        m_script.emplace_back(
            [this, button, description] { return clickButton(button, description); });
    }

    // Without whole designs typed on purpose, random keys seldom give values
    // whose inductance can be computed, and the results would seldom be
    // reached. The values fit each other: A within its limit for F, B short
    // of both the quarter wave and half of A.
    void queueWholeDesign(bool stepTwoToo) {
        const double freq = std::uniform_real_distribution<double>(1.5, 30)(m_random);
        const double maxLength = std::floor(421.2 / freq);
        const double length =
            std::max(5.0, std::uniform_real_distribution<double>(0.5, 1)(m_random) * maxLength);
        const double distance =
            std::uniform_real_distribution<double>(0.1, 0.38)(m_random) * length;
        queueValue(control<QLineEdit>("txtF"), freq);
        queueValue(control<QLineEdit>("txtA"), length);
        queueValue(control<QLineEdit>("txtB"), distance);
        queueClick(m_command1, QStringLiteral("click Command1 (planned)"));
        if (stepTwoToo) {
            queueValue(control<QLineEdit>("txtD1"), plausibleValue(QStringLiteral("txtD1")));
            queueValue(control<QLineEdit>("txtB1"), plausibleValue(QStringLiteral("txtB1")));
            queueClick(m_command2, QStringLiteral("click Command2 (planned)"));
        }
    }

    QLineEdit* randomVisibleInputBox() {
        std::vector<QLineEdit*> boxes;
        for (const char* name : {"txtF", "txtA", "txtB", "txtD1", "txtB1"}) {
            auto* box = control<QLineEdit>(name);
            if (box->isVisible()) {
                boxes.push_back(box);
            }
        }
        return boxes.empty()
                   ? nullptr
                   : boxes[static_cast<std::size_t>(pick(static_cast<int>(boxes.size())))];
    }

    Event clickButton(QWidget* button, const QString& description) {
        Event event(description);
        if (button == m_link) {
            event.linkClicked = true;
        }
        QTest::mouseClick(button, Qt::LeftButton);
        return event;
    }

    Event clickIntoField() {
        const auto fields = visibleFields(false);
        QLineEdit* field = fields[static_cast<std::size_t>(pick(static_cast<int>(fields.size())))];
        field->setFocus(Qt::MouseFocusReason);
        const QPoint at(pick(std::max(1, field->width())), field->height() / 2);
        QTest::mouseClick(field, Qt::LeftButton, {}, at);
        return Event(
            QStringLiteral("click into %1 at x=%2").arg(owner(field)->objectName()).arg(at.x()));
    }

    Event typeKey() {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || !focus->isVisible() || !m_window->isAncestorOf(focus)) {
            return clickIntoField();
        }
        return typeKeyInto(focus);
    }

    Event typeKeyInto(QWidget* focus, const MonkeyKey* chosen = nullptr) {
        const MonkeyKey& key = chosen != nullptr ? *chosen : randomKey(m_random);
        QWidget* named = focus;
        if (auto* list = qobject_cast<QComboBox*>(focus->parentWidget())) {
            named = list;
        }
        Event event(QStringLiteral("key %1 into %2").arg(key.label, named->objectName()), named);
        event.typed = &key;
        if (key.text.isEmpty()) {
            QTest::keyClick(focus, key.key, key.modifiers);
        } else {
            QTest::sendKeyEvent(QTest::Click, focus, key.key, key.text, key.modifiers);
        }
        return event;
    }

    QString randomPasteText() { return pasteTexts()[pick(static_cast<int>(pasteTexts().size()))]; }

    Event paste() {
        const auto fields = visibleFields(true);
        return pasteOver(fields[static_cast<std::size_t>(pick(static_cast<int>(fields.size())))],
                         randomPasteText());
    }

    // Select all, then paste: the box's text becomes the pasted text.
    Event pasteOver(QLineEdit* field, const QString& pasted) {
        field->setText(pasted);
        Event event(
            QStringLiteral("paste \"%1\" over %2")
                .arg(pasted.size() > 40
                         ? pasted.left(12) + QStringLiteral("...(%1 chars)").arg(pasted.size())
                         : pasted,
                     owner(field)->objectName()),
            owner(field));
        event.pasted = pasted;
        return event;
    }

    // Paste where the caret is, replacing any selection.
    Event pasteAtCursor() {
        const QString pasted = randomPasteText();
        const auto fields = visibleFields(true);
        QLineEdit* field = fields[static_cast<std::size_t>(pick(static_cast<int>(fields.size())))];
        field->insert(pasted);
        return Event(QStringLiteral("paste \"%1\" into %2 at the caret")
                         .arg(pasted.left(40), owner(field)->objectName()),
                     owner(field));
    }

    // Picking a gauge from the drop-down part of a visible list.
    Event chooseGauge() {
        std::vector<QComboBox*> lists;
        for (QComboBox* list : m_window->findChildren<QComboBox*>()) {
            if (list->isVisible()) {
                lists.push_back(list);
            }
        }
        if (lists.empty()) {
            return typeKey();
        }
        QComboBox* list = lists[static_cast<std::size_t>(pick(static_cast<int>(lists.size())))];
        const int index = pick(list->count());
        list->setCurrentIndex(index);
        return Event(
            QStringLiteral("choose gauge %1 in %2").arg(list->itemText(index), list->objectName()),
            list);
    }

    void remember(const QString& line) {
        m_recent.push_back(line);
        if (m_recent.size() > kRecentEvents) {
            m_recent.pop_front();
        }
    }
    QStringList recent() const { return QStringList(m_recent.begin(), m_recent.end()); }

    std::mt19937_64& m_random;
    UrlRecorder& m_urls;
    Tally& m_tally;
    MessageRecorder m_messages;
    std::unique_ptr<frmTarvix1> m_window;
    std::unique_ptr<Expectations> m_expect;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QLabel* m_link = nullptr;
    int m_clicks1 = 0;
    int m_clicks2 = 0;
    // Events already decided: the rest of a typed value, or what follows a
    // megabyte paste.
    std::deque<std::function<Event()>> m_script;
    std::deque<QString> m_recent;
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_scheme = QUrl(QString::fromLatin1(kAuthorPage.data(),
                                            static_cast<qsizetype>(kAuthorPage.size())))
                       .scheme();
        // The handler API names its method as text; there is no other form.
        QDesktopServices::setUrlHandler(m_scheme, &m_urls, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(m_scheme); }

    void randomSession_data() {
        QTest::addColumn<quint64>("seed");
        for (const quint64 seed : {1ULL, 2ULL, 7ULL, 1234567ULL, 20250101ULL}) {
            QTest::addRow("seed-%llu", static_cast<unsigned long long>(seed)) << seed;
        }
    }

    void randomSession() {
        QFETCH(quint64, seed);
        std::mt19937_64 random(seed);
        ModalWatchdog watchdog;
        Tally tally;
        for (int episode = 0; episode < kEpisodes; ++episode) {
            // A megabyte pasted into an input box, in a few windows only: it
            // costs a visible fraction of a second on every key that follows.
            Monkey monkey(random, m_urls, tally, episode % kEpisodesPerHugePaste == 1);
            const QString broken = monkey.run(kEventsPerEpisode);
            QVERIFY2(broken.isEmpty(),
                     qPrintable(QStringLiteral("seed %1, window %2, %3\nreplay: "
                                               "tarvix_monkey_test randomSession:seed-%1")
                                    .arg(seed)
                                    .arg(episode)
                                    .arg(broken)));
            QVERIFY2(
                !watchdog.tripped(),
                qPrintable(
                    QStringLiteral("seed %1: a real dialog: %2").arg(seed).arg(watchdog.seen())));
        }
        qInfo("seed %llu: %s", static_cast<unsigned long long>(seed), qPrintable(tally.summary()));
        // A monkey that never gets through a design checks little of it.
        QVERIFY2(tally.windings > 0,
                 qPrintable(QStringLiteral("seed %1 never completed a winding").arg(seed)));
    }

private:
    UrlRecorder m_urls;
    QString m_scheme;
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
