// The check window: the antenna, where it hangs, its coils and feed line
// typed in, simulated in nec2c on a thread of its own, and the results shown
// as the sentences tarvix-design prints and as the SWR and reactance plot.
#pragma once

#include "check/check_inputs.h"
#include "check/simulation_run.h"

#include <QRect>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGraphicsOpacityEffect;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSettings;
class QSplitter;
class QVBoxLayout;

namespace tarvix {

class NoteLabel;
class PlotView;

// Asks where to save: a title, a suggested file name and the file-type
// filters; an empty path when the user cancels. The window's own asks with a
// file dialog; tests give one that answers at once.
using SavePathAsker =
    std::function<QString(const QString& title, const QString& name, const QString& filters)>;
// Asks which file to open, as the save asker does.
using OpenPathAsker = SavePathAsker;
// Shows a failure the user must see (a file not saved or not opened): a
// message box in the window's own; tests record it.
using MessageShower = std::function<void(const QString& title, const QString& text)>;
// Asks which printer, and how, for a printer readied for the build sheet;
// false when the user cancels. The window's own shows the print dialog;
// tests give one that prints to a PDF file at once.
using PrinterAsker = std::function<bool(QPrinter& printer)>;

class CheckWindow : public QWidget {
    Q_OBJECT

public:
    // settings: where the inputs and the window's size are kept between runs.
    // engine: the nec2c program, found on PATH when it has no slash.
    explicit CheckWindow(QSettings& settings, std::string engine = "nec2c",
                         QWidget* parent = nullptr);
    ~CheckWindow() override;

    void setSavePathAsker(SavePathAsker asker) { m_askSavePath = std::move(asker); }
    void setOpenPathAsker(OpenPathAsker asker) { m_askOpenPath = std::move(asker); }
    void setMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }
    void setPrinterAsker(PrinterAsker asker) { m_askPrinter = std::move(asker); }

    // The inputs as the boxes hold them now.
    CheckTexts texts() const;
    // The last report, as shown in the results box; empty before a result.
    QString reportText() const;
    bool running() const { return m_run.running(); }

    void simulate();
    void cancel();
    void saveDeck();
    void savePlot();
    void saveReport();
    // The build sheet to print, PDF or SVG by the name; only with a winding to build.
    void saveSheet();
    // The same page sent to a printer the user chooses; only with a winding
    // to build.
    void printSheet();
    void copyReport();
    // A design's inputs kept in a JSON file, under the keys of the settings.
    void openDesign();
    void saveDesign();

signals:
    // A run ended: with a result, an error or cancelled.
    void runEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct FieldRow {
        QString label;
        QLineEdit* edit = nullptr;
        QLabel* unit = nullptr;
        NoteLabel* note = nullptr;
    };
    struct Shown {
        DesignResult design;
        SimulationOptions options;
        SimulationResult result;
        std::optional<TrimResult> trim;
        std::string text;
        CheckTexts texts; // the inputs it was run for
    };

    // A control kept in the settings between runs (check_settings.cpp).
    struct KeptControl;

    // A run of the worked example takes some 10 solves (designs whose answers
    // the search's model cannot give take up to 30); the bar's end moves on
    // when a run takes more.
    static constexpr int kSolvesExpected = 10;
    // The window's first size where the screen has room for it, and what a
    // window manager's frame takes around it.
    static constexpr int kOpeningWidth = 1180;
    static constexpr int kOpeningHeight = 880;
    static constexpr int kFrameTitle = 32;
    static constexpr int kFrameBorder = 4;

    // The layout (check_layout.cpp): a builder per group of boxes.
    QLineEdit* addField(QGridLayout* grid, int row, CheckField field, const QString& label,
                        const QString& objectName);
    void addChoice(QGridLayout* grid, int row, QRadioButton* first, QRadioButton* second);
    QGroupBox* antennaBox();
    QGroupBox* hangsBox();
    QGroupBox* coilBox();
    QGroupBox* lineBox();
    QGroupBox* measuredBox();
    QHBoxLayout* designRow();
    QHBoxLayout* runRow();
    QWidget* inputsColumn();
    QGridLayout* keepRows();
    QWidget* outputsColumn();
    // The two columns (check_columns.cpp).
    void layOut();
    void shareTheWidth();
    // Scrolls the control that took the focus whole into sight.
    void bringIntoSight(QWidget* focused);

