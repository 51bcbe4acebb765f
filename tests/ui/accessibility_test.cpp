// What a screen reader is told about the window: the name and role of every
// control a user can reach, the captions that label the boxes, the author
// link, and the message box. The expected names are written here from the
// captions as the user reads them, not taken from the program's tables.
#include "ui/frm_tarvix1.h"
#include "ui/message_box.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <utility>

using namespace tarvix;
using namespace tarvix::test;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return object == nullptr ? nullptr : QAccessible::queryAccessibleInterface(object);
}

} // namespace

class AccessibilityTest : public QObject, public WindowFixture {
    Q_OBJECT

private:
    template <class Widget = QWidget> Widget* control(const QString& name) {
        return m_window->findChild<Widget*>(name);
    }

    UrlRecorder m_urls;

private slots:
    void init() {
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

    void windowIsAWindow();
    void controls_data();
    void controls();
    void captionsLabelTheirBoxes_data();
    void captionsLabelTheirBoxes();
    void gaugeListEditFields_data();
    void gaugeListEditFields();
    void everyFocusableControlHasAName();
    void authorLinkIsALink();
    void authorLinkPressAction();
    void messageBoxIsAnAlert_data();
    void messageBoxIsAnAlert();
};

// Screen readers announce the title of the frame or window a control is in;
// a plain widget would be presented as a filler, with no title read.
void AccessibilityTest::windowIsAWindow() {
    QAccessibleInterface* window = accessible(m_window.get());
    QVERIFY(window != nullptr);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name),
             QStringLiteral("Loaded Dipole Antenna for restricted space ( FPS units)"));
    QAccessibleInterface* box = accessible(control("txtF"));
    QAccessibleInterface* ancestor = box->parent();
    while (ancestor != nullptr && ancestor->role() != QAccessible::Window) {
        ancestor = ancestor->parent();
    }
    QVERIFY(ancestor != nullptr);
    QCOMPARE(ancestor->object(), m_window.get());
}

void AccessibilityTest::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<bool>("readOnly");

    const auto row = [](const char* name, QAccessible::Role role, const QString& spoken,
                        bool readOnly = false) {
        QTest::newRow(name) << QString::fromLatin1(name) << role << spoken << readOnly;
    };
    using enum QAccessible::Role;

    // Step 1.
    row("txtF", EditableText, "Frequency ( MHz )");
    row("txtA", EditableText, "A = Total Length ( ft )");
    row("txtB", EditableText, "B = Centre to Coil distance ( ft )");
    row("cmbSWG1", ComboBox, "Antenna Wire SWG ( 10 - 30)");
    row("Command1", Button, "OK, step 1");
    // Step 2.
    row("txtD1", EditableText, "Coil Former Diameter ( in )");
    row("txtB1", EditableText, "Coil Length ( in )");
    row("cmbSWG2", ComboBox, "Coil wire SWG ( 10 - 30 )");
    row("Command2", Button, "OK, step 2");
    // Winding results: the captions' trailing "=" and doubled blanks are not read.
    row("txtN", EditableText, "No. of Turns of the Coil", true);
    row("txtB2", EditableText, "Revised Length of the Coil", true);
    row("txtDD1", EditableText, "Coil Former Diameter ( in )");
    row("txtSWG2", EditableText, "Coil wire SWG");
    row("L", EditableText, QStringLiteral("Inductance of the Coil ( \u00B5H )"), true);
    // The summary of step 1.
    row("txtFF", EditableText, "Frequency ( MHz )");
    row("txtAA", EditableText, "A = Total Length ( ft )");
    row("txtBB", EditableText, "B = Centre to Coil distance ( ft )");
    row("txtSWG1", EditableText, "Antenna Wire SWG");
    // The diagram is described in words; the author link has its own test.
    row("Image1", Graphic,
        "Loaded dipole antenna: A is the total length, B the distance from the centre to each "
        "coil");
}

void AccessibilityTest::controls() {
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, spoken);
    QFETCH(bool, readOnly);

    QWidget* widget = control(name);
    QVERIFY(widget != nullptr);
    QAccessibleInterface* iface = accessible(widget);
    QVERIFY(iface != nullptr);
    QVERIFY(iface->isValid());
    QCOMPARE(iface->role(), role);
    QCOMPARE(widget->accessibleName(), spoken);
    if (role == QAccessible::ComboBox) {
        // Qt on Linux reports a list's text as its name and leaves naming it
        // to the label relation, checked below; elsewhere the name is used.
        QCOMPARE(iface->text(QAccessible::Value), controlText(*widget));
    } else {
        QCOMPARE(iface->text(QAccessible::Name), spoken);
    }
    if (role == QAccessible::EditableText) {
        QCOMPARE(bool(iface->state().readOnly), readOnly);
    }
}

