// The window as it opens: every control's name, kind, panel, place, text,
// tab order, initial state and font; the gauge lists; the locked boxes;
// resizing; the author link. The expected facts come from this file's own
// table, written from the window's description, not from the program's table.
#include "ui/fonts.h"
#include "ui/frm_tarvix1.h"
#include "window_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <cmath>
#include <limits>
#include <memory>

using namespace tarvix;
using namespace tarvix::test;

namespace {

struct Expected {
    const char* name;
    const char* kind; // panel, label, textbox, list, button, picture
    const char* parent;
    const char* text;
    int left, top, width, height; // twips
    int tabIndex;                 // -1: none
};

// clang-format off
const Expected kExpected[] = {
    {"Frame1", "panel", "frmTarvix1", "About this programe", 120, 120, 2295, 1815, 10},
    {"Frame2", "panel", "frmTarvix1", "Instructions for use", 7200, 120, 2415, 1935, 12},
    {"Frame3", "panel", "frmTarvix1", "Data Input - step 1", 120, 2040, 8895, 1695, 14},
    {"Frame4", "panel", "frmTarvix1", "Data Input - step 2", 720, 2280, 7215, 1335, 20},
    {"Frame5", "panel", "frmTarvix1", "Winding data for the Loading Coils", 120, 3480, 8895, 1695, 24},
    {"Frame6", "panel", "frmTarvix1", "Antenna Diamensions", 240, 2160, 8415, 1095, 33},
    {"Image1", "picture", "frmTarvix1", "", 2520, 240, 4530, 1335, -1},
    {"Label5", "label", "frmTarvix1", "Tarvix Ver 1.1", 6240, 5280, 1215, 255, 43},
    {"Label11", "label", "frmTarvix1", "Programed by Orlenth", 7800, 5280, 1680, 255, 9},
    {"Label1", "label", "Frame1", "This is a narrow band High-Q antenna.  You  can  design    for  any  short length (shorter  than half wave dipole). This is more suitable for restricted spaces.", 120, 360, 2055, 1215, 11},
    {"Label2", "label", "Frame2", "First, input data  into  four  text boxes   according    to    your design.   Then   input    the diamensions for coils and get  the  number  of  turns.   After finished  the  construction you  must   trim  the  length   for minimum SWR", 120, 240, 2175, 1575, 13},
    {"Label3(1)", "label", "Frame3", "Frequency ( MHz )", 120, 240, 1455, 255, 15},
    {"Labe4(1)", "label", "Frame3", "A = Total Length ( ft )", 1680, 240, 1545, 255, 16},
    {"Labe5(0)", "label", "Frame3", "B = Centre to Coil distance ( ft )", 3360, 240, 2235, 255, 17},
    {"Labe6(0)", "label", "Frame3", "Antenna Wire SWG ( 10 - 30)", 6000, 240, 2415, 255, 19},
    {"txtF", "textbox", "Frame3", " ", 360, 600, 615, 285, 0},
    {"txtA", "textbox", "Frame3", " ", 2040, 600, 615, 285, 1},
    {"txtB", "textbox", "Frame3", " ", 3960, 600, 615, 285, 2},
    {"cmbSWG1", "list", "Frame3", "14", 6600, 600, 615, 315, 3},
    {"Command1", "button", "Frame3", "OK", 5160, 960, 855, 375, 4},
    {"Label7(1)", "label", "Frame4", "Coil Former Diameter ( in )", 120, 240, 2055, 255, 21},
    {"Label8(0)", "label", "Frame4", "Coil Length ( in )", 2160, 240, 1335, 255, 22},
    {"Label9(1)", "label", "Frame4", "Coil wire SWG ( 10 - 30 )", 3600, 240, 1935, 255, 23},
    {"txtD1", "textbox", "Frame4", " ", 480, 600, 495, 285, 5},
    {"txtB1", "textbox", "Frame4", " ", 2520, 600, 495, 285, 6},
    {"cmbSWG2", "list", "Frame4", "20", 3960, 600, 615, 315, 7},
    {"Command2", "button", "Frame4", "OK", 5880, 720, 735, 375, 8},
    {"Labe11(0)", "label", "Frame5", "No. of Turns of the Coil =", 240, 480, 1815, 255, 26},
    {"txtN", "textbox", "Frame5", " ", 2160, 480, 1035, 345, 42},
    {"Label12(0)", "label", "Frame5", "Revised Length of the Coil", 5040, 240, 2055, 255, 27},
    {"txtB2", "textbox", "Frame5", " ", 4560, 480, 3255, 350, 18},
    {"Label7(0)", "label", "Frame5", "Coil Former Diameter ( in ) =", 120, 1080, 2055, 255, 28},
    {"txtDD1", "textbox", "Frame5", " ", 2160, 1050, 615, 390, 29},
    {"Label9(0)", "label", "Frame5", "Coil wire SWG  =", 2880, 1080, 1335, 255, 30},
    {"txtSWG2", "textbox", "Frame5", " ", 4320, 1080, 495, 360, 31},
    {"Label10(1)", "label", "Frame5", "Inductance of the Coil ( \xC2\xB5H ) =", 5160, 1080, 2175, 255, 25},
    {"L", "textbox", "Frame5", " ", 7320, 960, 1155, 420, 32},
    {"Label3(0)", "label", "Frame6", "Frequency ( MHz )", 120, 240, 1455, 255, 34},
    {"Labe4(0)", "label", "Frame6", "A = Total Length ( ft )", 1920, 240, 1545, 255, 35},
    {"Labe5(1)", "label", "Frame6", "B = Centre to Coil distance ( ft )", 3600, 240, 2235, 255, 36},
    {"Label4", "label", "Frame6", "Antenna Wire SWG ", 6360, 240, 1575, 255, 37},
    {"txtFF", "textbox", "Frame6", " ", 240, 600, 855, 360, 38},
    {"txtAA", "textbox", "Frame6", " ", 2160, 600, 855, 360, 39},
    {"txtBB", "textbox", "Frame6", " ", 4200, 600, 855, 360, 40},
    {"txtSWG1", "textbox", "Frame6", " ", 6720, 600, 615, 360, 41},
};
// clang-format on

const QStringList kHiddenPanels{"Frame4", "Frame5", "Frame6"};
const QStringList kResultBoxes{"txtFF",  "txtAA", "txtBB", "txtSWG1", "txtSWG2",
                               "txtDD1", "txtB2", "txtN",  "L"};
const QStringList kLockedBoxes{"txtB2", "txtN", "L"};
// The dialog font of the layout, then the fallbacks installed with the
// program's dependencies.
const QStringList kSansSerifFamilies{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans",
                                     "Arial", "DejaVu Sans"};
const QStringList kDisabledAtStart{"Command1", "Command2"};
const QStringList kGauges{"10", "12", "14", "16", "18", "20", "22", "24", "26", "28", "30"};
const QString kAuthorPage = QStringLiteral("https://example.org/tarvi");

// 15 twips to a device-independent pixel; txtB2's 350 twips round to 23.
QRect pixels(const Expected& row) {
    const auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
    return {px(row.left), px(row.top), px(row.width), px(row.height)};
}

bool isKind(const QWidget* widget, const QString& kind) {
    if (kind == "panel") {
        return qobject_cast<const QGroupBox*>(widget) != nullptr;
    }
    if (kind == "label") {
        const auto* label = qobject_cast<const QLabel*>(widget);
        return label != nullptr && label->pixmap().isNull();
    }
    if (kind == "picture") {
        const auto* label = qobject_cast<const QLabel*>(widget);
        return label != nullptr && !label->pixmap().isNull();
    }
    if (kind == "textbox") {
        return qobject_cast<const QLineEdit*>(widget) != nullptr;
    }
    if (kind == "list") {
        const auto* list = qobject_cast<const QComboBox*>(widget);
        return list != nullptr && list->isEditable();
    }
    if (kind == "button") {
        return qobject_cast<const QPushButton*>(widget) != nullptr;
    }
    return false;
}

} // namespace

