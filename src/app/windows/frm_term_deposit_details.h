#pragma once

#include "app/register_history.h"
#include "app/widgets/on_off_switch.h"
#include "app/widgets/value_display.h"
#include "commands/deposit_fields.h"
#include "core/deposit_record.h"
#include "platform/platform.h"

#include <QDate>
#include <QDialog>
#include <QList>

class QDateEdit;
class QGroupBox;
class QPushButton;

namespace td {

class RuledTextBox;

// The dialog in which one deposit is entered or changed. It shows the term
// date and future value derived from its boxes while the user types, and Add
// writes the deposit into the register, as a change that can be undone. It
// is loaded afresh for every opening and is never told which row it was
// filled from.
class frmTermDepositDetails : public QDialog {
    Q_OBJECT

public:
    frmTermDepositDetails(Platform& platform, RegisterHistory& history, QWidget* parent = nullptr);
    ~frmTermDepositDetails() override;

    RuledTextBox* txtAccountNumber() const { return m_txtAccountNumber; }
    RuledTextBox* txtSaveEachMonth() const { return m_txtSaveEachMonth; }
    RuledTextBox* txtInterest() const { return m_txtInterest; }
    RuledTextBox* txtTermYears() const { return m_txtTermYears; }
    RuledTextBox* txtTermMonths() const { return m_txtTermMonths; }
    RuledTextBox* txtAccountBalance() const { return m_txtAccountBalance; }
    QDateEdit* DTPicStartDate() const { return m_DTPicStartDate; }
    ValueDisplay* lblTermDate() const { return m_lblTermDate; }
    ValueDisplay* lblFutureValue() const { return m_lblFutureValue; }
    OnOffSwitch* ckSaveMonthOnOff() const { return m_ckSaveMonthOnOff; }
    OnOffSwitch* ckMonthsOnOff() const { return m_ckMonthsOnOff; }
    OptionButton* OptYes() const { return m_OptYes; }
    OptionButton* OptNo() const { return m_OptNo; }
    QPushButton* cmdAdd() const { return m_cmdAdd; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    QPushButton* cmdQuery() const { return m_cmdQuery; }

    // Sets the start date; counts as a change even when the date stays the same.
    void setStartDate(QDate date);
    // The start date from its date text. False, leaving the date as it was,
    // when the text is no date that the picker can show.
    bool setStartDateText(const QString& text);

    // A column's text as its control shows it (see kDepositFields), untrimmed.
    QString shownText(const DepositField& field) const;
    // Sets a column's control from a text. False, leaving the control as it
    // was, only for a start date text that is no date the picker can show.
    bool showText(const DepositField& field, const QString& text);
    // The deposit as the dialog shows it, in column order, untrimmed.
    DepositRecord shownDeposit() const;

    // The dialog holds the next term of a deposit: Add's change is a Roll Over.
    void markRollOver() { m_rollOver = true; }

    void CalculateTermDate();
    void CalculateFutureValue();
    void cmdAdd_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void setTabOrderChain();
    void switchClicked(OnOffSwitch* onOff, RuledTextBox* box);
    void formatMoneyOnFocusLoss(RuledTextBox* box);
    void focusNextControlAfter(QWidget* label);

    Platform& m_platform;
    RegisterHistory& m_history;
    bool m_rollOver = false;

    RuledTextBox* m_txtAccountNumber = nullptr;
    RuledTextBox* m_txtSaveEachMonth = nullptr;
    RuledTextBox* m_txtInterest = nullptr;
    RuledTextBox* m_txtTermYears = nullptr;
    RuledTextBox* m_txtTermMonths = nullptr;
    RuledTextBox* m_txtAccountBalance = nullptr;
    QDateEdit* m_DTPicStartDate = nullptr;
    ValueDisplay* m_lblTermDate = nullptr;
    ValueDisplay* m_lblFutureValue = nullptr;
    OnOffSwitch* m_ckSaveMonthOnOff = nullptr;
    OnOffSwitch* m_ckMonthsOnOff = nullptr;
    QGroupBox* m_FraActive = nullptr;
    OptionButton* m_OptYes = nullptr;
    OptionButton* m_OptNo = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdQuery = nullptr;

    // Every control in tab order, labels included: a label's access key moves
    // the focus to the next control after it that can take the focus.
    QList<QWidget*> m_tabOrder;
};

}  // namespace td
