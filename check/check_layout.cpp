// The check window's layout: a builder per group of boxes, the run's row and
// the results' column. The order in which the controls are made and laid out
// sets the order Tab visits them in (the window's tests check it): keep it
// when moving one.
#include "calc/feedline.h"
#include "calc/transmit_modes.h"
#include "check/check_window.h"
#include "check/note_label.h"
#include "check/plot_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <utility>

namespace tarvix {

namespace {

const char* const kWireKinds[] = {"SWG", "AWG", "Diameter"};

QGroupBox* group(const QString& title, QGridLayout*& grid) {
    auto* box = new QGroupBox(title);
    grid = new QGridLayout(box);
    grid->setColumnStretch(3, 1);
    return box;
}

// The list of how a wire is given: by gauge or by its diameter.
QComboBox* wireBySelector(const QString& objectName) {
    auto* selector = new QComboBox;
    selector->setObjectName(objectName);
    for (const char* kind : kWireKinds) {
        selector->addItem(CheckWindow::tr(kind));
    }
    return selector;
}

// A list on a row of its own, named by its caption: on Linux a screen reader
// reads a list's caption (the label whose buddy it is), its chosen item as
// its name.
void addList(QGridLayout* grid, int row, const QString& caption, QComboBox* list) {
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    list->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    CheckWindow::letWheelScroll(list);
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row, 1, 1, 2);
}

QRadioButton* radioButton(const QString& text, const QString& objectName) {
    auto* button = new QRadioButton(text);
    button->setObjectName(objectName);
    return button;
}

QPushButton* pushButton(const QString& text, const QString& objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    return button;
}

} // namespace

QLineEdit* CheckWindow::addField(QGridLayout* grid, int row, CheckField field, const QString& label,
                                 const QString& objectName) {
    FieldRow fieldRow;
    fieldRow.label = label;
    auto* caption = new QLabel(label);
    fieldRow.edit = new QLineEdit;
    fieldRow.edit->setObjectName(objectName);
    fieldRow.edit->setAccessibleName(label);
    fieldRow.edit->setMaximumWidth(fieldRow.edit->fontMetrics().horizontalAdvance('0') * 12);
    caption->setBuddy(fieldRow.edit);
    fieldRow.unit = new QLabel;
    // One line, cut to its column: a note never moves a box.
    fieldRow.note = new NoteLabel;
    fieldRow.note->setObjectName(objectName + QStringLiteral("Note"));
    fieldRow.note->setAccessibleName(label + tr(": note"));
    grid->addWidget(caption, row, 0);
    grid->addWidget(fieldRow.edit, row, 1);
    grid->addWidget(fieldRow.unit, row, 2);
    grid->addWidget(fieldRow.note, row, 3);
    connect(fieldRow.edit, &QLineEdit::textChanged, this, &CheckWindow::refresh);
    connect(fieldRow.edit, &QLineEdit::returnPressed, this, &CheckWindow::simulate);
    m_fields[field] = fieldRow;
    return fieldRow.edit;
}

// Two choices of one row, the first chosen: the first in the first column,
// the second across the rest.
void CheckWindow::addChoice(QGridLayout* grid, int row, QRadioButton* first, QRadioButton* second) {
    first->setChecked(true);
    auto* choice = new QButtonGroup(this);
    choice->addButton(first);
    choice->addButton(second);
    // As wide as their words: a button stretched over the row could not be
    // brought whole into sight on a narrow screen.
    grid->addWidget(first, row, 0, Qt::AlignLeft);
    grid->addWidget(second, row, 1, 1, 3, Qt::AlignLeft);
}

QGroupBox* CheckWindow::antennaBox() {
    QGridLayout* grid = nullptr;
    QGroupBox* antenna = group(tr("Antenna"), grid);
    addField(grid, 0, CheckField::Freq, tr("Frequency F"), QStringLiteral("freq"));
    addField(grid, 1, CheckField::TotalLength, tr("Total length A, tip to tip"),
             QStringLiteral("totalLength"));
    addField(grid, 2, CheckField::CentreToCoil, tr("Feed point to each coil B"),
             QStringLiteral("centreToCoil"));
    m_antennaWireBy = wireBySelector(QStringLiteral("antennaWireBy"));
    addList(grid, 3, tr("Antenna wire given by"), m_antennaWireBy);
    addField(grid, 4, CheckField::AntennaWire, tr("Antenna wire"), QStringLiteral("antennaWire"));
    return antenna;
}

