// Click detection for LinkLabel, and the accessible side of it.
#include "ui/link_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QString>
#include <QStringList>

namespace tarvix {

namespace {

// Qt's own interface for a label reports static text; this one reports a
// link, so that a screen reader says "link" and offers to follow it.
class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return link()->text();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) {
            names.prepend(pressAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled()) {
            link()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

// Asked for every class in an object's ancestry, most derived first; answers
// only for LinkLabel itself.
QAccessibleInterface* accessibleLinkFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(LinkLabel::staticMetaObject.className())) {
        if (auto* label = qobject_cast<LinkLabel*>(object)) {
            return new AccessibleLink(label);
        }
    }
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    // Before any interface for this label can be asked for and cached. Qt
    // keeps one copy of a factory however often it is installed.
    QAccessible::installFactory(accessibleLinkFactory);
}

void LinkLabel::click() {
    emit clicked();
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        // Releasing outside the label cancels the click, as with a button.
        if (rect().contains(event->position().toPoint())) {
            emit clicked();
        }
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace tarvix
