#include "app/windows/frm_preferences.h"

#include "app/widgets/access_keys.h"
#include "commands/file_error.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

namespace td {

frmPreferences::frmPreferences(MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages), m_loaded(loadPreferences())
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(tr("Preferences"));

    static constexpr std::array<const char*, 12> kMonths{
        QT_TR_NOOP("January"),   QT_TR_NOOP("February"), QT_TR_NOOP("March"),    QT_TR_NOOP("April"),
        QT_TR_NOOP("May"),       QT_TR_NOOP("June"),     QT_TR_NOOP("July"),     QT_TR_NOOP("August"),
        QT_TR_NOOP("September"), QT_TR_NOOP("October"),  QT_TR_NOOP("November"), QT_TR_NOOP("December"),
    };
    m_cboTaxYearStart = new QComboBox(this);
    m_cboTaxYearStart->setObjectName(QStringLiteral("cboTaxYearStart"));
    for (const char* month : kMonths)
        m_cboTaxYearStart->addItem(tr(month));
    m_cboTaxYearStart->setCurrentIndex(m_loaded.taxYearStartMonth - 1);
    m_cboTaxYearStart->setToolTip(tr("January makes tax years calendar years"));

    // Percentages are written with a point, as the program writes every rate.
    m_spnTaxShare = new QDoubleSpinBox(this);
    m_spnTaxShare->setObjectName(QStringLiteral("spnTaxShare"));
    m_spnTaxShare->setLocale(QLocale::c());
    m_spnTaxShare->setDecimals(2);
    m_spnTaxShare->setRange(Preferences::kMinTaxShare / 100.0, Preferences::kMaxTaxShare / 100.0);
    m_spnTaxShare->setSuffix(tr(" %"));
    m_spnTaxShare->setValue(m_loaded.taxShareHundredthsOfPercent / 100.0);
    m_spnTaxShare->setToolTip(tr("The share of interest withheld as tax; 0 shows no tax"));

    m_spnReminderDays = new QSpinBox(this);
    m_spnReminderDays->setObjectName(QStringLiteral("spnReminderDays"));
    m_spnReminderDays->setRange(Preferences::kMinReminderDays, Preferences::kMaxReminderDays);
    m_spnReminderDays->setSuffix(tr(" days"));
    m_spnReminderDays->setSpecialValueText(tr("Off"));
    m_spnReminderDays->setValue(m_loaded.reminderDays);
    m_spnReminderDays->setToolTip(
        tr("When a register opens, active deposits maturing within this many days are brought to notice"));

    auto* form = new QFormLayout;
    auto addRow = [&](const char* name, const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setBuddy(box);
        form->addRow(label, box);
    };
    addRow("lblTaxYearStart", tr("Tax &year starts in"), m_cboTaxYearStart);
    addRow("lblTaxShare", tr("&Tax withheld from interest"), m_spnTaxShare);
    addRow("lblReminderDays", tr("&Remind of maturities within"), m_spnReminderDays);

    m_cmdOK = new QPushButton(tr("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(tr("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_cboTaxYearStart, m_spnTaxShare);
    setTabOrder(m_spnTaxShare, m_spnReminderDays);
    setTabOrder(m_spnReminderDays, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdCancel);
    makeAccessKeysAct(*this);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

Preferences frmPreferences::chosen() const
{
    Preferences p = m_loaded;
    p.taxYearStartMonth = m_cboTaxYearStart->currentIndex() + 1;
    p.taxShareHundredthsOfPercent = qRound(m_spnTaxShare->value() * 100);
    p.reminderDays = m_spnReminderDays->value();
    return p;
}

// Stored, or the dialog stays open with the reason, so nothing is taken as saved that is not.
void frmPreferences::cmdOK_Click()
{
    if (!savePreferences(chosen())) {
        showFileError(m_messages, tr("The preferences could not be saved; they stay as they were."),
                      preferencesFileName(), tr("The settings file could not be written."));
        return;
    }
    accept();
}

}  // namespace td