QGroupBox* CheckWindow::hangsBox() {
    QGridLayout* grid = nullptr;
    QGroupBox* hangs = group(tr("Where it hangs"), grid);
    m_freeSpace = radioButton(tr("&Free space"), QStringLiteral("freeSpace"));
    m_overGround = radioButton(tr("Over the &ground"), QStringLiteral("overGround"));
    addChoice(grid, 0, m_freeSpace, m_overGround);
    // In the order of groundClasses().
    m_ground = new QComboBox;
    m_ground->setObjectName(QStringLiteral("ground"));
    for (const QString& name :
         {tr("Very good (rich soil)"), tr("Average"), tr("Poor (rocky, sandy)"),
          tr("Very poor (cities)"), tr("Sea water"), tr("Fresh water")}) {
        m_ground->addItem(name);
    }
    addList(grid, 1, tr("&Kind of ground"), m_ground);
    addField(grid, 2, CheckField::Height, tr("Feed point height"), QStringLiteral("height"));
    addField(grid, 3, CheckField::EndHeight, tr("Tips' height (inverted V; empty: level)"),
             QStringLiteral("endHeight"));
    m_insulated = new QCheckBox(tr("&Insulated wire"));
    m_insulated->setObjectName(QStringLiteral("insulated"));
    grid->addWidget(m_insulated, 4, 0, 1, 4, Qt::AlignLeft);
    addField(grid, 5, CheckField::Insulation, tr("Insulation thickness"),
             QStringLiteral("insulation"));
    addField(grid, 6, CheckField::Permittivity, tr("Relative permittivity"),
             QStringLiteral("permittivity"));
    return hangs;
}

QGroupBox* CheckWindow::coilBox() {
    QGridLayout* grid = nullptr;
    QGroupBox* coil = group(tr("Coil"), grid);
    addField(grid, 0, CheckField::FormerDia, tr("Former diameter"), QStringLiteral("formerDia"));
    // In the order of CoilFormer.
    m_former = new QComboBox;
    m_former->setObjectName(QStringLiteral("former"));
    m_former->addItem(tr("A PVC pipe"));
    m_former->addItem(tr("Air (self-supporting)"));
    m_former->addItem(tr("A solid rod"));
    addList(grid, 1, tr("&Wound on"), m_former);
    m_coilWireBy = wireBySelector(QStringLiteral("coilWireBy"));
    addList(grid, 2, tr("Coil wire given by"), m_coilWireBy);
    addField(grid, 3, CheckField::CoilWire, tr("Coil wire"), QStringLiteral("coilWire"));
    m_closeWound = radioButton(tr("&Close-wound"), QStringLiteral("closeWound"));
    m_atPitch = radioButton(tr("At a &pitch"), QStringLiteral("atPitch"));
    addChoice(grid, 4, m_closeWound, m_atPitch);
    addField(grid, 5, CheckField::Pitch, tr("Pitch"), QStringLiteral("pitch"));
    addField(grid, 6, CheckField::CoilLength, tr("First coil length (optional)"),
             QStringLiteral("coilLength"));
    addField(grid, 7, CheckField::GivenTurns, tr("Turns already wound (optional)"),
             QStringLiteral("givenTurns"));
    m_qFromWinding = radioButton(tr("Q &as wound"), QStringLiteral("qFromWinding"));
    m_qGiven = radioButton(tr("&Q given"), QStringLiteral("qGiven"));
    addChoice(grid, 8, m_qFromWinding, m_qGiven);
    addField(grid, 9, CheckField::Q, tr("Q of each coil"), QStringLiteral("q"));
    return coil;
}

