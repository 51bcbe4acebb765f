// The check window's two columns, the inputs beside the results: how they
// scroll on a small screen, how they share the window's width, and how a
// control reached by Tab is scrolled into sight.
#include "check/check_window.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QEvent>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvix {

namespace {

// The wheel over a list the user has not chosen scrolls the form, as over
// any other box, instead of changing the list's choice unseen.
class WheelPassesBy : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* list = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || list == nullptr || list->hasFocus()) {
            return false;
        }
        QWidget* above = list->parentWidget();
        while (above != nullptr && qobject_cast<QAbstractScrollArea*>(above) == nullptr) {
            above = above->parentWidget();
        }
        if (above != nullptr) {
            QCoreApplication::sendEvent(
                static_cast<QAbstractScrollArea*>(above)->verticalScrollBar(), event);
        }
        return true;
    }
};

} // namespace

void CheckWindow::letWheelScroll(QWidget* list) {
    list->setFocusPolicy(Qt::StrongFocus);
    list->installEventFilter(new WheelPassesBy(list));
}

namespace {

// The room kept around a control scrolled into sight, pixels.
constexpr int kSightMargin = 4;

} // namespace

// The inputs beside the outputs, the border between them movable; each
// scrolls where the window is too small for it, and the whole where the
// screen is smaller than even their least sizes (a large scale on a small
// screen), so that the window always fits the screen.
void CheckWindow::layOut() {
    QWidget* inputs = inputsColumn();
    // The results scroll too: the plot's least size then never pushes
    // Simulate out of sight.
    auto* outputsScroll = new QScrollArea;
    outputsScroll->setObjectName(QStringLiteral("outputsScroll"));
    outputsScroll->setWidget(outputsColumn());
    outputsScroll->setWidgetResizable(true);
    outputsScroll->setFrameShape(QFrame::NoFrame);
    outputsScroll->setFocusPolicy(Qt::NoFocus);
    m_columns = new QSplitter(Qt::Horizontal);
    m_columns->setObjectName(QStringLiteral("columns"));
    m_columns->setChildrenCollapsible(false);
    m_columns->addWidget(inputs);
    m_columns->addWidget(outputsScroll);
    m_columns->setStretchFactor(1, 1);
    auto* windowScroll = new QScrollArea;
    windowScroll->setObjectName(QStringLiteral("windowScroll"));
    windowScroll->setWidget(m_columns);
    windowScroll->setWidgetResizable(true);
    windowScroll->setFrameShape(QFrame::NoFrame);
    windowScroll->setFocusPolicy(Qt::NoFocus);
    m_windowScroll = windowScroll;
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(windowScroll);
}

// The inputs as wide as their boxes and notes ask where the window has room,
// at most three fifths of it; the results take the rest. Where that leaves
// the results narrower than the plot's least width, the notes give up their
// room first (cut short, whole in their tool tips), down to the inputs' own
// least width: the plot is then seen whole, not scrolled.
void CheckWindow::shareTheWidth() {
    const int scrollBar = m_inputsScroll->verticalScrollBar()->sizeHint().width();
    const QMargins margins = layout()->contentsMargins();
    const int room = width() - margins.left() - margins.right() - m_columns->handleWidth();
    int inputsWidth =
        std::min(m_inputsScroll->widget()->sizeHint().width() + scrollBar, room * 3 / 5);
    const auto* outputs = qobject_cast<QScrollArea*>(m_columns->widget(1));
    const int outputsLeast = outputs->widget()->minimumSizeHint().width() + scrollBar;
    const int inputsLeast = m_inputsScroll->widget()->minimumSizeHint().width() + scrollBar;
    if (room - inputsWidth < outputsLeast) {
        inputsWidth = std::max(inputsLeast, room - outputsLeast);
    }
    m_columns->setSizes({inputsWidth, room - inputsWidth});
}

// The scroll areas bring into sight only a box's caret, and the whole
// window's area may scroll it out again on a screen too small for the
// window's least size: once they are done, the whole control is brought in,
// in the inputs' area first, then in the window's.
void CheckWindow::bringIntoSight(QWidget* focused) {
    if (focused == nullptr || !isAncestorOf(focused)) {
        return;
    }
    QTimer::singleShot(0, focused, [this, focused] {
        for (QScrollArea* area : {m_inputsScroll, m_windowScroll}) {
            if (!area->widget()->isAncestorOf(focused)) {
                continue;
            }
            const QRect place(focused->mapTo(area->widget(), QPoint(0, 0)), focused->size());
            area->ensureVisible(place.center().x(), place.center().y(),
                                place.width() / 2 + kSightMargin,
                                place.height() / 2 + kSightMargin);
        }
    });
}

} // namespace tarvix
