#pragma once

#include "commands/csv_export.h"
#include "core/register.h"
#include "finance/amortisation.h"
#include "platform/platform.h"

#include <QDialog>
#include <vector>

class QTableWidget;

namespace td {

class RegisterGrid;

// Shows one deposit in a one-row strip and, below it, its schedule of yearly
// balances under five compounding frequencies. Read-only, built afresh for
// every showing and closed only by its close box.
class frmAmortise : public QDialog {
    Q_OBJECT

public:
    // Loads the window from the register's current row and that row's
    // schedule. Reading the row moves the register's current column, which
    // ends on the Active column.
    frmAmortise(Register& reg, const std::vector<AmortisationRow>& schedule, QSize screenSize,
                QWidget* parent = nullptr);

    // The strip Grid, as in the main window: its cells (the header row and
    // the deposit row) and the view that shows them with the key column frozen.
    Register& Grid() { return m_strip; }
    RegisterGrid* gridView() const { return m_grid; }
    // The schedule: the header row, then one row per year.
    QTableWidget* GridAmortisation() const { return m_gridAmortisation; }

    // The schedule's texts as shown, one list a year, header row excluded.
    QList<QStringList> scheduleRows() const;
    // Gives the schedule's grid a context menu and Ctrl+Shift+C, which take
    // the schedule with its header row to the clipboard as tab-separated
    // text or out to a CSV file, asking and reporting through the platform.
    void offerScheduleOut(Platform& platform);
    void copySchedule();
    void exportSchedule(csv::Form form);

protected:
    // Escape does not close the window; only its close box does.
    void keyPressEvent(QKeyEvent* event) override;
    // Centres again once the window system has put its frame around the window.
    void showEvent(QShowEvent* event) override;

private:
    void load(Register& reg, const std::vector<AmortisationRow>& schedule);
    void fillSchedule(const std::vector<AmortisationRow>& schedule);
    void centre();

    Platform* m_platform = nullptr;  // set by offerScheduleOut
    QSize m_screen;
    Register m_strip;
    RegisterGrid* m_grid = nullptr;
    QTableWidget* m_gridAmortisation = nullptr;
};

}  // namespace td