QGroupBox* CheckWindow::lineBox() {
    QGridLayout* grid = nullptr;
    QGroupBox* line = group(tr("Feed line, transmitter and units"), grid);
    addField(grid, 0, CheckField::Z0, tr("SWR reference impedance Z0"), QStringLiteral("z0"));
    // None, then in the order of feedLineTypes().
    m_feedLine = new QComboBox;
    m_feedLine->setObjectName(QStringLiteral("feedLine"));
    m_feedLine->addItem(tr("None: read at the feed point"));
    for (const FeedLineType& type : feedLineTypes()) {
        m_feedLine->addItem(
            QString::fromLatin1(type.name.data(), static_cast<qsizetype>(type.name.size())));
    }
    addList(grid, 1, tr("Feed line &to the rig"), m_feedLine);
    addField(grid, 2, CheckField::FeedLineLength, tr("Feed line length"),
             QStringLiteral("feedLineLength"));
    addField(grid, 3, CheckField::Power, tr("Transmitter power"), QStringLiteral("power"));
    // In the order of transmitModes().
    m_mode = new QComboBox;
    m_mode->setObjectName(QStringLiteral("mode"));
    for (const TransmitMode& mode : transmitModes()) {
        m_mode->addItem(
            tr("%1 (on %2 % of the time)")
                .arg(QString::fromLatin1(mode.description.data(),
                                         static_cast<qsizetype>(mode.description.size())))
                .arg(mode.dutyPercent));
    }
    addList(grid, 4, tr("&Mode"), m_mode);
    m_units = new QComboBox;
    m_units->setObjectName(QStringLiteral("units"));
    m_units->addItem(tr("Feet and inches"));
    m_units->addItem(tr("Metres and millimetres"));
    addList(grid, 5, tr("&Units"), m_units);
    return line;
}

// The antenna built, as an analyzer shows it: Simulate then also says what
// to change to bring its resonance to F.
QGroupBox* CheckWindow::measuredBox() {
    QGridLayout* grid = nullptr;
    QGroupBox* measured = group(tr("Measured resonance"), grid);
    addField(grid, 0, CheckField::Measured, tr("Resonance measured (optional)"),
             QStringLiteral("measured"));
    addField(grid, 1, CheckField::MeasuredSwr, tr("SWR there (optional)"),
             QStringLiteral("measuredSwr"));
    addField(grid, 2, CheckField::MeasuredR, tr("Resistance there (optional)"),
             QStringLiteral("measuredR"));
    return measured;
}

// Opening and saving the inputs as a design file, first in the column.
QHBoxLayout* CheckWindow::designRow() {
    m_openDesign = pushButton(tr("Op&en design..."), QStringLiteral("openDesign"));
    m_saveDesign = pushButton(tr("Sa&ve design..."), QStringLiteral("saveDesign"));
    m_openDesign->setToolTip(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    m_saveDesign->setToolTip(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText));
    new QShortcut(QKeySequence::Open, this, this, &CheckWindow::openDesign);
    new QShortcut(QKeySequence::Save, this, this, &CheckWindow::saveDesign);
    auto* row = new QHBoxLayout;
    row->addWidget(m_openDesign);
    row->addWidget(m_saveDesign);
    row->addStretch(1);
    return row;
}

// Simulate, Cancel and the solves done in a row; the status line below it
// is made here too.
QHBoxLayout* CheckWindow::runRow() {
    m_simulate = pushButton(tr("&Simulate"), QStringLiteral("simulate"));
    m_cancel = pushButton(tr("Cance&l"), QStringLiteral("cancel"));
    m_cancel->setEnabled(false);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(tr("Solves done"));
    m_progress->setFormat(tr("%v solves"));
    m_progress->setRange(0, kSolvesExpected);
    m_progress->setValue(0);
    auto* run = new QHBoxLayout;
    run->addWidget(m_simulate);
    run->addWidget(m_cancel);
    run->addWidget(m_progress, 1);
    // Two lines, whatever it says: a long status never moves the boxes; the
    // whole of it is in its tool tip.
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setAccessibleName(tr("Status"));
    m_status->setFixedHeight(m_status->fontMetrics().lineSpacing() * 2 + 2);
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return run;
}