class WindowLayoutTest : public QObject, public WindowFixture {
    Q_OBJECT

private:
    template <class Widget = QWidget> Widget* control(const QString& name) {
        return m_window->findChild<Widget*>(name);
    }
    // The named control holding the focus; an editable list may hand it to
    // its own edit field.
    QString focusedControl() const {
        for (QWidget* widget = QApplication::focusWidget(); widget != nullptr;
             widget = widget->parentWidget()) {
            if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
                return widget->objectName();
            }
        }
        return {};
    }
    void addExpectedRows();

    UrlRecorder m_urls;

private slots:
    void init() {
        m_messages.clear();
        m_urls.opened.clear();
        QVERIFY(openWindow());
        // Every control, those of the panels still hidden included; they are
        // made when first needed, and stay as hidden as their panels.
        m_window->createAllControls();
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_urls, "open");
    }

    void cleanup() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        const QString modal = closeWindow();
        QVERIFY2(modal.isEmpty(), qPrintable(modal));
    }

    void window() {
        QCOMPARE(m_window->objectName(), QStringLiteral("frmTarvix1"));
        QCOMPARE(m_window->windowTitle(),
                 QStringLiteral("Loaded Dipole Antenna for restricted space ( FPS units)"));
        QCOMPARE(m_window->size(), QSize(643, 371));
        // The icon compiled into the program is its PNG, pixel for pixel.
        const QImage icon = m_window->windowIcon()
                                .pixmap(QSize(32, 32), 1.0)
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(icon, QImage(QStringLiteral(TARVIX_ASSETS_DIR "/icon-32.png"))
                           .convertToFormat(QImage::Format_RGB32));
    }

    void controls_data();
    void controls();
    void noUnlistedControls();
    void tabOrder();
    void tabKeySkipsHiddenAndDisabled();
    void gaugeLists_data();
    void gaugeLists();
    void lockedBoxesRefuseEditsButCopy_data();
    void lockedBoxesRefuseEditsButCopy();
    void captionsFitTheirBoxes();
    void picture();
    void resizeMovesNothing_data();
    void resizeMovesNothing();
    void authorLink_data();
    void authorLink();
    void authorLinkLooksLikeALink();
    void otherLabelsAndPanelsDoNothing_data();
    void otherLabelsAndPanelsDoNothing();
};

