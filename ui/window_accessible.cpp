// frmTarvix1's accessible interface: the generic widget one, with the window
// role.
#include "ui/window_accessible.h"

#include "ui/frm_tarvix1.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLatin1StringView>
#include <QString>

namespace tarvix {

namespace {

// Qt asks for each class of an object, the most derived first.
QAccessibleInterface* windowInterface(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1StringView(frmTarvix1::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

void presentWindowAsWindow() {
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(windowInterface);
}

} // namespace tarvix