QWidget* CheckWindow::inputsColumn() {
    QHBoxLayout* design = designRow();
    auto* inputs = new QVBoxLayout;
    for (QGroupBox* box : {antennaBox(), hangsBox(), coilBox(), lineBox(), measuredBox()}) {
        inputs->addWidget(box);
    }
    QHBoxLayout* run = runRow();
    inputs->addStretch(1);
    // The boxes scroll where the window is too low or too narrow for them;
    // the run and its status stay in sight below them.
    auto* inputsPane = new QWidget;
    inputsPane->setLayout(inputs);
    auto* inputsScroll = new QScrollArea;
    m_inputsScroll = inputsScroll;
    inputsScroll->setObjectName(QStringLiteral("inputsScroll"));
    inputsScroll->setWidget(inputsPane);
    inputsScroll->setWidgetResizable(true);
    inputsScroll->setFrameShape(QFrame::NoFrame);
    // Tab goes to the boxes, and the area scrolls to the one with the focus
    // (bringIntoSight).
    inputsScroll->setFocusPolicy(Qt::NoFocus);
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("inputsColumn"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(design);
    layout->addWidget(inputsScroll, 1);
    layout->addLayout(run);
    layout->addWidget(m_status);
    return column;
}

// The buttons that keep a result, off until there is one, in two rows of
// three: six in one row would be wider than the plot, and the results would
// scroll sideways on a small screen.
QGridLayout* CheckWindow::keepRows() {
    m_saveDeck = pushButton(tr("Save &deck..."), QStringLiteral("saveDeck"));
    m_savePlot = pushButton(tr("Save pl&ot..."), QStringLiteral("savePlot"));
    m_saveReport = pushButton(tr("Save &report..."), QStringLiteral("saveReport"));
    m_saveSheet = pushButton(tr("Save build s&heet..."), QStringLiteral("saveSheet"));
    m_printSheet = pushButton(tr("Pri&nt..."), QStringLiteral("printSheet"));
    m_printSheet->setAccessibleName(tr("Print the build sheet"));
    m_printSheet->setToolTip(
        tr("Print the build sheet (%1)")
            .arg(QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText)));
    new QShortcut(QKeySequence::Print, this, this, &CheckWindow::printSheet);
    m_copyReport = pushButton(tr("Cop&y report"), QStringLiteral("copyReport"));
    constexpr int kPerRow = 3;
    auto* keep = new QGridLayout;
    int place = 0;
    for (QPushButton* button :
         {m_saveDeck, m_savePlot, m_saveReport, m_saveSheet, m_printSheet, m_copyReport}) {
        button->setEnabled(false);
        keep->addWidget(button, place / kPerRow, place % kPerRow);
        ++place;
    }
    keep->setColumnStretch(kPerRow, 1);
    return keep;
}

QWidget* CheckWindow::outputsColumn() {
    m_results = new QPlainTextEdit;
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setReadOnly(true);
    // Read-only, yet reachable by Tab and by a screen reader's caret.
    m_results->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_results->setTabChangesFocus(true);
    m_results->setAccessibleName(tr("Results"));
    m_plot = new PlotView;
    m_plot->setObjectName(QStringLiteral("plot"));
    // A result no longer that of the inputs is shown faded.
    m_plotFade = new QGraphicsOpacityEffect(m_plot);
    m_plotFade->setOpacity(0.35);
    m_plotFade->setEnabled(false);
    m_plot->setGraphicsEffect(m_plotFade);
    m_readout = new QLabel;
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setAccessibleName(tr("Plot readout"));
    connect(m_plot, &PlotView::readoutChanged, m_readout, &QLabel::setText);
    QGridLayout* keep = keepRows();

    auto* plotPane = new QWidget;
    auto* plotLayout = new QVBoxLayout(plotPane);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    plotLayout->addWidget(m_plot, 1);
    plotLayout->addWidget(m_readout);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(m_results);
    splitter->addWidget(plotPane);
    splitter->setStretchFactor(1, 1);
    // The sentences first: a dozen lines of them, then the plot.
    splitter->setSizes({320, 440});
    auto* outputs = new QWidget;
    outputs->setObjectName(QStringLiteral("outputsColumn"));
    auto* layout = new QVBoxLayout(outputs);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter, 1);
    layout->addLayout(keep);
    return outputs;
}

} // namespace tarvix
