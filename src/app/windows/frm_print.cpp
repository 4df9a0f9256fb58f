#include "app/windows/frm_print.h"

#include "app/widgets/access_keys.h"
#include "app/widgets/dialog_parts.h"
#include "app/widgets/twips.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace td {

namespace {
constexpr int kClientWidth = 3855;
constexpr int kClientHeight = 2535;
}  // namespace

frmPrint::frmPrint(ModLease& flags, QSize screenSize, QWidget* parent, Preview preview)
    : QDialog(parent, kFixedDialogFlags), m_flags(flags), m_preview(std::move(preview))
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(tr("Quendarith Term Deposit - Print"));
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_cmdPrint = new QPushButton(tr("&Print ..."), this);
    m_cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    placeTwips(*m_cmdPrint, 2280, 120, 1335, 495);
    // Enter on an option prints; without a default of its own the dialog
    // would hand Enter to whichever button last had the focus.
    m_cmdPrint->setDefault(true);

    m_cmdCancel = new QPushButton(tr("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    placeTwips(*m_cmdCancel, 2280, 840, 1335, 495);

    m_frame1 = new QGroupBox(tr("Print &Grid"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    placeTwips(*m_frame1, 240, 120, 1815, 1095);

    m_frame2 = new QGroupBox(tr("P&rint Active"), this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    placeTwips(*m_frame2, 240, 1320, 1815, 1095);

    // Each frame is its own group: radio buttons are exclusive among siblings.
    struct Option {
        QGroupBox* frame;
        const char* caption;
        int top;
    };
    const std::array<Option, 4> options{{
        {m_frame1, QT_TR_NOOP("Print &Selection"), 360},
        {m_frame1, QT_TR_NOOP("Print &All"), 720},
        {m_frame2, QT_TR_NOOP("Print A&ctive"), 360},
        {m_frame2, QT_TR_NOOP("Print &Not Active"), 720},
    }};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(tr(options[i].caption), options[i].frame);
        option->setObjectName(QStringLiteral("OptPrint_%1").arg(i));
        placeTwips(*option, 120, options[i].top, 1575, 255);
        connect(option, &QRadioButton::clicked, this, [this, i] { OptPrint_Click(i); });
        m_optPrint[i] = option;
    }
    m_optPrint[0]->setChecked(true);
    m_optPrint[2]->setChecked(true);
    m_frame2->setEnabled(false);
    m_optPrint[2]->setEnabled(false);
    m_optPrint[3]->setEnabled(false);

    // The frames take no focus; their options follow each other in this order.
    setTabOrder(m_cmdPrint, m_cmdCancel);
    setTabOrder(m_cmdCancel, m_optPrint[1]);
    setTabOrder(m_optPrint[1], m_optPrint[0]);
    setTabOrder(m_optPrint[0], m_optPrint[2]);
    setTabOrder(m_optPrint[2], m_optPrint[3]);

    // Below Cancel and last in the tab order: Print, Cancel and the options
    // keep their places and their order with or without a preview.
    if (m_preview) {
        m_cmdPreview = new QPushButton(tr("Pre&view ..."), this);
        m_cmdPreview->setObjectName(QStringLiteral("cmdPreview"));
        placeTwips(*m_cmdPreview, 2280, 1560, 1335, 495);
        setTabOrder(m_optPrint[3], m_cmdPreview);
        connect(m_cmdPreview, &QPushButton::clicked, this, &frmPrint::cmdPreview_Click);
    }
    m_cmdPrint->setFocus();

    connect(m_cmdPrint, &QPushButton::clicked, this, &frmPrint::cmdPrint_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmPrint::cmdCancel_Click);
    makeAccessKeysAct(*this);

    // Load.
    m_flags.PrintCancelledFlag = false;
    move(centredOnScreen(screenSize, size()));
}

void frmPrint::OptPrint_Click(int index)
{
    if (index != 0 && index != 1)
        return;
    const bool all = index == 1;
    m_frame2->setEnabled(all);
    m_optPrint[2]->setEnabled(all);
    m_optPrint[3]->setEnabled(all);
}

void frmPrint::cmdPrint_Click()
{
    if (m_optPrint[0]->isChecked())
        m_flags.PrintAllFlag = false;
    if (m_optPrint[1]->isChecked())
        m_flags.PrintAllFlag = true;
    // Read even while Frame2 is disabled, so every confirmation sets it.
    if (m_optPrint[2]->isChecked())
        m_flags.PrintActiveFlag = true;
    if (m_optPrint[3]->isChecked())
        m_flags.PrintActiveFlag = false;
    accept();
}

void frmPrint::cmdPreview_Click()
{
    if (m_preview && m_preview(m_optPrint[1]->isChecked(), m_optPrint[2]->isChecked()))
        cmdPrint_Click();
}

void frmPrint::cmdCancel_Click()
{
    m_flags.PrintCancelledFlag = true;
    reject();
}

void frmPrint::keyPressEvent(QKeyEvent* event)
{
    // QDialog would reject on Esc, which the Print command takes as "go on
    // and print"; a user pressing Esc means Cancel.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        m_cmdCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace td
