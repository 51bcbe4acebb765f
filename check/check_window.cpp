// The check window's controls and their handlers. What the boxes mean is read
// by check_inputs, the sentences come from the report library and the plot
// from the shared painter: the window only wires them together.
#include "check/check_window.h"

#include "check/plot_view.h"
#include "nec/design_model.h"
#include "nec/nec_deck.h"
#include "plot/simulation_painter.h"
#include "report/design_report.h"
#include "report/file_output.h"
#include "report/simulation_report.h"
#include "report/trim_report.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>
#include <system_error>

namespace tarvix {

namespace {

// A run of the worked example takes some 10 solves (designs whose answers the
// search's model cannot give take up to 30); the bar's end moves on when a
// run takes more.
constexpr int kSolvesExpected = 10;
constexpr int kProgressIntervalMs = 100;

const char* const kWireKinds[] = {"SWG", "AWG", "Diameter"};

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QGroupBox* group(const QString& title, QGridLayout*& grid) {
    auto* box = new QGroupBox(title);
    grid = new QGridLayout(box);
    grid->setColumnStretch(3, 1);
    return box;
}

} // namespace

QLineEdit* CheckWindow::addField(QGridLayout* grid, int row, CheckField field, const QString& label,
                                 const QString& objectName, QWidget* before) {
    FieldRow fieldRow;
    fieldRow.label = label;
    auto* caption = new QLabel(label);
    fieldRow.edit = new QLineEdit;
    fieldRow.edit->setObjectName(objectName);
    fieldRow.edit->setAccessibleName(label);
    fieldRow.edit->setMaximumWidth(fieldRow.edit->fontMetrics().horizontalAdvance('0') * 12);
    caption->setBuddy(fieldRow.edit);
    fieldRow.unit = new QLabel;
    fieldRow.note = new QLabel;
    fieldRow.note->setObjectName(objectName + QStringLiteral("Note"));
    fieldRow.note->setWordWrap(true);
    fieldRow.note->setAccessibleName(label + tr(": note"));
    grid->addWidget(caption, row, 0);
    if (before != nullptr) {
        auto* pair = new QHBoxLayout;
        pair->setContentsMargins(0, 0, 0, 0);
        pair->addWidget(before);
        pair->addWidget(fieldRow.edit);
        grid->addLayout(pair, row, 1);
    } else {
        grid->addWidget(fieldRow.edit, row, 1);
    }
    grid->addWidget(fieldRow.unit, row, 2);
    grid->addWidget(fieldRow.note, row, 3);
    connect(fieldRow.edit, &QLineEdit::textChanged, this, &CheckWindow::refresh);
    connect(fieldRow.edit, &QLineEdit::returnPressed, this, &CheckWindow::simulate);
    m_fields[field] = fieldRow;
    return fieldRow.edit;
}

namespace {

// A plain top-level QWidget reaches a screen reader as a filler; the window
// is presented as a window (a frame to AT-SPI), as the calculator's is. Qt
// asks for each class of an object, the most derived first.
QAccessibleInterface* checkWindowInterface(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1StringView(CheckWindow::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

} // namespace

CheckWindow::CheckWindow(QSettings& settings, std::string engine, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_engine(std::move(engine)), m_run(m_engine) {
    // Qt keeps a factory once however often it is installed.
    QAccessible::installFactory(checkWindowInterface);
    setWindowTitle(tr("Tarvix Antenna Check"));
    m_askSavePath = [this](const QString& title, const QString& name, const QString& filters) {
        return QFileDialog::getSaveFileName(this, title, name, filters);
    };

    auto* inputs = new QVBoxLayout;
    QGridLayout* grid = nullptr;

    QGroupBox* antenna = group(tr("Antenna"), grid);
    addField(grid, 0, CheckField::Freq, tr("Frequency F"), QStringLiteral("freq"));
    addField(grid, 1, CheckField::TotalLength, tr("Total length A, tip to tip"),
             QStringLiteral("totalLength"));
    addField(grid, 2, CheckField::CentreToCoil, tr("Feed point to each coil B"),
             QStringLiteral("centreToCoil"));
    m_antennaWireBy = new QComboBox;
    m_antennaWireBy->setObjectName(QStringLiteral("antennaWireBy"));
    m_antennaWireBy->setAccessibleName(tr("Antenna wire given by"));
    for (const char* kind : kWireKinds) {
        m_antennaWireBy->addItem(tr(kind));
    }
    addField(grid, 3, CheckField::AntennaWire, tr("Antenna wire"), QStringLiteral("antennaWire"),
             m_antennaWireBy);
    inputs->addWidget(antenna);

    QGroupBox* hangs = group(tr("Where it hangs"), grid);
    m_freeSpace = new QRadioButton(tr("&Free space"));
    m_freeSpace->setObjectName(QStringLiteral("freeSpace"));
    m_overGround = new QRadioButton(tr("Over average &ground"));
    m_overGround->setObjectName(QStringLiteral("overGround"));
    m_freeSpace->setChecked(true);
    auto* place = new QButtonGroup(this);
    place->addButton(m_freeSpace);
    place->addButton(m_overGround);
    grid->addWidget(m_freeSpace, 0, 0);
    grid->addWidget(m_overGround, 0, 1, 1, 3);
    addField(grid, 1, CheckField::Height, tr("Height"), QStringLiteral("height"));
    m_insulated = new QCheckBox(tr("&Insulated wire"));
    m_insulated->setObjectName(QStringLiteral("insulated"));
    grid->addWidget(m_insulated, 2, 0, 1, 4);
    addField(grid, 3, CheckField::Insulation, tr("Insulation thickness"),
             QStringLiteral("insulation"));
    addField(grid, 4, CheckField::Permittivity, tr("Relative permittivity"),
             QStringLiteral("permittivity"));
    inputs->addWidget(hangs);

    QGroupBox* coil = group(tr("Coil"), grid);
    addField(grid, 0, CheckField::FormerDia, tr("Former diameter"), QStringLiteral("formerDia"));
    // In the order of CoilFormer.
    m_former = new QComboBox;
    m_former->setObjectName(QStringLiteral("former"));
    m_former->addItem(tr("A PVC pipe"));
    m_former->addItem(tr("Air (self-supporting)"));
    m_former->addItem(tr("A solid rod"));
    auto* formerCaption = new QLabel(tr("&Wound on"));
    formerCaption->setBuddy(m_former);
    m_former->setAccessibleName(tr("Wound on"));
    grid->addWidget(formerCaption, 1, 0);
    grid->addWidget(m_former, 1, 1, 1, 2);
    m_coilWireBy = new QComboBox;
    m_coilWireBy->setObjectName(QStringLiteral("coilWireBy"));
    m_coilWireBy->setAccessibleName(tr("Coil wire given by"));
    for (const char* kind : kWireKinds) {
        m_coilWireBy->addItem(tr(kind));
    }
    addField(grid, 2, CheckField::CoilWire, tr("Coil wire"), QStringLiteral("coilWire"),
             m_coilWireBy);
    m_closeWound = new QRadioButton(tr("&Close-wound"));
    m_closeWound->setObjectName(QStringLiteral("closeWound"));
    m_atPitch = new QRadioButton(tr("At a &pitch"));
    m_atPitch->setObjectName(QStringLiteral("atPitch"));
    m_closeWound->setChecked(true);
    auto* winding = new QButtonGroup(this);
    winding->addButton(m_closeWound);
    winding->addButton(m_atPitch);
    grid->addWidget(m_closeWound, 3, 0);
    grid->addWidget(m_atPitch, 3, 1, 1, 3);
    addField(grid, 4, CheckField::Pitch, tr("Pitch"), QStringLiteral("pitch"));
    addField(grid, 5, CheckField::CoilLength, tr("First coil length (optional)"),
             QStringLiteral("coilLength"));
    addField(grid, 6, CheckField::GivenTurns, tr("Turns already wound (optional)"),
             QStringLiteral("givenTurns"));
    m_qFromWinding = new QRadioButton(tr("Q from the &winding"));
    m_qFromWinding->setObjectName(QStringLiteral("qFromWinding"));
    m_qGiven = new QRadioButton(tr("Q &given"));
    m_qGiven->setObjectName(QStringLiteral("qGiven"));
    m_qFromWinding->setChecked(true);
    auto* quality = new QButtonGroup(this);
    quality->addButton(m_qFromWinding);
    quality->addButton(m_qGiven);
    grid->addWidget(m_qFromWinding, 7, 0);
    grid->addWidget(m_qGiven, 7, 1, 1, 3);
    addField(grid, 8, CheckField::Q, tr("Q of each coil"), QStringLiteral("q"));
    inputs->addWidget(coil);

    QGroupBox* line = group(tr("Feed line and units"), grid);
    addField(grid, 0, CheckField::Z0, tr("Feed line impedance Z0"), QStringLiteral("z0"));
    auto* unitsCaption = new QLabel(tr("&Units"));
    m_units = new QComboBox;
    m_units->setObjectName(QStringLiteral("units"));
    m_units->setAccessibleName(tr("Units"));
    m_units->addItem(tr("Feet and inches"));
    m_units->addItem(tr("Metres and millimetres"));
    unitsCaption->setBuddy(m_units);
    grid->addWidget(unitsCaption, 1, 0);
    grid->addWidget(m_units, 1, 1, 1, 2);
    inputs->addWidget(line);

    // The antenna built, as an analyzer shows it: Simulate then also says
    // what to change to bring its resonance to F.
    QGroupBox* measured = group(tr("Measured resonance"), grid);
    addField(grid, 0, CheckField::Measured, tr("Resonance measured (optional)"),
             QStringLiteral("measured"));
    addField(grid, 1, CheckField::MeasuredSwr, tr("SWR there (optional)"),
             QStringLiteral("measuredSwr"));
    addField(grid, 2, CheckField::MeasuredR, tr("Resistance there (optional)"),
             QStringLiteral("measuredR"));
    inputs->addWidget(measured);

    m_simulate = new QPushButton(tr("&Simulate"));
    m_simulate->setObjectName(QStringLiteral("simulate"));
    m_cancel = new QPushButton(tr("Cance&l"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
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
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setAccessibleName(tr("Status"));
    inputs->addStretch(1);
    // The boxes scroll on a screen too low for them all; the run and its
    // status stay in sight below them.
    auto* inputsPane = new QWidget;
    inputsPane->setLayout(inputs);
    auto* inputsScroll = new QScrollArea;
    inputsScroll->setObjectName(QStringLiteral("inputsScroll"));
    inputsScroll->setWidget(inputsPane);
    inputsScroll->setWidgetResizable(true);
    inputsScroll->setFrameShape(QFrame::NoFrame);
    // Tab goes to the boxes, and the area scrolls to the one with the focus.
    inputsScroll->setFocusPolicy(Qt::NoFocus);
    inputsScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    inputsScroll->setMinimumWidth(inputsPane->sizeHint().width() +
                                  inputsScroll->verticalScrollBar()->sizeHint().width());
    auto* inputsColumn = new QVBoxLayout;
    inputsColumn->addWidget(inputsScroll, 1);
    inputsColumn->addLayout(run);
    inputsColumn->addWidget(m_status);

    m_results = new QPlainTextEdit;
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setReadOnly(true);
    // Read-only, yet reachable by Tab and by a screen reader's caret.
    m_results->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_results->setTabChangesFocus(true);
    m_results->setAccessibleName(tr("Results"));
    m_plot = new PlotView;
    m_plot->setObjectName(QStringLiteral("plot"));
    m_readout = new QLabel;
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setAccessibleName(tr("Plot readout"));
    connect(m_plot, &PlotView::readoutChanged, m_readout, &QLabel::setText);
    m_saveDeck = new QPushButton(tr("Save &deck..."));
    m_saveDeck->setObjectName(QStringLiteral("saveDeck"));
    m_savePlot = new QPushButton(tr("Save pl&ot..."));
    m_savePlot->setObjectName(QStringLiteral("savePlot"));
    m_saveReport = new QPushButton(tr("Save &report..."));
    m_saveReport->setObjectName(QStringLiteral("saveReport"));
    m_copyReport = new QPushButton(tr("Cop&y report"));
    m_copyReport->setObjectName(QStringLiteral("copyReport"));
    auto* keep = new QHBoxLayout;
    for (QPushButton* button : {m_saveDeck, m_savePlot, m_saveReport, m_copyReport}) {
        button->setEnabled(false);
        keep->addWidget(button);
    }
    keep->addStretch(1);

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
    auto* outputs = new QVBoxLayout;
    outputs->addWidget(splitter, 1);
    outputs->addLayout(keep);

    auto* columns = new QHBoxLayout(this);
    columns->addLayout(inputsColumn);
    columns->addLayout(outputs, 1);

    connect(m_simulate, &QPushButton::clicked, this, &CheckWindow::simulate);
    connect(m_cancel, &QPushButton::clicked, this, &CheckWindow::cancel);
    connect(m_saveDeck, &QPushButton::clicked, this, &CheckWindow::saveDeck);
    connect(m_savePlot, &QPushButton::clicked, this, &CheckWindow::savePlot);
    connect(m_saveReport, &QPushButton::clicked, this, &CheckWindow::saveReport);
    connect(m_copyReport, &QPushButton::clicked, this, &CheckWindow::copyReport);
    for (QAbstractButton* toggle :
         std::initializer_list<QAbstractButton*>{m_overGround, m_insulated, m_atPitch, m_qGiven}) {
        connect(toggle, &QAbstractButton::toggled, this, &CheckWindow::refresh);
    }
    for (QComboBox* combo : {m_antennaWireBy, m_coilWireBy, m_former, m_units}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &CheckWindow::refresh);
    }
    connect(&m_run, &SimulationRun::finished, this, &CheckWindow::runFinished);
    connect(&m_progressTimer, &QTimer::timeout, this, &CheckWindow::showProgress);
    m_progressTimer.setInterval(kProgressIntervalMs);

    // Each restored box would check them all again: once, after, is enough.
    m_restoring = true;
    restoreSettings();
    m_restoring = false;
    m_unitsIndex = m_units->currentIndex();
    // Only from here on: the restored lengths are in their own units.
    connect(m_units, &QComboBox::currentIndexChanged, this, &CheckWindow::convertUnits);
    refresh();
}

CheckWindow::~CheckWindow() = default;

CheckTexts CheckWindow::texts() const {
    CheckTexts texts;
    auto field = [this](CheckField f) { return text(m_fields.at(f).edit); };
    texts.freq = field(CheckField::Freq);
    texts.totalLength = field(CheckField::TotalLength);
    texts.centreToCoil = field(CheckField::CentreToCoil);
    texts.antennaWire = {static_cast<WireBy>(m_antennaWireBy->currentIndex()),
                         field(CheckField::AntennaWire)};
    texts.overGround = m_overGround->isChecked();
    texts.height = field(CheckField::Height);
    texts.insulated = m_insulated->isChecked();
    texts.insulation = field(CheckField::Insulation);
    texts.permittivity = field(CheckField::Permittivity);
    texts.formerDia = field(CheckField::FormerDia);
    texts.coilWire = {static_cast<WireBy>(m_coilWireBy->currentIndex()),
                      field(CheckField::CoilWire)};
    texts.closeWound = m_closeWound->isChecked();
    texts.pitch = field(CheckField::Pitch);
    texts.coilLength = field(CheckField::CoilLength);
    texts.givenTurns = field(CheckField::GivenTurns);
    texts.former = static_cast<CoilFormer>(m_former->currentIndex());
    texts.qGiven = m_qGiven->isChecked();
    texts.q = field(CheckField::Q);
    texts.z0 = field(CheckField::Z0);
    texts.measured = field(CheckField::Measured);
    texts.measuredSwr = field(CheckField::MeasuredSwr);
    texts.measuredR = field(CheckField::MeasuredR);
    texts.units = m_units->currentIndex() == 1 ? Units::Metric : Units::FeetAndInches;
    const QString separator = QLocale().decimalPoint();
    texts.decimalSeparator = separator.size() == 1 ? separator.at(0).toLatin1() : '.';
    return texts;
}

QString CheckWindow::reportText() const {
    return m_shown ? qt(m_shown->text) : QString();
}

void CheckWindow::updateUnits() {
    const Units units = m_units->currentIndex() == 1 ? Units::Metric : Units::FeetAndInches;
    const QString antennaUnit = QString::fromLatin1(antennaUnitName(units));
    const QString coilUnit = QString::fromLatin1(coilUnitName(units));
    const bool antennaByDiameter = m_antennaWireBy->currentIndex() == 2;
    const bool coilByDiameter = m_coilWireBy->currentIndex() == 2;
    const std::pair<CheckField, QString> unitsOf[] = {
        {CheckField::Freq, QStringLiteral("MHz")},
        {CheckField::TotalLength, antennaUnit},
        {CheckField::CentreToCoil, antennaUnit},
        {CheckField::AntennaWire, antennaByDiameter ? coilUnit : QString()},
        {CheckField::Height, antennaUnit},
        {CheckField::Insulation, coilUnit},
        {CheckField::Permittivity, QString()},
        {CheckField::FormerDia, coilUnit},
        {CheckField::CoilWire, coilByDiameter ? coilUnit : QString()},
        {CheckField::Pitch, coilUnit},
        {CheckField::CoilLength, coilUnit},
        {CheckField::GivenTurns, QString()},
        {CheckField::Q, QString()},
        {CheckField::Z0, QStringLiteral("ohm")},
        {CheckField::Measured, QStringLiteral("MHz")},
        {CheckField::MeasuredSwr, QString()},
        {CheckField::MeasuredR, QStringLiteral("ohm")}};
    for (const auto& [field, unit] : unitsOf) {
        m_fields.at(field).unit->setText(unit);
    }
}

// The lengths typed are converted to the units chosen, to six significant
// digits; what is not a number is left as it is.
void CheckWindow::convertUnits(int unitsIndex) {
    if (unitsIndex == m_unitsIndex) {
        return;
    }
    const Units from = m_unitsIndex == 1 ? Units::Metric : Units::FeetAndInches;
    const Units to = unitsIndex == 1 ? Units::Metric : Units::FeetAndInches;
    m_unitsIndex = unitsIndex;
    const char separator = texts().decimalSeparator;
    auto convert = [&](CheckField field, bool antennaLength) {
        QLineEdit* edit = m_fields.at(field).edit;
        const auto value = readLocalNumber(text(edit), separator);
        if (!value) {
            return;
        }
        const double converted = antennaLength
                                     ? antennaUnitFromFeet(feetFromAntennaUnit(*value, from), to)
                                     : coilUnitFromInches(inchesFromCoilUnit(*value, from), to);
        edit->setText(QString::number(converted, 'g', 6));
    };
    for (const CheckField field :
         {CheckField::TotalLength, CheckField::CentreToCoil, CheckField::Height}) {
        convert(field, true);
    }
    for (const CheckField field : {CheckField::Insulation, CheckField::FormerDia, CheckField::Pitch,
                                   CheckField::CoilLength}) {
        convert(field, false);
    }
    if (m_antennaWireBy->currentIndex() == static_cast<int>(WireBy::Diameter)) {
        convert(CheckField::AntennaWire, false);
    }
    if (m_coilWireBy->currentIndex() == static_cast<int>(WireBy::Diameter)) {
        convert(CheckField::CoilWire, false);
    }
}

void CheckWindow::refresh() {
    if (m_restoring) {
        return;
    }
    updateUnits();
    m_fields.at(CheckField::Height).edit->setEnabled(m_overGround->isChecked());
    m_fields.at(CheckField::Insulation).edit->setEnabled(m_insulated->isChecked());
    m_fields.at(CheckField::Permittivity).edit->setEnabled(m_insulated->isChecked());
    m_fields.at(CheckField::Pitch).edit->setEnabled(m_atPitch->isChecked());
    m_fields.at(CheckField::Q).edit->setEnabled(m_qGiven->isChecked());

    const CheckRequest request = readCheckInputs(texts());
    std::map<CheckField, std::pair<QStringList, bool>> notes;
    for (const FieldNote& note : request.notes) {
        auto& [lines, stops] = notes[note.field];
        lines.append(qt(note.text));
        stops = stops || note.stopsRun;
    }
    for (auto& [field, row] : m_fields) {
        const auto found = notes.find(field);
        if (found == notes.end()) {
            row.note->clear();
            continue;
        }
        row.note->setText(found->second.first.join(QLatin1Char('\n')));
        // Warnings in the calculator's amber; what stops a run in red.
        // A palette, not a style sheet: the first style sheet costs the
        // window a tenth of its start.
        QPalette colours = row.note->palette();
        colours.setColor(QPalette::WindowText, found->second.second ? QColor(0xb0, 0x00, 0x20)
                                                                    : QColor(0x8a, 0x5a, 0x00));
        row.note->setPalette(colours);
    }
    if (!m_run.running()) {
        m_simulate->setEnabled(!request.stop);
        if (request.stop) {
            setStatus(tr("Cannot simulate: %1: %2")
                          .arg(m_fields.at(request.stop->field).label, qt(request.stop->text)));
        } else if (m_status->property("stopShown").toBool()) {
            setStatus(QString());
        }
        m_status->setProperty("stopShown", request.stop.has_value());
    }
}

void CheckWindow::setStatus(const QString& text) {
    m_status->setText(text);
}

void CheckWindow::simulate() {
    if (m_run.running()) {
        return;
    }
    CheckRequest request = readCheckInputs(texts());
    if (request.stop) {
        refresh();
        return;
    }
    if (m_engine.find('/') == std::string::npos &&
        QStandardPaths::findExecutable(qt(m_engine)).isEmpty()) {
        setStatus(tr("%1, the NEC-2 engine, is not installed: install the Debian package nec2c "
                     "(apt install nec2c).")
                      .arg(qt(m_engine)));
        return;
    }
    storeSettings();
    m_request = request;
    m_shown.reset();
    m_plot->clear();
    m_results->setPlainText(tr("Simulating..."));
    m_progress->setRange(0,
                         m_settings.value(QStringLiteral("run/solves"), kSolvesExpected).toInt());
    m_progress->setValue(0);
    m_simulate->setEnabled(false);
    m_cancel->setEnabled(true);
    for (QPushButton* button : {m_saveDeck, m_savePlot, m_saveReport, m_copyReport}) {
        button->setEnabled(false);
    }
    m_status->setProperty("stopShown", false);
    setStatus(tr("Simulating in nec2c..."));
    m_run.start(request.design, request.options, request.measuredMHz);
    m_progressTimer.start();
}

void CheckWindow::cancel() {
    if (m_run.running()) {
        m_run.cancel();
        setStatus(tr("Cancelling..."));
    }
}

void CheckWindow::showProgress() {
    const int solves = m_run.solves();
    if (solves > m_progress->maximum()) {
        m_progress->setMaximum(solves);
    }
    m_progress->setValue(solves);
}

void CheckWindow::runFinished() {
    m_progressTimer.stop();
    m_cancel->setEnabled(false);
    const RunOutcome& outcome = m_run.outcome();
    if (outcome.cancelled) {
        m_results->clear();
        setStatus(tr("Cancelled: the engines were stopped and their files removed."));
    } else if (!outcome.simulation) {
        std::ostringstream report;
        if (!outcome.design.fault) {
            writeDesignText(report, outcome.design);
        }
        m_results->setPlainText(qt(report.str()));
        setStatus(tr("No simulation: %1").arg(qt(outcome.error)));
    } else {
        std::ostringstream report;
        writeDesignText(report, outcome.design);
        writeSimulationText(report, outcome.design, m_request->options, *outcome.simulation,
                            "\"" + m_overGround->text().remove(QLatin1Char('&')).toStdString() +
                                "\"");
        if (outcome.trim) {
            writeTrimText(report, outcome.design, m_request->options, *outcome.simulation,
                          *outcome.trim, m_request->readings);
        }
        m_shown = Shown{outcome.design, m_request->options, *outcome.simulation, outcome.trim,
                        report.str()};
        m_results->setPlainText(qt(m_shown->text));
        m_plot->showSimulation(outcome.design.record.freqMHz, m_shown->options, m_shown->result);
        const int solves = outcome.simulation->solves + (outcome.trim ? outcome.trim->solves : 0);
        m_progress->setMaximum(std::max(solves, 1));
        m_progress->setValue(solves);
        m_settings.setValue(QStringLiteral("run/solves"), solves);
        for (QPushButton* button : {m_saveDeck, m_savePlot, m_saveReport, m_copyReport}) {
            button->setEnabled(true);
        }
        if (outcome.trimError.empty()) {
            setStatus(tr("Done in %1 solves.").arg(solves));
        } else {
            setStatus(tr("Done in %1 solves; no trim: %2").arg(solves).arg(qt(outcome.trimError)));
        }
    }
    refresh();
    emit runEnded();
}

void CheckWindow::writeFile(const QString& title, const QString& name, const QString& filters,
                            const std::function<std::string(const QString& path)>& contents) {
    if (!m_shown) {
        return;
    }
    const QString path = m_askSavePath(title, name, filters);
    if (path.isEmpty()) {
        return;
    }
    try {
        replaceFile(path.toStdString(), contents(path));
        setStatus(tr("Saved %1.").arg(path));
    } catch (const std::system_error& error) {
        setStatus(tr("Not saved: %1").arg(qt(error.what())));
    } catch (const std::runtime_error& error) {
        setStatus(tr("Not saved: %1").arg(qt(error.what())));
    }
}

void CheckWindow::saveDeck() {
    writeFile(
        tr("Save the NEC deck"), QStringLiteral("dipole.nec"), tr("NEC decks (*.nec)"),
        [this](const QString&) { return designDeck(m_shown->design, m_shown->options.model); });
}

void CheckWindow::savePlot() {
    writeFile(tr("Save the plot"), QStringLiteral("dipole.svg"),
              tr("SVG pictures (*.svg);;PNG pictures (*.png)"), [this](const QString& path) {
                  const bool png = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
                  const auto picture = simulationPlotPicture(png, m_shown->design.record.freqMHz,
                                                             m_shown->options, m_shown->result);
                  if (!picture) {
                      throw std::runtime_error("the picture could not be drawn");
                  }
                  return picture->toStdString();
              });
}

void CheckWindow::saveReport() {
    writeFile(tr("Save the report"), QStringLiteral("dipole.txt"),
              tr("Text (*.txt);;JSON (*.json)"), [this](const QString& path) {
                  if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
                      return reportJsonText(m_shown->design, m_shown->options, &m_shown->result,
                                            m_shown->trim ? &*m_shown->trim : nullptr);
                  }
                  return m_shown->text;
              });
}

void CheckWindow::copyReport() {
    if (m_shown) {
        QApplication::clipboard()->setText(qt(m_shown->text));
        setStatus(tr("The report is on the clipboard."));
    }
}

void CheckWindow::closeEvent(QCloseEvent* event) {
    m_run.cancel();
    storeSettings();
    QWidget::closeEvent(event);
}

void CheckWindow::restoreSettings() {
    const std::pair<CheckField, const char*> defaults[] = {
        {CheckField::Freq, "7"},
        {CheckField::TotalLength, "60"},
        {CheckField::CentreToCoil, "20"},
        {CheckField::AntennaWire, kDefaultAntennaSwgText},
        {CheckField::Height, "30"},
        {CheckField::Insulation, "0.5"},
        {CheckField::Permittivity, "3.5"},
        {CheckField::FormerDia, "1.5"},
        {CheckField::CoilWire, kDefaultCoilSwgText},
        {CheckField::Pitch, ""},
        {CheckField::CoilLength, ""},
        {CheckField::GivenTurns, ""},
        {CheckField::Q, "200"},
        {CheckField::Z0, "50"},
        {CheckField::Measured, ""},
        {CheckField::MeasuredSwr, ""},
        {CheckField::MeasuredR, ""}};
    for (const auto& [field, fallback] : defaults) {
        QLineEdit* edit = m_fields.at(field).edit;
        edit->setText(m_settings
                          .value(QStringLiteral("inputs/") + edit->objectName(),
                                 QString::fromLatin1(fallback))
                          .toString());
    }
    m_antennaWireBy->setCurrentIndex(
        m_settings.value(QStringLiteral("inputs/antennaWireBy"), 0).toInt());
    m_coilWireBy->setCurrentIndex(m_settings.value(QStringLiteral("inputs/coilWireBy"), 0).toInt());
    m_former->setCurrentIndex(m_settings.value(QStringLiteral("inputs/former"), 0).toInt());
    m_units->setCurrentIndex(m_settings.value(QStringLiteral("inputs/units"), 0).toInt());
    m_overGround->setChecked(m_settings.value(QStringLiteral("inputs/overGround"), false).toBool());
    m_insulated->setChecked(m_settings.value(QStringLiteral("inputs/insulated"), false).toBool());
    m_atPitch->setChecked(m_settings.value(QStringLiteral("inputs/atPitch"), false).toBool());
    m_qGiven->setChecked(m_settings.value(QStringLiteral("inputs/qGiven"), false).toBool());
    if (!restoreGeometry(m_settings.value(QStringLiteral("window/geometry")).toByteArray())) {
        // Tall enough for every box where the screen is; the boxes scroll
        // where it is not.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int room = screen != nullptr ? screen->availableGeometry().height() - 40 : 760;
        resize(1180, std::clamp(room, 600, 880));
    }
}

void CheckWindow::storeSettings() const {
    for (const auto& [field, row] : m_fields) {
        m_settings.setValue(QStringLiteral("inputs/") + row.edit->objectName(), row.edit->text());
    }
    m_settings.setValue(QStringLiteral("inputs/antennaWireBy"), m_antennaWireBy->currentIndex());
    m_settings.setValue(QStringLiteral("inputs/coilWireBy"), m_coilWireBy->currentIndex());
    m_settings.setValue(QStringLiteral("inputs/former"), m_former->currentIndex());
    m_settings.setValue(QStringLiteral("inputs/units"), m_units->currentIndex());
    m_settings.setValue(QStringLiteral("inputs/overGround"), m_overGround->isChecked());
    m_settings.setValue(QStringLiteral("inputs/insulated"), m_insulated->isChecked());
    m_settings.setValue(QStringLiteral("inputs/atPitch"), m_atPitch->isChecked());
    m_settings.setValue(QStringLiteral("inputs/qGiven"), m_qGiven->isChecked());
    m_settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
}

} // namespace tarvix
