// The modal message box.
#include "ui/message_box.h"

#include <QMessageBox>

namespace tarvix {

void showMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromLatin1(kMessageCaption));
    box.setIcon(QMessageBox::NoIcon);
    // Plain text: some messages begin with a blank or hold two in a row, and
    // none is markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

} // namespace tarvix
