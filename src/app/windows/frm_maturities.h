#pragma once

#include "app/windows/side_window.h"
#include "core/register.h"
#include "platform/platform.h"

#include <QPersistentModelIndex>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace td {

class MaturitiesModel;
class MaturityLadderView;
struct Preferences;

// The maturities overview: every deposit of the register by term date, with
// days to maturity, what it is worth today and will be worth, what it has
// earned and will earn, and totals. A window of
// its own beside the main window (not modal) that follows the register as it
// changes. Opening a row makes it the register's current row and runs the
// main window's Edit; Roll Over does the same for the next term of a matured
// deposit. Both act on the selected deposit, which stays selected through
// any change of the register, wherever it sorts, until it is gone. A second
// page shows the maturity ladder of the coming months. The Tax and Net
// Interest columns follow the preferences' tax share while the window is open.
class frmMaturities : public SideWindow {
    Q_OBJECT

public:
    // `model` has counted the register (MaturitiesModel::countAll). editCurrent
    // and rollOverCurrent act on the register's current row.
    frmMaturities(Register& reg, Platform& platform, std::unique_ptr<MaturitiesModel> model,
                  std::function<void()> editCurrent, std::function<void()> rollOverCurrent,
                  QWidget* parent = nullptr);

    QTableView* GridMaturities() const { return m_grid; }
    MaturitiesModel* model() const { return m_model; }
    QLabel* lblActiveTotals() const { return m_lblActiveTotals; }
    QLabel* lblAllTotals() const { return m_lblAllTotals; }
    QComboBox* cboSortBy() const { return m_cboSortBy; }
    QCheckBox* ckDescending() const { return m_ckDescending; }
    QPushButton* cmdEdit() const { return m_cmdEdit; }
    QPushButton* cmdRollOver() const { return m_cmdRollOver; }
    QPushButton* cmdClose() const { return m_cmdClose; }
    QTabWidget* tabMaturities() const { return m_tabs; }
    MaturityLadderView* ladderView() const { return m_ladder; }

    // The selected deposit as the register's current row, then Edit / Roll
    // Over; nothing when no deposit is selected (or, for Roll Over, matured).
    void openSelected();
    void rollOverSelected();

protected:
    // Coming back to the window on a later day counts the days afresh.
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void showTotals();
    void followPreferences(const Preferences& preferences);
    void listSortColumns();
    void showSortOrder();
    void rememberSelection();
    void restoreSelection();
    int selectedViewRow() const;  // -1 when no deposit is selected
    bool makeSelectedCurrent();
    void updateButtons();
    void sortFromControls();
    void sortRows(int column, Qt::SortOrder order);

    Register& m_register;
    Platform& m_platform;
    std::function<void()> m_editCurrent;
    std::function<void()> m_rollOverCurrent;
    // The register's row of the selected deposit: the register keeps it on
    // that deposit as rows come and go, and drops it with the deposit.
    QPersistentModelIndex m_selected;

    MaturitiesModel* m_model = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableView* m_grid = nullptr;
    MaturityLadderView* m_ladder = nullptr;
    QLabel* m_lblActiveTotals = nullptr;
    QLabel* m_lblAllTotals = nullptr;
    QComboBox* m_cboSortBy = nullptr;
    QCheckBox* m_ckDescending = nullptr;
    QPushButton* m_cmdEdit = nullptr;
    QPushButton* m_cmdRollOver = nullptr;
    QPushButton* m_cmdClose = nullptr;
};

}  // namespace td