    // The wiring, the notes and the status (check_window.cpp).
    void wireControls();
    void refresh();
    void setStatus(const QString& text);
    void announceStatus();
    // The units and notes beside the boxes as the boxes' accessible
    // descriptions.
    void describeFields();
    // Greys the result shown when the inputs are no longer those it was run
    // for, and says so above it.
    void markStale(const CheckTexts& now);
    // The units (check_units.cpp).
    void updateUnits();
    void convertUnits(int unitsIndex);
    void convertWire(QComboBox* by, CheckField field, bool antenna, int& byIndex, int toIndex);
    // The run (check_running.cpp).
    void showProgress();
    void runFinished();
    void showSimulation(const RunOutcome& outcome);
    // Saving (check_saving.cpp); the folder of the last file chosen is
    // offered first by every file dialog.
    QString askPath(const SavePathAsker& asker, const QString& title, const QString& name,
                    const QString& filters);
    void writeFile(const QString& title, const QString& name, const QString& filters,
                   const std::function<std::string(const QString& path)>& contents);
    // The settings (check_settings.cpp).
    std::vector<KeptControl> keptControls() const;
    void restoreSettings();
    // The screen's room for windows, as its desktop leaves it.
    QRect availableGeometry() const;
    int unscrolledHeight() const;

public:
    // The wheel over the list scrolls the form unless the list has the focus.
    static void letWheelScroll(QWidget* list);

private:
    void storeSettings() const;
    // Each kept control's value under its key, and back (check_settings.cpp).
    std::vector<std::pair<QString, QVariant>> keptValues() const;
    void applyKeptValues(
        const std::function<QVariant(const QString& key, const QVariant& fallback)>& valueOf);

    QSettings& m_settings;
    std::string m_engine;
    SimulationRun m_run;
    QTimer m_progressTimer;
    SavePathAsker m_askSavePath;
    OpenPathAsker m_askOpenPath;
    MessageShower m_showMessage;
    PrinterAsker m_askPrinter;
    std::map<CheckField, FieldRow> m_fields;
    std::optional<CheckRequest> m_request;
    std::optional<Shown> m_shown;
    bool m_shownStale = false;
    // The inputs of the last run that ended with no simulation, while its
    // reason is the status.
    std::optional<CheckTexts> m_failedTexts;
    CheckTexts m_ranTexts;        // the inputs of the run under way or last ended
    int m_unitsIndex = 0;         // the units the boxes' lengths are in
    int m_antennaWireByIndex = 0; // how the boxes' wires are given
    int m_coilWireByIndex = 0;
    bool m_restoring = false;

    QSplitter* m_columns = nullptr;
    QScrollArea* m_inputsScroll = nullptr;
    QScrollArea* m_windowScroll = nullptr;
    QComboBox* m_antennaWireBy = nullptr;
    QRadioButton* m_freeSpace = nullptr;
    QRadioButton* m_overGround = nullptr;
    QCheckBox* m_insulated = nullptr;
    QComboBox* m_coilWireBy = nullptr;
    QComboBox* m_former = nullptr;
    QComboBox* m_ground = nullptr;
    QComboBox* m_feedLine = nullptr;
    QComboBox* m_mode = nullptr;
    QRadioButton* m_closeWound = nullptr;
    QRadioButton* m_atPitch = nullptr;
    QRadioButton* m_qFromWinding = nullptr;
    QRadioButton* m_qGiven = nullptr;
    QComboBox* m_units = nullptr;
    QPushButton* m_openDesign = nullptr;
    QPushButton* m_saveDesign = nullptr;
    QPushButton* m_simulate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPlainTextEdit* m_results = nullptr;
    PlotView* m_plot = nullptr;
    QGraphicsOpacityEffect* m_plotFade = nullptr;
    QLabel* m_readout = nullptr;
    QPushButton* m_saveDeck = nullptr;
    QPushButton* m_savePlot = nullptr;
    QPushButton* m_saveReport = nullptr;
    QPushButton* m_saveSheet = nullptr;
    QPushButton* m_printSheet = nullptr;
    QPushButton* m_copyReport = nullptr;
};

} // namespace tarvix
