#pragma once

#include "core/register.h"
#include "platform/platform.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace td {

class frmTermDeposit;

// Finds a deposit by its account number and opens it for editing. Loaded
// afresh for every search; it only reads the register, moving its current cell.
class frmSearch : public QDialog {
    Q_OBJECT

public:
    // Searches the main window's register and opens a match with its EditTermDeposit.
    explicit frmSearch(frmTermDeposit& main);
    // The same with the pieces given one by one: editTermDeposit opens the
    // deposit at the register's current row.
    frmSearch(Register& reg, Platform& platform, std::function<void()> editTermDeposit,
              QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    // Enter and Esc mean nothing here: neither button is default or cancel.
    void keyPressEvent(QKeyEvent* event) override;

private:
    Register& m_register;
    Platform& m_platform;
    std::function<void()> m_editTermDeposit;
    QLabel* m_lblLeaseNumber = nullptr;
    QLineEdit* m_txtLeaseNumber = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace td
