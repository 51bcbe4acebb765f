// From table rows to widgets. The layout is fixed: controls get absolute
// geometry and no layout manager, so resizing the window moves nothing.
#include "ui/control_builder.h"

#include "calc/wire_gauge.h"
#include "ui/compiled_bitmap.h"
#include "ui/control_table.h"
#include "ui/fonts.h"
#include "ui/link_label.h"
#include "ui/picture.h"

#include <QColor>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <ranges>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Outside the namespace, as Q_INIT_RESOURCE requires. The resources are
// compiled into a static library, whose registration would otherwise be left
// out by the linker.
static void initAssetResources() {
    Q_INIT_RESOURCE(assets);
}

namespace tarvix {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixelGeometry(const ControlDescription& control) {
    return {twipsToPixels(control.left), twipsToPixels(control.top), twipsToPixels(control.width),
            twipsToPixels(control.height)};
}

QWidget* createLabel(const ControlDescription& control, QWidget* parent) {
    QLabel* label = nullptr;
    if ((control.flags & AuthorLink) != 0) {
        auto* link = new LinkLabel(parent);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(palette);
        link->setCursor(Qt::OpenHandCursor);
        label = link;
    } else {
        label = new QLabel(parent);
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(control.text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// The picture's box is the bitmap's natural size, so nothing is stretched.
QWidget* createPicture(QWidget* parent) {
    return new Picture(compiledPixmap(kDiagramBitmap), toQString(kDiagram2xResource), parent);
}

QWidget* createTextBox(const ControlDescription& control, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    // The boxes have no length limit: a pasted text reaches the change
    // handler whole, not cut at Qt's default of 32767 characters.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setText(toQString(control.text));
    box->setReadOnly((control.flags & Locked) != 0);
    // A drop would put text in past the keystroke filters; the box's own
    // menu is the one way in that they do not see.
    box->setAcceptDrops(false);
    return box;
}

QWidget* createDropDownList(const ControlDescription& control, QWidget* parent) {
    auto* list = new QComboBox(parent);
    // Editable through its own edit field, set up as setEditable would. That
    // call would also build the drop-down's window (a list view with scroll
    // bars) at once; this way the list builds it when first opened, with the
    // same delegate and margins, and start-up is spared it.
    auto* edit = new QLineEdit(list);
    edit->setPalette(list->palette());
    // The lists complete nothing. Given an edit field with no completer, the
    // list would make one over its items, only to have it removed below; an
    // empty one costs less to make and is removed the same way.
    edit->setCompleter(new QCompleter(edit));
    list->setLineEdit(edit);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    // As for the text boxes: no drops past the filter of the edit field.
    list->setAcceptDrops(false);
    list->lineEdit()->setAcceptDrops(false);
    const QStringList items = gaugeItems();
    list->addItems(items);
    list->setMaxVisibleItems(static_cast<int>(items.size()));
    const QString text = toQString(control.text);
    list->setCurrentIndex(list->findText(text));
    list->setEditText(text);
    return list;
}

QWidget* createControl(const ControlDescription& control, QWidget* parent) {
    switch (control.kind) {
    case ControlKind::Panel:
        return new QGroupBox(toQString(control.text), parent);
    case ControlKind::Label:
        return createLabel(control, parent);
    case ControlKind::TextBox:
        return createTextBox(control, parent);
    case ControlKind::DropDownList:
        return createDropDownList(control, parent);
    case ControlKind::PushButton:
        return new QPushButton(toQString(control.text), parent);
    case ControlKind::Picture:
        return createPicture(parent);
    }
    throw std::logic_error("unknown control kind");
}

// A caption names what is beside it: "No. of Turns of the Coil =" names the
// box that follows the "=". Runs of blanks mean nothing when read aloud.
QString nameFromCaption(const QString& caption) {
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char('='))) {
        name.chop(1);
    }
    return name.simplified();
}

// Names the controls just created, those for which `created` holds.
template <class Created> void setAccessibleNames(QWidget& window, Created created) {
    const auto find = [&window](std::string_view name) {
        auto* widget = window.findChild<QWidget*>(toQString(name));
        if (widget == nullptr) {
            throw std::logic_error("no control " + std::string(name) + " to name");
        }
        return widget;
    };
    for (const AccessibleCaption& caption : accessibleCaptions()) {
        if (!created(caption.control)) {
            continue;
        }
        QWidget* control = find(caption.control);
        QString name = toQString(caption.name);
        if (!caption.label.empty()) {
            auto* label = qobject_cast<QLabel*>(find(caption.label));
            if (label == nullptr) {
                throw std::logic_error(std::string(caption.label) + " is not a label");
            }
            label->setBuddy(control);
            name = nameFromCaption(label->text());
        }
        control->setAccessibleName(name);
        // An editable list's edit field takes the focus, and is announced
        // on its own.
        if (auto* list = qobject_cast<QComboBox*>(control); list && list->lineEdit()) {
            list->lineEdit()->setAccessibleName(name);
        }
    }
}

bool takesFocus(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::DropDownList ||
           kind == ControlKind::PushButton;
}

} // namespace

QStringList gaugeItems() {
    QStringList items;
    for (const std::string& gauge : swgGaugeTexts()) {
        items.append(QString::fromStdString(gauge));
    }
    return items;
}

QIcon programIcon() {
    // The window's icon is the 32-pixel one; the window system scales it for
    // a title bar or a task bar. Other sizes are for the desktop's icon
    // theme, which has them from the installed files.
    QIcon icon;
    icon.addPixmap(compiledPixmap(kIconBitmap));
    return icon;
}

namespace {

const ControlDescription& rowOf(std::string_view name) {
    const auto controls = controlTable();
    const auto row = std::ranges::find(controls, name, &ControlDescription::name);
    if (row == controls.end()) {
        throw std::logic_error("no control " + std::string(name) + " in the table");
    }
    return *row;
}

bool createdLater(const ControlDescription& control) {
    return !control.panel.empty() && (rowOf(control.panel).flags & HiddenAtStart) != 0;
}

QWidget* createAt(QWidget& window, const ControlDescription& control) {
    QWidget* parent = &window;
    if (!control.panel.empty()) {
        parent = window.findChild<QWidget*>(toQString(control.panel), Qt::FindDirectChildrenOnly);
        if (parent == nullptr) {
            throw std::logic_error("panel " + std::string(control.panel) + " must come before " +
                                   std::string(control.name));
        }
    }
    QWidget* widget = createControl(control, parent);
    widget->setObjectName(toQString(control.name));
    widget->setGeometry(pixelGeometry(control));
    if ((control.flags & ResultFont) != 0) {
        widget->setFont(resultFont());
    }
    if ((control.flags & DisabledAtStart) != 0) {
        widget->setEnabled(false);
    }
    if ((control.flags & HiddenAtStart) != 0) {
        widget->hide();
    }
    return widget;
}

// Labels and panels hold tab indexes too but never take focus; hidden and
// disabled controls are skipped by Qt as they were by the original. Controls
// created later join the chain at their places.
void setTabOrder(QWidget& window) {
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const ControlDescription& control : controlTable()) {
        if (!takesFocus(control.kind)) {
            continue;
        }
        if (auto* widget = window.findChild<QWidget*>(toQString(control.name))) {
            tabStops.emplace_back(control.tabIndex, widget);
        }
    }
    std::ranges::sort(tabStops, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
}

} // namespace

QWidget& buildControls(QWidget& window) {
    initAssetResources();

    window.setObjectName(toQString(kWindowName));
    window.setWindowTitle(toQString(kWindowCaption));
    window.setWindowIcon(programIcon());
    window.setFont(defaultFont());
    window.resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    // The controls of the panels hidden at start are created when first
    // needed (buildPanelControls); everything else, the panels themselves
    // included, now.
    std::vector<QWidget*> panels;
    for (const ControlDescription& control : controlTable()) {
        if (createdLater(control)) {
            continue;
        }
        QWidget* widget = createAt(window, control);
        if (control.kind == ControlKind::Panel) {
            panels.push_back(widget);
        }
    }

    // Panels are drawn as classic group frames, the caption set into the top
    // border: the layout puts the first row of a panel's controls 16 pixels
    // below its outer corner, where a frame that starts below its caption (as
    // in the Fusion style) would cut through them. Only the frames change;
    // their children keep the application's style. Parented last, the style
    // outlives the panels that use it.
    if (QStyle* panelStyle = QStyleFactory::create(QStringLiteral("Windows"))) {
        panelStyle->setParent(&window);
        for (QWidget* panel : panels) {
            panel->setStyle(panelStyle);
        }
    }

    setAccessibleNames(window, [](std::string_view name) { return !createdLater(rowOf(name)); });
    setTabOrder(window);
    const auto first = std::ranges::min_element(controlTable(), {}, [](const auto& control) {
        return takesFocus(control.kind) ? control.tabIndex : std::numeric_limits<int>::max();
    });
    window.findChild<QWidget*>(toQString(first->name))->setFocus();
    return window;
}

bool buildPanelControls(QWidget& window, std::string_view panel) {
    const auto inPanel = [panel](std::string_view name) { return rowOf(name).panel == panel; };
    bool created = false;
    for (const ControlDescription& control : controlTable()) {
        if (control.panel != panel ||
            window.findChild<QWidget*>(toQString(control.name)) != nullptr) {
            continue;
        }
        createAt(window, control);
        created = true;
    }
    if (created) {
        setAccessibleNames(window, inPanel);
        setTabOrder(window);
    }
    return created;
}

} // namespace tarvix
