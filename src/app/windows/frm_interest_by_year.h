#pragma once

#include "app/windows/side_window.h"
#include "commands/csv_export.h"
#include "platform/platform.h"

#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace td {

class BarChartView;

class InterestByYearModel;

// Interest by year: a row a year from the earliest start to the latest term
// date, what the deposits earn in it, what matures in it and what is held at
// its end, with the interest as a bar chart over the table. A window of its
// own beside the main window (not modal) that follows the register and the
// preferences. The table holds every figure the chart draws: it is what a
// screen reader reads.
class frmInterestByYear : public SideWindow {
    Q_OBJECT

public:
    // `model` has counted the register (InterestByYearModel::countAll).
    frmInterestByYear(Platform& platform, std::unique_ptr<InterestByYearModel> model,
                      QWidget* parent = nullptr);

    InterestByYearModel* model() const { return m_model; }
    QTableView* GridInterestByYear() const { return m_grid; }
    BarChartView* chartInterest() const { return m_chart; }
    QCheckBox* ckIncludeInactive() const { return m_ckIncludeInactive; }
    QLabel* lblCount() const { return m_lblCount; }
    QPushButton* cmdExport() const { return m_cmdExport; }
    QPushButton* cmdClose() const { return m_cmdClose; }
    QAction* actExportNumbers() const { return m_actExportNumbers; }

    // The rows out to a CSV file, as shown or with plain numbers.
    void exportRows(csv::Form form);

private:
    void buildControls();
    void buildChart();
    void showCount();

    Platform& m_platform;
    InterestByYearModel* m_model = nullptr;
    int m_columnsShown = 0;

    BarChartView* m_chart = nullptr;
    QTableView* m_grid = nullptr;
    QCheckBox* m_ckIncludeInactive = nullptr;
    QLabel* m_lblCount = nullptr;
    QPushButton* m_cmdExport = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QAction* m_actExport = nullptr;
    QAction* m_actExportNumbers = nullptr;
};

}  // namespace td
