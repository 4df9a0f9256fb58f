#include "app/windows/frm_term_deposit_details.h"

#include "app/widgets/access_keys.h"
#include "app/widgets/artwork.h"
#include "app/widgets/dialog_parts.h"
#include "app/widgets/ruled_text_box.h"
#include "app/widgets/twips.h"
#include "commands/deposit_commit.h"
#include "core/date_form.h"
#include "core/text_values.h"
#include "finance/derived_values.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <utility>

namespace td {

namespace {

constexpr int kClientWidth = 9045;
constexpr int kClientHeight = 5325;

// The earliest date a QDateEdit can hold; an earlier date would be moved
// silently to this one.
const QDate kEarliestStartDate(100, 1, 1);

struct Tabbed {
    int index;
    QWidget* widget;
};

// A read-only display named by its caption: the term date and future value.
ValueDisplay* makeDisplay(QWidget* parent, const char* name, const QString& caption, QRect place)
{
    auto* display = new ValueDisplay(parent);
    display->setObjectName(QString::fromLatin1(name));
    display->setAccessibleName(caption);
    display->setGeometry(place);
    return display;
}

// A frame whose etched border runs through the middle of its caption, so
// the options placed inside it keep clear of the border.
class EtchedFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int top = metrics.height() / 2;
        const QRect border(0, top, width() - 2, height() - top - 2);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(border);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(border.translated(1, 1));

        QStyleOption option;
        option.initFrom(this);
        const int flags =
            Qt::AlignLeft | Qt::AlignVCenter |
            (style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) ? Qt::TextShowMnemonic
                                                                             : Qt::TextHideMnemonic);
        QString plain = title();
        plain.remove(QLatin1Char('&'));
        const QRect caption(6, 0, metrics.horizontalAdvance(plain) + 6, metrics.height());
        painter.fillRect(caption, palette().window());
        style()->drawItemText(&painter, caption.adjusted(3, 0, 0, 0), flags, palette(), isEnabled(), title(),
                              QPalette::WindowText);
    }
};

// Tab leaves the start date for the next control, as with every other
// control of the dialog, instead of stepping through day, month and year
// (the arrow keys and the mouse still reach each part).
class StartDatePicker : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect place)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

}  // namespace

frmTermDepositDetails::frmTermDepositDetails(Platform& platform, RegisterHistory& history, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), m_platform(platform), m_history(history)
{
    setObjectName(QStringLiteral("frmTermDepositDetails"));
    setWindowTitle(tr("Quendarith Information Technology Term Deposit Details"));
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    buildControls();
    setTabOrderChain();

    connect(m_DTPicStartDate, &QDateEdit::dateChanged, this, &frmTermDepositDetails::CalculateTermDate);
    for (RuledTextBox* box : {m_txtTermYears, m_txtTermMonths})
        connect(box, &QLineEdit::textChanged, this, &frmTermDepositDetails::CalculateTermDate);
    for (RuledTextBox* box : {m_txtAccountBalance, m_txtInterest, m_txtSaveEachMonth})
        connect(box, &QLineEdit::textChanged, this, &frmTermDepositDetails::CalculateFutureValue);
    for (RuledTextBox* box : {m_txtAccountBalance, m_txtSaveEachMonth})
        connect(box, &RuledTextBox::focusLost, this, [this, box] { formatMoneyOnFocusLoss(box); });
    connect(m_ckSaveMonthOnOff, &QCheckBox::clicked, this,
            [this] { switchClicked(m_ckSaveMonthOnOff, m_txtSaveEachMonth); });
    connect(m_ckMonthsOnOff, &QCheckBox::clicked, this,
            [this] { switchClicked(m_ckMonthsOnOff, m_txtTermMonths); });
    connect(m_cmdAdd, &QPushButton::clicked, this, &frmTermDepositDetails::cmdAdd_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmTermDepositDetails::cmdCancel_Click);
    // Alt+A adds and Alt+C cancels though the captions "&Account Balance"
    // and "A&ctive" share their letters.
    makeAccessKeysAct(*this);

    // The opening steps: centred, today's date as start date (a change, so
    // the displays show today's date and $0.00), the switched boxes disabled.
    move(centredOnScreen(m_platform.screen.sizePixels(), size()));
    setStartDate(m_platform.clock.today());
    m_txtSaveEachMonth->setEnabled(false);
    m_txtTermMonths->setEnabled(false);
    m_txtAccountNumber->setFocus();
}

