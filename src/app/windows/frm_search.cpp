#include "app/windows/frm_search.h"

#include "app/widgets/dialog_parts.h"
#include "app/widgets/ruled_text_box.h"
#include "app/widgets/twips.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace td {

namespace {

constexpr int kClientWidth = 7410;
constexpr int kClientHeight = 1485;
// Account numbers have up to 20 characters; the box must take every one of them.
constexpr int kKeyLength = 20;

}  // namespace

frmSearch::frmSearch(frmTermDeposit& main)
    : frmSearch(
          main.Grid(), main.platform(), [&main] { main.EditTermDeposit(); }, &main)
{
}

frmSearch::frmSearch(Register& reg, Platform& platform, std::function<void()> editTermDeposit,
                     QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), m_register(reg), m_platform(platform),
      m_editTermDeposit(std::move(editTermDeposit))
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(tr("Quendarith Information Technology Search"));
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_lblLeaseNumber = new QLabel(tr("&Account Number"), this);
    m_lblLeaseNumber->setObjectName(QStringLiteral("lblLeaseNumber"));
    placeTwips(*m_lblLeaseNumber, 120, 360, 1575, 255);

    m_txtLeaseNumber = new RuledTextBox(QStringLiteral("txtLeaseNumber"), BoxRule::Free, kKeyLength, this);
    placeTwips(*m_txtLeaseNumber, 1980, 360, 3675, 285);
    m_lblLeaseNumber->setBuddy(m_txtLeaseNumber);

    m_cmdOK = new QPushButton(tr("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(*m_cmdOK, 5880, 240, 1335, 375);

    m_cmdCancel = new QPushButton(tr("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    placeTwips(*m_cmdCancel, 5880, 840, 1335, 375);

    // In a QDialog a focused button would otherwise take Enter as a click.
    for (QPushButton* button : {m_cmdOK, m_cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(m_txtLeaseNumber, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdCancel);
    m_txtLeaseNumber->setFocus();

    connect(m_cmdOK, &QPushButton::clicked, this, &frmSearch::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);

    move(centredOnScreen(m_platform.screen.sizePixels(), size()));
}

void frmSearch::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void frmSearch::cmdOK_Click()
{
    const QString key = m_txtLeaseNumber->text().trimmed().toUpper();
    if (key.isEmpty()) {
        // Only a reminder: the search still runs, and ends with "No Lease Found".
        m_platform.messages.ask(tr("Lease Search."), tr("All feilds must have a value."),
                                MessageIcon::Question, MessageButtons::Ok);
    }

    if (m_register.rows() <= 2) {
        m_register.setCurrentCell(0, 0);
        return;  // nothing to search; the dialog stays open
    }

    {
        BusyScope busy(m_platform.pointer);
        // Row 0 (the header) through the last deposit row; the spare row is
        // never compared. The rows are looked through in the register's
        // records; the current cell moves once, to the match or to the spare row.
        const int match = m_register.findAccount(key, 0, Qt::CaseInsensitive);
        if (match >= 0 && match < m_register.rows() - 1) {
            m_register.setCurrentCell(match, 0);
            m_platform.pointer.setPointer(Pointer::Default);
            m_editTermDeposit();
            // One row on from wherever the edit and its commit left the
            // current cell (they may have added a row); on the last row it stays.
            m_register.setRow(m_register.row() + 1);
        } else {
            m_register.setCurrentCell(m_register.rows() - 1, 0);
            m_platform.messages.ask(tr("Lease Search."), tr("No Lease Found"), MessageIcon::Question,
                                    MessageButtons::Ok);
        }
    }
    accept();
}

void frmSearch::cmdCancel_Click() { reject(); }

}  // namespace td
