// The check window: the antenna, where it hangs, its coils and feed line
// typed in, simulated in nec2c on a thread of its own, and the results shown
// as the sentences tarvix-design prints and as the SWR and reactance plot.
#pragma once

#include "check/check_inputs.h"
#include "check/simulation_run.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSettings;
class QVBoxLayout;

namespace tarvix {

class PlotView;

// Asks where to save: a title, a suggested file name and the file-type
// filters; an empty path when the user cancels. The window's own asks with a
// file dialog; tests give one that answers at once.
using SavePathAsker =
    std::function<QString(const QString& title, const QString& name, const QString& filters)>;

class CheckWindow : public QWidget {
    Q_OBJECT

public:
    // settings: where the inputs and the window's size are kept between runs.
    // engine: the nec2c program, found on PATH when it has no slash.
    explicit CheckWindow(QSettings& settings, std::string engine = "nec2c",
                         QWidget* parent = nullptr);
    ~CheckWindow() override;

    void setSavePathAsker(SavePathAsker asker) { m_askSavePath = std::move(asker); }

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
    void copyReport();

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
        QLabel* note = nullptr;
    };
    struct Shown {
        DesignResult design;
        SimulationOptions options;
        SimulationResult result;
        std::optional<TrimResult> trim;
        std::string text;
    };

    // A control kept in the settings between runs (check_settings.cpp).
    struct KeptControl;

    // A run of the worked example takes some 10 solves (designs whose answers
    // the search's model cannot give take up to 30); the bar's end moves on
    // when a run takes more.
    static constexpr int kSolvesExpected = 10;

    // The layout (check_layout.cpp): a builder per group of boxes.
    QLineEdit* addField(QGridLayout* grid, int row, CheckField field, const QString& label,
                        const QString& objectName, QWidget* before = nullptr);
    void addChoice(QGridLayout* grid, int row, QRadioButton* first, QRadioButton* second);
    QGroupBox* antennaBox();
    QGroupBox* hangsBox();
    QGroupBox* coilBox();
    QGroupBox* lineBox();
    QGroupBox* measuredBox();
    QHBoxLayout* runRow();
    QVBoxLayout* inputsColumn();
    QHBoxLayout* keepRow();
    QVBoxLayout* outputsColumn();

    // The wiring, the notes and the status (check_window.cpp).
    void wireControls();
    void refresh();
    void setStatus(const QString& text);
    // The units (check_units.cpp).
    void updateUnits();
    void convertUnits(int unitsIndex);
    // The run (check_running.cpp).
    void showProgress();
    void runFinished();
    void showSimulation(const RunOutcome& outcome);
    // Saving (check_saving.cpp).
    void writeFile(const QString& title, const QString& name, const QString& filters,
                   const std::function<std::string(const QString& path)>& contents);
    // The settings (check_settings.cpp).
    std::vector<KeptControl> keptControls() const;
    void restoreSettings();
    void storeSettings() const;

    QSettings& m_settings;
    std::string m_engine;
    SimulationRun m_run;
    QTimer m_progressTimer;
    SavePathAsker m_askSavePath;
    std::map<CheckField, FieldRow> m_fields;
    std::optional<CheckRequest> m_request;
    std::optional<Shown> m_shown;
    int m_unitsIndex = 0; // the units the boxes' lengths are in
    bool m_restoring = false;

    QComboBox* m_antennaWireBy = nullptr;
    QRadioButton* m_freeSpace = nullptr;
    QRadioButton* m_overGround = nullptr;
    QCheckBox* m_insulated = nullptr;
    QComboBox* m_coilWireBy = nullptr;
    QComboBox* m_former = nullptr;
    QRadioButton* m_closeWound = nullptr;
    QRadioButton* m_atPitch = nullptr;
    QRadioButton* m_qFromWinding = nullptr;
    QRadioButton* m_qGiven = nullptr;
    QComboBox* m_units = nullptr;
    QPushButton* m_simulate = nullptr;
    QPushButton* m_cancel = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPlainTextEdit* m_results = nullptr;
    PlotView* m_plot = nullptr;
    QLabel* m_readout = nullptr;
    QPushButton* m_saveDeck = nullptr;
    QPushButton* m_savePlot = nullptr;
    QPushButton* m_saveReport = nullptr;
    QPushButton* m_copyReport = nullptr;
};

} // namespace tarvix