void WindowLayoutTest::addExpectedRows() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kExpected)); ++i) {
        QTest::newRow(kExpected[i].name) << i;
    }
}

void WindowLayoutTest::controls_data() {
    addExpectedRows();
}

void WindowLayoutTest::controls() {
    QFETCH(int, row);
    const Expected& expected = kExpected[row];
    const QString name = QString::fromUtf8(expected.name);

    const QList<QWidget*> named = m_window->findChildren<QWidget*>(name);
    QCOMPARE(named.size(), 1);
    QWidget* widget = named.front();

    QVERIFY2(isKind(widget, expected.kind), widget->metaObject()->className());
    QCOMPARE(widget->parentWidget()->objectName(), QString::fromUtf8(expected.parent));
    QCOMPARE(widget->geometry(), pixels(expected));
    QCOMPARE(controlText(*widget), QString::fromUtf8(expected.text));

    const bool hidden =
        kHiddenPanels.contains(name) || kHiddenPanels.contains(QString::fromUtf8(expected.parent));
    QCOMPARE(widget->isVisible(), !hidden);
    QCOMPARE(widget->isEnabled(), !kDisabledAtStart.contains(name));

    const bool takesFocus = QStringList{"textbox", "list", "button"}.contains(expected.kind);
    QCOMPARE(bool(widget->focusPolicy() & Qt::TabFocus), takesFocus);

    // Every font names first the family it is drawn in, one of the list: a
    // family the system lacks is not asked for (nor searched for a fallback).
    const QFont font = widget->font();
    QVERIFY2(kSansSerifFamilies.contains(font.families().value(0)),
             qPrintable(font.families().join(QLatin1Char(','))));
    QCOMPARE(QFontInfo(font).family(), font.families().value(0));
    if (kResultBoxes.contains(name)) {
        QCOMPARE(font.pointSize(), 12);
        QVERIFY(font.bold());
        QVERIFY(QFontInfo(font).bold());
    } else {
        QVERIFY(!font.bold());
        QCOMPARE(font, m_window->font());
    }

    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(edit->isReadOnly(), kLockedBoxes.contains(name));
        // No length limit: a pasted text of any length reaches the handlers.
        QCOMPARE(edit->maxLength(), std::numeric_limits<int>::max());
    }
    if (auto* label = qobject_cast<QLabel*>(widget); label && expected.kind == QString("label")) {
        QVERIFY(label->wordWrap());
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void WindowLayoutTest::noUnlistedControls() {
    QStringList listed;
    for (const Expected& row : kExpected) {
        listed.append(QString::fromUtf8(row.name));
    }
    QStringList found = snapshot(*m_window).keys();
    listed.sort();
    found.sort();
    QCOMPARE(found, listed);
}

void WindowLayoutTest::tabOrder() {
    // Every control that can take focus, in ascending tab index.
    QList<const Expected*> focusable;
    for (const Expected& row : kExpected) {
        if (QStringList{"textbox", "list", "button"}.contains(row.kind)) {
            focusable.append(&row);
        }
    }
    std::ranges::sort(focusable, {}, &Expected::tabIndex);
    QStringList expected;
    for (const Expected* row : focusable) {
        expected.append(QString::fromUtf8(row->name));
    }

    QStringList chain;
    QWidget* first = control("txtF");
    QWidget* widget = first;
    do {
        if (expected.contains(widget->objectName()) && !chain.contains(widget->objectName())) {
            chain.append(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(chain, expected);
}

void WindowLayoutTest::tabKeySkipsHiddenAndDisabled() {
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(focusedControl(), QStringLiteral("txtF"));
    // Command1 is disabled and the later panels are hidden: Tab cycles
    // through the four step-1 entries.
    const QStringList expected{"txtA", "txtB", "cmbSWG1", "txtF"};
    for (const QString& next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedControl(), next);
    }
    QVERIFY(m_messages.messages().isEmpty());
}

void WindowLayoutTest::gaugeLists_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("next"); // the item Down picks
    QTest::newRow("antenna wire") << "cmbSWG1"
                                  << "14"
                                  << "16";
    QTest::newRow("coil wire") << "cmbSWG2"
                               << "20"
                               << "22";
}

void WindowLayoutTest::gaugeLists() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, next);
    auto* list = control<QComboBox>(name);
    QVERIFY(list->isEditable());
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items.append(list->itemText(i));
        QVERIFY(!list->itemData(i).isValid() || list->itemData(i).toInt() == 0);
    }
    QCOMPARE(items, kGauges);
    QCOMPARE(list->currentText(), text);
    // The shown gauge is the current item too, so the arrow keys step on
    // from it.
    QCOMPARE(list->itemText(list->currentIndex()), text);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentText(), next);
    // Choosing an item puts its text in the text field and runs nothing.
    list->setCurrentIndex(0);
    QCOMPARE(list->currentText(), QStringLiteral("10"));
    QVERIFY(m_messages.messages().isEmpty());
}

