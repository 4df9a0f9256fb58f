#pragma once

#include "core/mod_lease.h"

#include <QDialog>
#include <QSize>
#include <array>
#include <functional>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace td {

// Asks the Print command what to print: the selected deposit or every
// deposit, and then the active or the inactive ones. Loaded afresh for every
// Print command; it answers only through the print flags of ModLease.
class frmPrint : public QDialog {
    Q_OBJECT

public:
    // What the options choose, for a preview: every deposit or the selected
    // one, and for every deposit the active or the inactive ones. True when
    // the user asked the preview to print.
    using Preview = std::function<bool(bool printAll, bool printActive)>;

    // With a preview, a "Preview" button shows the listing the options
    // choose without closing the dialog or setting a flag; Print in the
    // preview is the dialog's Print.
    frmPrint(ModLease& flags, QSize screenSize, QWidget* parent = nullptr, Preview preview = {});

    // Index 0 "Print Selection" and 1 "Print All" share Frame1;
    // 2 "Print Active" and 3 "Print Not Active" share Frame2.
    QRadioButton* optPrint(int index) const { return m_optPrint.at(index); }
    QGroupBox* frame1() const { return m_frame1; }
    QGroupBox* frame2() const { return m_frame2; }
    QPushButton* printButton() const { return m_cmdPrint; }
    QPushButton* cancelButton() const { return m_cmdCancel; }
    QPushButton* previewButton() const { return m_cmdPreview; }

    void OptPrint_Click(int index);
    void cmdPrint_Click();
    void cmdCancel_Click();
    void cmdPreview_Click();

protected:
    // Esc is Cancel; the close box leaves every flag as it is.
    void keyPressEvent(QKeyEvent* event) override;

private:
    ModLease& m_flags;
    QPushButton* m_cmdPrint = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    Preview m_preview;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame2 = nullptr;
    std::array<QRadioButton*, 4> m_optPrint{};
};

}  // namespace td
