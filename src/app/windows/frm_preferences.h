#pragma once

#include "platform/platform.h"
#include "platform/preferences.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

namespace td {

// The preferences, modal: the month tax years start in, the share of
// interest withheld as tax and how many days ahead maturities are brought to
// notice. Each box takes only what its range allows. OK stores them and every
// open window shows its figures with them; Cancel changes nothing.
class frmPreferences : public QDialog {
    Q_OBJECT

public:
    explicit frmPreferences(MessageBoxes& messages, QWidget* parent = nullptr);

    QComboBox* cboTaxYearStart() const { return m_cboTaxYearStart; }
    QDoubleSpinBox* spnTaxShare() const { return m_spnTaxShare; }
    QSpinBox* spnReminderDays() const { return m_spnReminderDays; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

    // What the boxes hold.
    Preferences chosen() const;
    void cmdOK_Click();

private:
    MessageBoxes& m_messages;
    Preferences m_loaded;
    QComboBox* m_cboTaxYearStart = nullptr;
    QDoubleSpinBox* m_spnTaxShare = nullptr;
    QSpinBox* m_spnReminderDays = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace td