void WindowLayoutTest::lockedBoxesRefuseEditsButCopy_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : kLockedBoxes) {
        QTest::newRow(qPrintable(name)) << name;
    }
}

void WindowLayoutTest::lockedBoxesRefuseEditsButCopy() {
    QFETCH(QString, name);
    auto* box = control<QLineEdit>(name);
    box->setText(QStringLiteral("5.5"));
    m_messages.clear();
    QApplication::clipboard()->setText(QStringLiteral("99"));

    QTest::keyClicks(box, QStringLiteral("12"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("5.5"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("99"));

    box->selectAll();
    QCOMPARE(box->selectedText(), QStringLiteral("5.5"));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("5.5"));
}

void WindowLayoutTest::captionsFitTheirBoxes() {
    for (QLabel* label : m_window->findChildren<QLabel*>()) {
        if (label->objectName().isEmpty() || !label->pixmap().isNull()) {
            continue;
        }
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                 qPrintable(label->objectName()));
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() ||
                     label->text().contains(QLatin1Char(' ')),
                 qPrintable(label->objectName()));
    }
    for (QGroupBox* panel : m_window->findChildren<QGroupBox*>()) {
        QVERIFY2(panel->fontMetrics().horizontalAdvance(panel->title()) < panel->width() - 16,
                 qPrintable(panel->objectName()));
    }
    // The largest size that fits, not just one that does: the window's own,
    // and each size the font choice knows without measuring.
    QCOMPARE(m_window->font().pixelSize(), fittingPixelSize(m_window->font()));
    for (const FittedFamily& fitted : fittedFamilies()) {
        if (QFontDatabase::hasFamily(fitted.family)) {
            QCOMPARE(fittingPixelSize(QFont(fitted.family)), fitted.pixelSize);
        }
    }
}