void AccessibilityTest::captionsLabelTheirBoxes_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("box");
    const std::pair<const char*, const char*> pairs[] = {
        {"Label3(1)", "txtF"},    {"Labe4(1)", "txtA"},     {"Labe5(0)", "txtB"},
        {"Labe6(0)", "cmbSWG1"},  {"Label7(1)", "txtD1"},   {"Label8(0)", "txtB1"},
        {"Label9(1)", "cmbSWG2"}, {"Labe11(0)", "txtN"},    {"Label12(0)", "txtB2"},
        {"Label7(0)", "txtDD1"},  {"Label9(0)", "txtSWG2"}, {"Label10(1)", "L"},
        {"Label3(0)", "txtFF"},   {"Labe4(0)", "txtAA"},    {"Labe5(1)", "txtBB"},
        {"Label4", "txtSWG1"},
    };
    for (const auto& [label, box] : pairs) {
        QTest::addRow("%s labels %s", label, box)
            << QString::fromLatin1(label) << QString::fromLatin1(box);
    }
}

// The relation lets a screen reader go from a box to its caption and back,
// and the buddy gives the label's caption to the box if its name is cleared.
void AccessibilityTest::captionsLabelTheirBoxes() {
    QFETCH(QString, label);
    QFETCH(QString, box);
    auto* caption = control<QLabel>(label);
    QVERIFY(caption != nullptr);
    QCOMPARE(caption->buddy(), control(box));

    QAccessibleInterface* boxInterface = accessible(control(box));
    QAccessibleInterface* captionInterface = accessible(caption);
    bool labelled = false;
    for (const auto& [other, relation] : boxInterface->relations(QAccessible::Label)) {
        labelled = labelled || (other->object() == caption && relation == QAccessible::Label);
    }
    QVERIFY2(labelled, "the box does not name its caption as its label");
    QCOMPARE(captionInterface->role(), QAccessible::StaticText);
}

void AccessibilityTest::gaugeListEditFields_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("antenna wire") << "cmbSWG1"
                                  << "Antenna Wire SWG ( 10 - 30)";
    QTest::newRow("coil wire") << "cmbSWG2"
                               << "Coil wire SWG ( 10 - 30 )";
}

// The list hands the focus to its edit field, which a screen reader then
// announces by its own name.
void AccessibilityTest::gaugeListEditFields() {
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    auto* list = control<QComboBox>(name);
    QVERIFY(list->lineEdit() != nullptr);
    QAccessibleInterface* field = accessible(list->lineEdit());
    QCOMPARE(field->role(), QAccessible::EditableText);
    QCOMPARE(field->text(QAccessible::Name), spoken);
}

// Also the controls of the hidden panels, and anything added later.
void AccessibilityTest::everyFocusableControlHasAName() {
    int checked = 0;
    for (QWidget* widget : m_window->findChildren<QWidget*>()) {
        // The lists' drop-down views live in windows of their own.
        if ((widget->focusPolicy() & Qt::TabFocus) == 0 || widget->window() != m_window.get()) {
            continue;
        }
        ++checked;
        QAccessibleInterface* iface = accessible(widget);
        QVERIFY(iface != nullptr);
        QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("%1 (%2) has no name")
                                .arg(widget->objectName(), widget->metaObject()->className())));
    }
    // Fourteen boxes, two lists with their edit fields, two buttons.
    QVERIFY2(checked >= 18, qPrintable(QString::number(checked)));
}

void AccessibilityTest::authorLinkIsALink() {
    QAccessibleInterface* link = accessible(control("Label11"));
    QVERIFY(link != nullptr);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Programed by Orlenth"));
    QVERIFY(link->state().linked);
    QVERIFY(!link->state().focusable);
    QAccessibleActionInterface* actions = link->actionInterface();
    QVERIFY(actions != nullptr);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    // The version line beside it stays plain text.
    QCOMPARE(accessible(control("Label5"))->role(), QAccessible::StaticText);
}

// Pressing the link through its accessible action follows it as a click does,
// and changes nothing else.
void AccessibilityTest::authorLinkPressAction() {
    const WindowState before = snapshot(*m_window);
    QAccessibleActionInterface* actions = accessible(control("Label11"))->actionInterface();
    QVERIFY(actions != nullptr);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_urls.opened.size(), 1);
    QCOMPARE(m_urls.opened.front(), QUrl(QStringLiteral("https://example.org/tarvi")));
    QCOMPARE(snapshot(*m_window), before);
    QVERIFY(m_messages.messages().isEmpty());
}

void AccessibilityTest::messageBoxIsAnAlert_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("range message") << QStringLiteral(" A should be smaller than  30 ft");
    QTest::newRow("type only numbers") << QStringLiteral("Type only numbers");
}

// The program's real box, which has no icon. Qt sends the Alert event when it
// is shown; with no assistive technology attached (as here) that event goes
// nowhere, so the role it is announced with is what is checked.
void AccessibilityTest::messageBoxIsAnAlert() {
    QFETCH(QString, text);
    m_watchdog.reset(); // this test opens a modal box on purpose

    bool inspected = false;
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString value;
    QTimer::singleShot(0, m_window.get(), [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        inspected = true;
        QAccessibleInterface* iface = accessible(box);
        role = iface->role();
        name = iface->text(QAccessible::Name);
        value = iface->text(QAccessible::Value);
        box->accept();
    });
    showMessageBox(m_window.get(), text);

    QVERIFY(inspected);
    QCOMPARE(role, QAccessible::AlertMessage);
    QCOMPARE(name, QStringLiteral("Tarvix"));
    QCOMPARE(value, text);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
