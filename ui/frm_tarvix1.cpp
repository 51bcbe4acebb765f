// frmTarvix1: event wiring and the step sequence.
#include "ui/frm_tarvix1.h"

#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "entry/report_faults.h"
#include "entry/steps.h"
#include "ui/control_builder.h"
#include "ui/control_table.h"
#include "ui/key_events.h"
#include "ui/link_label.h"
#include "ui/window_accessible.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QUrl>

#ifdef Q_OS_WIN
#include <shellapi.h>
#include <windows.h>
#endif

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace tarvix {

// The window's accessible presentation is registered before anything of the
// window exists: building the controls may already ask about it.
frmTarvix1::frmTarvix1(MessageSink messages, QWidget* parent)
    : QWidget((presentWindowAsWindow(), parent)),
      m_form(buildControls(*this), std::move(messages),
             [this](std::string_view panel) { buildPanel(panel); }),
      m_handlers(m_form, m_record) {
    wireEvents(*this);
}

void frmTarvix1::createAllControls() {
    for (const ControlDescription& control : controlTable()) {
        if (control.kind == ControlKind::Panel) {
            buildPanel(control.name);
        }
    }
}

void frmTarvix1::buildPanel(std::string_view panel) {
    if (buildPanelControls(*this, panel)) {
        wireEvents(*findChild<QWidget*>(
            QString::fromLatin1(panel.data(), static_cast<qsizetype>(panel.size()))));
    }
}

void frmTarvix1::wireEvents(QWidget& scope) {
    // A control the scope does not hold (yet) is left alone.
    const auto textBox = [&scope](Box box) {
        return findControl<QLineEdit>(scope, controlName(box));
    };
    const auto gaugeList = [&scope](Box box) {
        return findControl<QComboBox>(scope, controlName(box));
    };
    const auto button = [&scope](Button button) {
        return findControl<QPushButton>(scope, controlName(button));
    };

    // Change of text, by typing, deleting, pasting or the program's own writes.
    for (std::size_t index = 0; index < kBoxCount; ++index) {
        const Box box = static_cast<Box>(index);
        const std::optional<ChangeHandler> handler = changeHandlerOf(box);
        if (!handler) {
            continue;
        }
        if (QLineEdit* edit = textBox(box)) {
            connect(edit, &QLineEdit::textChanged, this, [this, handler = *handler] {
                reportFaults(m_form, [this, handler] { (m_handlers.*handler)(); });
            });
        }
    }

    // Keystroke filters. The result boxes L, txtN and txtB2 have none: they
    // are read-only. Input methods are turned off on the filtered controls so
    // that composed characters arrive as key presses; where the toolkit
    // ignores that, the filter judges the text they commit as typed keys.
    const auto filterKeys = [](QWidget* control, KeyPressFilter* filter) {
        if (control == nullptr) {
            return;
        }
        control->setAttribute(Qt::WA_InputMethodEnabled, false);
        control->installEventFilter(filter);
    };
    auto* discard = new KeyPressFilter(discardKeyPress, &scope);
    auto* numeric =
        new KeyPressFilter([this](KeyAscii key) { return numericKeyPress(key, m_form); }, &scope);
    for (std::size_t index = 0; index < kBoxCount; ++index) {
        const Box box = static_cast<Box>(index);
        if (box == Box::cmbSWG1 || box == Box::cmbSWG2) {
            continue; // below
        }
        switch (keyFilterOf(box)) {
        case KeyFilter::Numeric:
            filterKeys(textBox(box), numeric);
            break;
        case KeyFilter::Discard:
            filterKeys(textBox(box), discard);
            break;
        case KeyFilter::None:
            break;
        }
    }
    // An editable list takes the focus itself and hands key presses on to its
    // edit field directly, so the filter watches both.
    for (const Box box : {Box::cmbSWG1, Box::cmbSWG2}) {
        if (QComboBox* list = gaugeList(box)) {
            filterKeys(list, discard);
            filterKeys(list->lineEdit(), discard);
        }
    }

    if (QPushButton* command1 = button(Button::Command1)) {
        connect(command1, &QPushButton::clicked, this, &frmTarvix1::Command1_Click);
    }
    if (QPushButton* command2 = button(Button::Command2)) {
        connect(command2, &QPushButton::clicked, this, &frmTarvix1::Command2_Click);
    }
    if (auto* author = scope.findChild<LinkLabel*>(QStringLiteral("Label11"))) {
        connect(author, &LinkLabel::clicked, this, &frmTarvix1::Label11_Click);
    }
}

void frmTarvix1::Command1_Click() {
    tarvix::Command1_Click(m_form, m_record);
    moveFocusOffHiddenControl();
}

void frmTarvix1::Command2_Click() {
    tarvix::Command2_Click(m_form, m_record);
    moveFocusOffHiddenControl();
}

void frmTarvix1::moveFocusOffHiddenControl() {
    // The OK button just pressed is hidden with its panel, and a hidden
    // control takes no keys. Qt leaves the focus there, as the panel is hidden
    // before the next one is shown; it moves on in tab order to the first
    // control after it that is shown and enabled. Only the focus moves: unlike
    // a Tab, it selects nothing in the box it reaches.
    QWidget* focused = focusWidget();
    if (focused == nullptr || focused->isVisibleTo(this)) {
        return;
    }
    for (QWidget* next = focused->nextInFocusChain(); next != focused;
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->isEnabled() &&
            next->isVisibleTo(this)) {
            next->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void frmTarvix1::Label11_Click() {
    // The desktop's answer is not examined: no browser, or a refused request,
    // leaves the window and the design as they are and tells the user nothing.
#ifdef Q_OS_WIN
    // The shell is given the window as the parent of anything it shows.
    static_cast<void>(ShellExecuteA(reinterpret_cast<HWND>(winId()), "open",
                                    std::string(kAuthorPage).c_str(), "", "", SW_SHOWNORMAL));
#else
    static_cast<void>(QDesktopServices::openUrl(
        QUrl(QString::fromLatin1(kAuthorPage.data(), static_cast<qsizetype>(kAuthorPage.size())))));
#endif
}

} // namespace tarvix