frmTermDepositDetails::~frmTermDepositDetails() = default;

void frmTermDepositDetails::buildControls()
{
    QList<Tabbed> tabbed;
    auto label = [&](int tab, const char* name, const QString& caption, QRect place) {
        QLabel* l = makeLabel(this, name, caption, place);
        tabbed.append({tab, l});
        return l;
    };
    auto box = [&](int tab, const char* name, BoxRule rule, int maxLength, const QString& accessibleName,
                   QRect place) {
        auto* b = new RuledTextBox(QString::fromLatin1(name), rule, maxLength, this);
        b->setGeometry(place);
        b->setAccessibleName(accessibleName);
        tabbed.append({tab, b});
        return b;
    };
    auto onOffSwitch = [&](int tab, const char* name, const QString& accessibleName, QRect place) {
        auto* sw = new OnOffSwitch(tr("&Off"), this);
        sw->setObjectName(QString::fromLatin1(name));
        sw->setAccessibleName(accessibleName);
        sw->setGeometry(place);
        tabbed.append({tab, sw});
        return sw;
    };

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("PicLogo"));
    logo->setPixmap(logoBanner());
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    logo->setAccessibleName(tr("Quendarith Information Technology"));
    logo->setGeometry(twips(0, 0, 3675, 1035));
    tabbed.append({23, logo});

    m_cmdQuery = makeButton(this, "cmdQuery", tr("&Query"), twips(3960, 240, 1335, 495));
    m_cmdQuery->setEnabled(false);  // it has no action
    m_cmdAdd = makeButton(this, "cmdAdd", tr("&Add"), twips(7560, 240, 1335, 495));
    m_cmdAdd->setDefault(true);  // Enter
    m_cmdCancel = makeButton(this, "cmdCancel", tr("&Cancel"), twips(7560, 960, 1335, 495));
    tabbed.append({22, m_cmdQuery});
    tabbed.append({20, m_cmdAdd});
    tabbed.append({21, m_cmdCancel});

    QLabel* lblAccountName = label(0, "lblAccountName", tr("Account &Number"), twips(60, 1200, 1455, 255));
    m_txtAccountNumber =
        box(1, "txtAccountNumber", BoxRule::Free, 20, tr("Account Number"), twips(1620, 1200, 3255, 285));
    lblAccountName->setBuddy(m_txtAccountNumber);

    QLabel* lblSaveMonth = label(2, "lblSaveMonth", tr("&Save Each Month"), twips(60, 1680, 1455, 255));
    m_txtSaveEachMonth =
        box(3, "txtSaveEachMonth", BoxRule::Money, 15, tr("Save Each Month"), twips(1620, 1680, 3255, 285));
    m_txtSaveEachMonth->setText(QStringLiteral("0"));
    lblSaveMonth->setBuddy(m_txtSaveEachMonth);
    m_ckSaveMonthOnOff =
        onOffSwitch(27, "ckSaveMonthOnOff", tr("Save Each Month On or Off"), twips(4980, 1680, 735, 255));

    QLabel* lblInterest = label(4, "lblInterest", tr("&Interest"), twips(60, 2100, 1455, 255));
    m_txtInterest =
        box(5, "txtInterest", BoxRule::Rate, 7, tr("Interest percent"), twips(1620, 2100, 1455, 285));
    lblInterest->setBuddy(m_txtInterest);
    label(26, "lblPercent", tr("%"), twips(3180, 2160, 375, 255));

    QLabel* lblDepositTerm = label(6, "lblDepositTerm", tr("&Deposit Term"), twips(60, 2580, 1455, 255));
    m_txtTermYears =
        box(7, "txtTermYears", BoxRule::Years, 2, tr("Deposit Term Years"), twips(1620, 2580, 855, 285));
    lblDepositTerm->setBuddy(m_txtTermYears);
    QLabel* lblYears = label(8, "lblYears", tr("&Years"), twips(2580, 2580, 615, 255));
    m_txtTermMonths =
        box(9, "txtTermMonths", BoxRule::Months, 2, tr("Deposit Term Months"), twips(3540, 2580, 855, 285));
    m_txtTermMonths->setText(QStringLiteral("0"));
    QLabel* lblMonths = label(10, "lblMonths", tr("&Months"), twips(4500, 2580, 735, 255));
    // The captions after the boxes name them for screen readers; their access
    // keys still go to the next control in tab order (see eventFilter).
    lblYears->setBuddy(m_txtTermYears);
    lblMonths->setBuddy(m_txtTermMonths);
    m_ckMonthsOnOff = onOffSwitch(28, "ckMonthsOnOff", tr("Months On or Off"), twips(5280, 2580, 735, 255));

    QLabel* lblStartDate = label(11, "lblStartDate", tr("&Start Date"), twips(60, 3000, 1455, 255));
    m_DTPicStartDate = new StartDatePicker(this);
    m_DTPicStartDate->setObjectName(QStringLiteral("DTPicStartDate"));
    m_DTPicStartDate->setDisplayFormat(m_platform.dateForm.pattern());
    m_DTPicStartDate->setDateRange(kEarliestStartDate, QDate(9999, 12, 31));
    m_DTPicStartDate->setCalendarPopup(true);
    m_DTPicStartDate->setAccessibleName(tr("Start Date"));
    m_DTPicStartDate->setGeometry(twips(1620, 3000, 3015, 285));
    tabbed.append({12, m_DTPicStartDate});
    lblStartDate->setBuddy(m_DTPicStartDate);
    label(25, "lblTermDatelbl", tr("Term Date"), twips(4860, 3000, 975, 255));
    m_lblTermDate = makeDisplay(this, "lblTermDate", tr("Term Date"), twips(5940, 3000, 2295, 285));
    tabbed.append({24, m_lblTermDate});

    QLabel* lblAccountBalance =
        label(13, "lblAccountBalance", tr("&Account Balance"), twips(60, 3480, 1455, 255));
    m_txtAccountBalance =
        box(14, "txtAccountBalance", BoxRule::Money, 15, tr("Account Balance"), twips(1620, 3480, 3255, 285));
    lblAccountBalance->setBuddy(m_txtAccountBalance);

    QLabel* lblFutureValuelbl =
        label(15, "lblFutureValuelbl", tr("&Future Value"), twips(540, 3960, 975, 255));
    m_lblFutureValue = makeDisplay(this, "lblFutureValue", tr("Future Value"), twips(1620, 3960, 3255, 285));
    tabbed.append({16, m_lblFutureValue});
    lblFutureValuelbl->setBuddy(m_lblFutureValue);

    m_FraActive = new EtchedFrame(tr("A&ctive"), this);
    m_FraActive->setObjectName(QStringLiteral("FraActive"));
    m_FraActive->setGeometry(twips(1620, 4500, 2175, 615));
    tabbed.append({17, m_FraActive});
    m_OptYes = new OptionButton(tr("&Yes"), m_FraActive);
    m_OptYes->setObjectName(QStringLiteral("OptYes"));
    m_OptYes->setGeometry(twips(240, 240, 615, 255));
    m_OptYes->setChecked(true);
    m_OptNo = new OptionButton(tr("&No"), m_FraActive);
    m_OptNo->setObjectName(QStringLiteral("OptNo"));
    m_OptNo->setGeometry(twips(1200, 240, 735, 255));
    tabbed.append({18, m_OptYes});
    tabbed.append({19, m_OptNo});

    std::sort(tabbed.begin(), tabbed.end(),
              [](const Tabbed& a, const Tabbed& b) { return a.index < b.index; });
    for (const Tabbed& t : std::as_const(tabbed)) {
        m_tabOrder.append(t.widget);
        if (auto* l = qobject_cast<QLabel*>(t.widget); l && l->buddy())
            l->installEventFilter(this);
    }
}

