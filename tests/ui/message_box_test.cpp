// The program's message box: the text as given, one OK button, no icon, the
// caption "Tarvix", and modal, so that the handler waits for it.
#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tarvix;

class MessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void showsTextWithOneOkButton_data();
    void showsTextWithOneOkButton();
};

void MessageBoxTest::showsTextWithOneOkButton_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("Type only numbers");
    QTest::newRow("leading blank and double blank")
        << QStringLiteral(" A should be smaller than  30 ft");
    QTest::newRow("looks like markup") << QStringLiteral("<b>5</b> & more");
}

void MessageBoxTest::showsTextWithOneOkButton() {
    QFETCH(QString, text);
    QWidget parent;
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));

    bool inspected = false;
    QString title;
    QString shownText;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    Qt::WindowModality modality = Qt::NonModal;
    // Runs inside the box's own event loop; closes it as a user would.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        inspected = true;
        title = box->windowTitle();
        shownText = box->text();
        format = box->textFormat();
        icon = box->icon();
        buttons = box->buttons().size();
        modality = box->windowModality();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    showMessageBox(&parent, text);

    QVERIFY(inspected);
    QCOMPARE(title, QStringLiteral("Tarvix"));
    QCOMPARE(shownText, text);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, 1);
    QVERIFY(modality != Qt::NonModal);
}

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