void WindowLayoutTest::picture() {
    auto* picture = control<QLabel>("Image1");
    QVERIFY(!picture->hasScaledContents());
    // To the nearest pixel: at a device pixel ratio of 1.5 the bitmap's 89
    // rows take 133.5 pixels of the screen, and a bitmap has whole pixels.
    QCOMPARE(picture->pixmap().deviceIndependentSize().toSize(), QSize(302, 89));
}

void WindowLayoutTest::resizeMovesNothing_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("maximise");
    QTest::newRow("larger") << QSize(1000, 700) << false;
    QTest::newRow("smaller") << QSize(400, 250) << false;
    QTest::newRow("maximised") << QSize() << true;
}

void WindowLayoutTest::resizeMovesNothing() {
    QFETCH(QSize, size);
    QFETCH(bool, maximise);
    QMap<QString, QRect> before;
    for (const Expected& row : kExpected) {
        before.insert(row.name, control(row.name)->geometry());
    }
    const WindowState stateBefore = snapshot(*m_window);
    if (maximise) {
        m_window->showMaximized();
    } else {
        m_window->resize(size);
    }
    QCoreApplication::processEvents();
    for (const Expected& row : kExpected) {
        QCOMPARE(control(row.name)->geometry(), before.value(row.name));
    }
    QCOMPARE(snapshot(*m_window), stateBefore);
    QVERIFY(m_messages.messages().isEmpty());
}

void WindowLayoutTest::authorLink_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("typedFrequency");
    QTest::newRow("one click at start") << 1 << QString();
    QTest::newRow("three clicks, three requests") << 3 << QString();
    QTest::newRow("in the middle of step 1") << 2 << QStringLiteral("7");
}

void WindowLayoutTest::authorLink() {
    QFETCH(int, clicks);
    QFETCH(QString, typedFrequency);
    if (!typedFrequency.isEmpty()) {
        QTest::keyClicks(control("txtF"), typedFrequency);
    }
    const WindowState before = snapshot(*m_window);
    const QStringList messagesBefore = m_messages.messages();

    for (int i = 0; i < clicks; ++i) {
        QTest::mouseClick(control("Label11"), Qt::LeftButton);
    }
    QCOMPARE(m_urls.opened.size(), clicks);
    for (const QUrl& url : m_urls.opened) {
        QCOMPARE(url.toString(), kAuthorPage);
        QCOMPARE(url.toString().size(), 25);
    }
    QCOMPARE(snapshot(*m_window), before);
    QCOMPARE(m_messages.messages(), messagesBefore);
}

void WindowLayoutTest::authorLinkLooksLikeALink() {
    auto* link = control<QLabel>("Label11");
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(link->cursor().shape(), Qt::OpenHandCursor);
    // A press that is released outside the label is no click.
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
    QVERIFY(m_urls.opened.isEmpty());
}

void WindowLayoutTest::otherLabelsAndPanelsDoNothing_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"Label1", "Label5", "Frame1", "Label2", "Image1"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void WindowLayoutTest::otherLabelsAndPanelsDoNothing() {
    QFETCH(QString, name);
    const WindowState before = snapshot(*m_window);
    QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(m_urls.opened.isEmpty());
    QVERIFY(m_messages.messages().isEmpty());
    QCOMPARE(snapshot(*m_window), before);
}

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