void frmTermDepositDetails::setTabOrderChain()
{
    QWidget* previous = nullptr;
    for (QWidget* w : std::as_const(m_tabOrder)) {
        if (w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

// A label's access key moves the focus to the next control in tab order that
// can take it: past disabled boxes, and to the selected one of the options.
bool frmTermDepositDetails::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && m_tabOrder.contains(label)) {
            focusNextControlAfter(label);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmTermDepositDetails::focusNextControlAfter(QWidget* label)
{
    for (qsizetype i = m_tabOrder.indexOf(label) + 1; i < m_tabOrder.size(); ++i) {
        QWidget* w = m_tabOrder[i];
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this))
            continue;
        if (auto* option = qobject_cast<QRadioButton*>(w);
            option && !option->isChecked() && (m_OptYes->isChecked() || m_OptNo->isChecked()))
            continue;
        w->setFocus(Qt::ShortcutFocusReason);
        return;
    }
}

void frmTermDepositDetails::setStartDate(QDate date)
{
    const bool unchanged = m_DTPicStartDate->date() == date;
    m_DTPicStartDate->setDate(date);
    if (unchanged)
        CalculateTermDate();
}

bool frmTermDepositDetails::setStartDateText(const QString& text)
{
    const std::optional<QDate> date = ParseDate(text, m_platform.dateForm);
    if (!date || *date < m_DTPicStartDate->minimumDate() || *date > m_DTPicStartDate->maximumDate())
        return false;
    setStartDate(*date);
    return true;
}

QString frmTermDepositDetails::shownText(const DepositField& field) const
{
    switch (field.kind) {
    case FieldKind::TextBox:
        return findChild<RuledTextBox*>(QLatin1String(field.control))->text();
    case FieldKind::StartDate:
        return FormatDate(m_DTPicStartDate->date(), m_platform.dateForm);
    case FieldKind::Display:
        return findChild<ValueDisplay*>(QLatin1String(field.control))->text();
    case FieldKind::ActiveOption:
        break;
    }
    return activeText(m_OptYes->isChecked());
}

bool frmTermDepositDetails::showText(const DepositField& field, const QString& text)
{
    switch (field.kind) {
    case FieldKind::TextBox:
        findChild<RuledTextBox*>(QLatin1String(field.control))->setText(text);
        return true;
    case FieldKind::StartDate:
        return setStartDateText(text);
    case FieldKind::Display:
        findChild<ValueDisplay*>(QLatin1String(field.control))->setText(text);
        return true;
    case FieldKind::ActiveOption:
        break;
    }
    (selectsOptYes(text) ? m_OptYes : m_OptNo)->setChecked(true);
    return true;
}

DepositRecord frmTermDepositDetails::shownDeposit() const
{
    DepositRecord d;
    for (const DepositField& field : kDepositFields)
        d[field.column] = shownText(field);
    return d;
}

void frmTermDepositDetails::CalculateTermDate()
{
    m_lblTermDate->setText(termDateText(m_DTPicStartDate->date(), m_txtTermYears->text(),
                                        m_txtTermMonths->text(), m_platform.dateForm));
    CalculateFutureValue();
}

void frmTermDepositDetails::CalculateFutureValue()
{
    m_lblFutureValue->setText(futureValueText(m_txtAccountBalance->text(), m_txtSaveEachMonth->text(),
                                              m_txtInterest->text(), m_txtTermYears->text(),
                                              m_txtTermMonths->text()));
}

void frmTermDepositDetails::formatMoneyOnFocusLoss(RuledTextBox* box)
{
    const QString formatted = FormatMoney(box->text());
    if (formatted != box->text())
        box->setText(formatted);
}

void frmTermDepositDetails::switchClicked(OnOffSwitch* onOff, RuledTextBox* box)
{
    if (!onOff->isChecked()) {
        box->setEnabled(false);  // takes the button face
        box->setText(QStringLiteral("0"));
        onOff->setCaption(tr("Off"));
    } else {
        box->setEnabled(true);
        box->setFocus(Qt::OtherFocusReason);
        onOff->setCaption(tr("On"));
    }
}

void frmTermDepositDetails::cmdAdd_Click()
{
    // Enter and the access key leave the focus in the box being edited; it
    // loses the focus first, as when the button is clicked, so the texts
    // read below are formatted alike.
    if (focusWidget() != m_cmdAdd)
        m_cmdAdd->setFocus(Qt::OtherFocusReason);
    using Change = RegisterHistory::Change;
    const DepositCommit commit = decideCommit(shownDeposit(), m_history.reg(), m_platform.messages);
    switch (commit.outcome) {
    case CommitOutcome::Add:
        m_history.addDeposit(commit.deposit, Active, m_rollOver ? Change::RollOver : Change::Add);
        accept();
        break;
    case CommitOutcome::Overwrite:
        m_history.overwriteDeposit(commit.row, commit.deposit, Active,
                                   m_rollOver ? Change::RollOver : Change::Overwrite);
        accept();
        break;
    case CommitOutcome::ValueMissing:
    case CommitOutcome::OverwriteDeclined:
        break;
    }
}

void frmTermDepositDetails::cmdCancel_Click() { reject(); }

}  // namespace td
