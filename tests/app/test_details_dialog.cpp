#include "app/widgets/look.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit_details.h"
#include "commands/key_rules.h"
#include "support/data_rows.h"
#include "support/fake_platform.h"
#include "support/typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace td;
using namespace td::test;

namespace {

const QColor kLightCyan(192, 255, 255);

// The worked example as the commit writes it (31 January 2024, dd/MM/yyyy).
const QStringList kWorkedExampleRow = {"A1001",      "$100.00",    "5.5",        "2",          "6",
                                       "31/01/2024", "31/07/2026", "$10,000.00", "$14,678.59", "Yes"};

struct Entry {
    QString account = QStringLiteral("A1001");
    bool savingOn = true;
    QString saving = QStringLiteral("100");
    QString interest = QStringLiteral("5.5");
    QString years = QStringLiteral("2");
    bool monthsOn = true;
    QString months = QStringLiteral("6");
    QString balance = QStringLiteral("10000");
};

// A register with its header row, flags and a faked world; deposits are added by account number.
struct World {
    FakePlatform fake;
    Register reg;
    ModLease flags;
    RegisterHistory history{reg, flags};

    explicit World(const QStringList& accounts = {})
    {
        for (int c = 0; c < ColumnCount; ++c)
            reg.setCell(0, c, headerText(c));
        for (const QString& account : accounts) {
            DepositRecord d;
            d.texts = {account, "0", "4", "1", "0", "01/01/2024", "01/01/2025", "$500.00", "$520.37", "No"};
            reg.appendDeposit(d);
        }
    }

    QList<DepositRecord> records() const
    {
        QList<DepositRecord> all;
        for (int r = 0; r < reg.rows(); ++r)
            all << reg.record(r);
        return all;
    }
};

QStringList rowTexts(const Register& reg, int row)
{
    QStringList texts;
    for (int c = 0; c < ColumnCount; ++c)
        texts << reg.cell(row, c);
    return texts;
}

// Clicks into a box (as a user does) and types.
void clickAndType(QLineEdit* box, const QString& keys)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    typeText(box, keys);
}

void typeEntry(frmTermDepositDetails& d, const Entry& e)
{
    clickAndType(d.txtAccountNumber(), e.account);
    if (e.savingOn) {
        QTest::mouseClick(d.ckSaveMonthOnOff(), Qt::LeftButton);  // the focus moves into the box
        QTest::keyClicks(d.txtSaveEachMonth(), e.saving);
    }
    clickAndType(d.txtInterest(), e.interest);
    clickAndType(d.txtTermYears(), e.years);
    if (e.monthsOn) {
        QTest::mouseClick(d.ckMonthsOnOff(), Qt::LeftButton);
        QTest::keyClicks(d.txtTermMonths(), e.months);
    }
    clickAndType(d.txtAccountBalance(), e.balance);
}

QColor baseOf(QWidget* w) { return w->palette().color(QPalette::Base); }

// The colour the box is drawn with, inside its frame.
QColor paintedBase(QWidget* w) { return w->grab().toImage().pixelColor(w->width() - 4, w->height() / 2); }

QString plainCaption(QString caption) { return caption.remove(QLatin1Char('&')); }

}  // namespace

class TestDetailsDialog : public QObject {
    Q_OBJECT

    // Shows the dialog as runModal does and waits until it is active.
    static bool showActive(QDialog& d)
    {
        d.show();
        d.activateWindow();
        return QTest::qWaitForWindowActive(&d);
    }

    static RuledTextBox* box(frmTermDepositDetails& d, const QString& name)
    {
        return d.findChild<RuledTextBox*>(name);
    }

    // Brings a switched box to life through its switch, as a user must.
    static void enable(frmTermDepositDetails& d, RuledTextBox* b)
    {
        if (b == d.txtSaveEachMonth())
            QTest::mouseClick(d.ckSaveMonthOnOff(), Qt::LeftButton);
        else if (b == d.txtTermMonths())
            QTest::mouseClick(d.ckMonthsOnOff(), Qt::LeftButton);
    }

    // The named box, switched on where it has a switch, with the focus as Tab gives it.
    static RuledTextBox* focusedBox(frmTermDepositDetails& d, const QString& name)
    {
        RuledTextBox* b = box(d, name);
        enable(d, b);
        b->setFocus(Qt::TabFocusReason);
        return b;
    }

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void opensInItsInitialStateShowingTodaysTermDate()
    {
        World w;
        w.fake.screen.size = QSize(1024, 768);
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QCOMPARE(d.objectName(), QStringLiteral("frmTermDepositDetails"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Quendarith Information Technology Term Deposit Details"));
        QCOMPARE(d.size(), QSize(603, 355));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.pos(), QPoint((1024 - 603) / 2, (768 - 355) / 2));

        QCOMPARE(d.DTPicStartDate()->date(), QDate(2024, 1, 31));
        QCOMPARE(d.DTPicStartDate()->displayFormat(), QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("31/01/2024"));
        QCOMPARE(d.lblFutureValue()->text(), QStringLiteral("$0.00"));
        for (RuledTextBox* b : {d.txtSaveEachMonth(), d.txtTermMonths()}) {
            QCOMPARE(b->text(), QStringLiteral("0"));
            QVERIFY(!b->isEnabled());
            QCOMPARE(baseOf(b), b->buttonFace());
        }
        for (RuledTextBox* b :
             {d.txtAccountNumber(), d.txtInterest(), d.txtTermYears(), d.txtAccountBalance()}) {
            QVERIFY(b->text().isEmpty());
            QVERIFY(b->isEnabled());
        }
        for (QCheckBox* onOff : {d.ckSaveMonthOnOff(), d.ckMonthsOnOff()}) {
            QVERIFY(!onOff->isChecked());
            QCOMPARE(onOff->text(), QStringLiteral("&Off"));
        }
        QVERIFY(d.OptYes()->isChecked());
        QVERIFY(!d.OptNo()->isChecked());
        QVERIFY(!d.cmdQuery()->isEnabled());
        QVERIFY(d.cmdAdd()->isDefault());

        QVERIFY(showActive(d));
        QCOMPARE(QApplication::focusWidget(), d.txtAccountNumber());
        QCOMPARE(paintedBase(d.txtAccountNumber()), kLightCyan);
        QCOMPARE(paintedBase(d.txtTermMonths()), d.txtTermMonths()->buttonFace());
    }

    void controlsStandAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<int>("maxLength");
        auto row = [](const char* name, const char* caption, QRect r, int maxLength = -1) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << r
                                << maxLength;
        };
        row("PicLogo", "", QRect(0, 0, 3675, 1035));
        row("cmdQuery", "&Query", QRect(3960, 240, 1335, 495));
        row("cmdAdd", "&Add", QRect(7560, 240, 1335, 495));
        row("cmdCancel", "&Cancel", QRect(7560, 960, 1335, 495));
        row("lblAccountName", "Account &Number", QRect(60, 1200, 1455, 255));
        row("txtAccountNumber", "", QRect(1620, 1200, 3255, 285), 20);
        row("lblSaveMonth", "&Save Each Month", QRect(60, 1680, 1455, 255));
        row("txtSaveEachMonth", "0", QRect(1620, 1680, 3255, 285), 15);
        row("ckSaveMonthOnOff", "&Off", QRect(4980, 1680, 735, 255));
        row("lblInterest", "&Interest", QRect(60, 2100, 1455, 255));
        row("txtInterest", "", QRect(1620, 2100, 1455, 285), 7);
        row("lblPercent", "%", QRect(3180, 2160, 375, 255));
        row("lblDepositTerm", "&Deposit Term", QRect(60, 2580, 1455, 255));
        row("txtTermYears", "", QRect(1620, 2580, 855, 285), 2);
        row("lblYears", "&Years", QRect(2580, 2580, 615, 255));
        row("txtTermMonths", "0", QRect(3540, 2580, 855, 285), 2);
        row("lblMonths", "&Months", QRect(4500, 2580, 735, 255));
        row("ckMonthsOnOff", "&Off", QRect(5280, 2580, 735, 255));
        row("lblStartDate", "&Start Date", QRect(60, 3000, 1455, 255));
        row("DTPicStartDate", "", QRect(1620, 3000, 3015, 285));
        row("lblTermDatelbl", "Term Date", QRect(4860, 3000, 975, 255));
        row("lblTermDate", "31/01/2024", QRect(5940, 3000, 2295, 285));
        row("lblAccountBalance", "&Account Balance", QRect(60, 3480, 1455, 255));
        row("txtAccountBalance", "", QRect(1620, 3480, 3255, 285), 15);
        row("lblFutureValuelbl", "&Future Value", QRect(540, 3960, 975, 255));
        row("lblFutureValue", "$0.00", QRect(1620, 3960, 3255, 285));
        row("FraActive", "A&ctive", QRect(1620, 4500, 2175, 615));
        row("OptYes", "&Yes", QRect(240, 240, 615, 255));
        row("OptNo", "&No", QRect(1200, 240, 735, 255));
    }
    void controlsStandAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QRect, twipsRect);
        QFETCH(int, maxLength);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        auto* control = d.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), QRect(twipsRect.x() / 15, twipsRect.y() / 15, twipsRect.width() / 15,
                                            twipsRect.height() / 15));
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        else if (auto* display = qobject_cast<ValueDisplay*>(control))
            shown = display->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            shown = button->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            shown = edit->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(control))
            shown = frame->title();
        if (!qobject_cast<QDateEdit*>(control))
            QCOMPARE(shown, caption);
        if (maxLength > 0)
            QCOMPARE(qobject_cast<QLineEdit*>(control)->maxLength(), maxLength);
        if (name.startsWith(QLatin1String("Opt")))
            QCOMPARE(control->parentWidget(), d.findChild<QWidget*>(QStringLiteral("FraActive")));
    }

    void everyCaptionFits()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        for (QLabel* label : d.findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const int needed = label->fontMetrics().horizontalAdvance(plainCaption(label->text())) +
                               2 * (label->frameWidth() + qMax(label->indent(), 0));
            QVERIFY2(needed <= label->width(), qPrintable(label->objectName()));
            QVERIFY2(label->fontMetrics().height() <= label->height(), qPrintable(label->objectName()));
        }
        for (QAbstractButton* button : d.findChildren<QAbstractButton*>()) {
            int indicator = 8;  // a push button's margins
            if (qobject_cast<QRadioButton*>(button))
                indicator = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                            button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            else if (qobject_cast<QCheckBox*>(button))
                indicator = button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                            button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            const int needed =
                indicator + button->fontMetrics().horizontalAdvance(plainCaption(button->text()));
            QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
            QVERIFY2(button->fontMetrics().height() <= button->height(), qPrintable(button->objectName()));
        }
        // The widest date text of the program's form fits the picker beside its arrow.
        QDateEdit* picker = d.DTPicStartDate();
        QVERIFY(picker->fontMetrics().horizontalAdvance(QStringLiteral("28/08/2888")) + 30 <=
                picker->width());
        QVERIFY(d.lblFutureValue()->fontMetrics().horizontalAdvance(QStringLiteral("$999,999,999,999.99")) <=
                d.lblFutureValue()->width());
    }

    void tabOrderFollowsTheForm()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        enable(d, d.txtSaveEachMonth());
        enable(d, d.txtTermMonths());
        d.txtAccountNumber()->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 14; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QStringList expected = {
            "txtAccountNumber", "txtSaveEachMonth",  "txtInterest",      "txtTermYears",    "txtTermMonths",
            "DTPicStartDate",   "txtAccountBalance", "OptYes",           "cmdAdd",          "cmdCancel",
            "ckSaveMonthOnOff", "ckMonthsOnOff",     "txtAccountNumber", "txtSaveEachMonth"};
        QCOMPARE(visited, expected);
    }

    void accessKeysGoToTheNextControlThatCanTakeTheFocus_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<bool>("noSelected");
        QTest::addColumn<QString>("expected");
        dataRow("Save Each Month and Start Date share S: the first", Qt::Key_S, false, "txtInterest");
        dataRow("Interest", Qt::Key_I, false, "txtInterest");
        dataRow("Deposit Term", Qt::Key_D, false, "txtTermYears");
        dataRow("Months: past the label of the start date", Qt::Key_M, false, "DTPicStartDate");
        dataRow("Future Value: past the display and the frame", Qt::Key_F, false, "OptYes");
        dataRow("Future Value: the selected option", Qt::Key_F, true, "OptNo");
    }
    void accessKeysGoToTheNextControlThatCanTakeTheFocus()
    {
        QFETCH(Qt::Key, key);
        QFETCH(bool, noSelected);
        QFETCH(QString, expected);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        if (noSelected)
            d.OptNo()->setChecked(true);
        d.cmdCancel()->setFocus();
        QTest::keyClick(&d, key, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected);
        QVERIFY(d.isVisible());
    }

    void keyRules_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("selectionStart");  // -1: caret at the end
        QTest::addColumn<int>("selectionLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        dataRow("balance: first 0 refused", "txtAccountBalance", "", -1, 0, "0", "");
        dataRow("balance: zeros after a digit", "txtAccountBalance", "", -1, 0, "1000", "1000");
        dataRow("balance: below 1 cannot be typed", "txtAccountBalance", "", -1, 0, ".5", ".");
        dataRow("balance: cents", "txtAccountBalance", "", -1, 0, "1.05", "1.05");
        dataRow("balance: upper bound", "txtAccountBalance", "", -1, 0, "9999999999", "999999999");
        dataRow("balance: several points", "txtAccountBalance", "", -1, 0, "1...", "1...");
        dataRow("balance: other characters refused", "txtAccountBalance", "", -1, 0, "1a-,$ 2+e", "12");
        dataRow("balance: digit inside a money text", "txtAccountBalance", "$1,000.00", 3, 0, "5",
                "$1,000.00");
        dataRow("balance: backspace and point inside", "txtAccountBalance", "$1,000.00", 3, 0, "\b.",
                "$1.000.00");
        dataRow("balance: over the whole selection", "txtAccountBalance", "$1,000.00", 0, 9, "5", "5");
        dataRow("balance: over part of it", "txtAccountBalance", "1500", 1, 2, "2", "120");
        dataRow("balance: a 0 in front of digits", "txtAccountBalance", "25", 0, 0, "0", "025");
        dataRow("balance: max length", "txtAccountBalance", "1.0000000000000", -1, 0, "1", "1.0000000000000");
        dataRow("saving: same rules", "txtSaveEachMonth", "0", 0, 1, "0x12.5", "12.5");
        dataRow("interest: 1, 0, 0", "txtInterest", "", -1, 0, "100", "10");
        dataRow("interest: 99.9999 in full", "txtInterest", "", -1, 0, "99.9999", "99.9999");
        dataRow("interest: first 0 refused", "txtInterest", "", -1, 0, "05.5", "5.5");
        dataRow("interest: max length 7", "txtInterest", "", -1, 0, "1.234567", "1.23456");
        dataRow("years: point refused", "txtTermYears", "", -1, 0, "1.5", "15");
        dataRow("years: 100 refused", "txtTermYears", "1", -1, 0, "00", "10");
        dataRow("years: 0 and 00", "txtTermYears", "", -1, 0, "00", "00");
        dataRow("years: letters and signs refused", "txtTermYears", "", -1, 0, "-a 9", "9");
        dataRow("months: 12 refused", "txtTermMonths", "0", 0, 1, "12", "1");
        dataRow("months: 11", "txtTermMonths", "0", 0, 1, "11", "11");
        dataRow("months: 0 and 00", "txtTermMonths", "0", 0, 1, "00", "00");
        dataRow("months: point refused", "txtTermMonths", "0", 0, 1, ".3", "3");
        dataRow("months: backspace", "txtTermMonths", "11", -1, 0, "\b", "1");
        dataRow("account: every key", "txtAccountNumber", "", -1, 0, "a-,$ .0Z", "a-,$ .0Z");
        dataRow("account: max length 20", "txtAccountNumber", "", -1, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                "ABCDEFGHIJKLMNOPQRST");
    }
    void keyRules()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        RuledTextBox* b = focusedBox(d, box);
        b->setText(before);
        if (selectionStart >= 0)
            b->setSelection(selectionStart, selectionLength);
        QTest::keyClicks(b, typed);
        QCOMPARE(b->text(), after);
    }

    void pasteMeetsTheKeyRules_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        dataRow("rate accepted", "txtInterest", "", false, "5.25", "5.25");
        dataRow("rate of 100 refused whole", "txtInterest", "", false, "100", "");
        dataRow("months 12 refused", "txtTermMonths", "0", true, "12", "0");
        dataRow("years with a point refused", "txtTermYears", "", false, ".5", "");
        dataRow("a letter spoils it", "txtAccountBalance", "", false, "12a", "");
        dataRow("money text refused", "txtAccountBalance", "", false, "$1,000.00", "");
        dataRow("over the whole money text", "txtAccountBalance", "$1,000.00", true, "2500", "2500");
        dataRow("appended at the caret", "txtAccountBalance", "25", false, "00", "2500");
        dataRow("only what fits is checked and goes in", "txtAccountBalance", "", false,
                "1.00000000000000099", "1.0000000000000");
        dataRow("too large within the length", "txtAccountBalance", "", false, "1234567890", "");
        dataRow("account number as it is", "txtAccountNumber", "", false, "A-1 x/7", "A-1 x/7");
        dataRow("line break refused", "txtAccountNumber", "", false, "A1001\n", "");
        dataRow("tab refused", "txtInterest", "", false, "5\t", "");
    }
    // Both paste keys, each on the box as it was before.
    void pasteMeetsTheKeyRules()
    {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(bool, selectAll);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        RuledTextBox* b = focusedBox(d, box);
        for (const QKeyCombination paste :
             {Qt::ControlModifier | Qt::Key_V, Qt::ShiftModifier | Qt::Key_Insert}) {
            QGuiApplication::clipboard()->setText(clipboard);
            b->setText(before);
            if (selectAll)
                b->selectAll();
            QTest::keyClick(b, paste.key(), paste.keyboardModifiers());
            QCOMPARE(b->text(), after);
        }
    }

    void contextMenuPasteMeetsTheKeyRules()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        RuledTextBox* b = d.txtTermYears();
        b->setFocus(Qt::TabFocusReason);
        bool pasteFound = false;
        auto pasteFromMenu = [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions()) {
                if (a->objectName() == QLatin1String("edit-paste")) {
                    pasteFound = true;
                    a->trigger();
                }
            }
            menu->close();
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("1.5"));
        QTimer::singleShot(0, this, pasteFromMenu);
        QContextMenuEvent refused(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &refused);
        QVERIFY(pasteFound);
        QCOMPARE(b->text(), QString());

        QGuiApplication::clipboard()->setText(QStringLiteral("15"));
        QTimer::singleShot(0, this, pasteFromMenu);
        QContextMenuEvent accepted(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b, &accepted);
        QCOMPARE(b->text(), QStringLiteral("15"));
    }

    void focusSelectsTheWholeTextAndColoursTheBox()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        clickAndType(d.txtInterest(), QStringLiteral("5.5"));
        QCOMPARE(paintedBase(d.txtInterest()), kLightCyan);
        QTest::keyClick(d.txtInterest(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.txtTermYears());
        QCOMPARE(paintedBase(d.txtInterest()), d.txtInterest()->windowBackground());
        QCOMPARE(paintedBase(d.txtTermYears()), kLightCyan);

        QTest::keyClick(d.txtTermYears(), Qt::Key_Backtab);
        QCOMPARE(d.txtInterest()->selectedText(), QStringLiteral("5.5"));
        QCOMPARE(baseOf(d.txtInterest()), kLightCyan);
        QCOMPARE(baseOf(d.txtTermYears()), d.txtTermYears()->windowBackground());

        // A click selects the whole text too.
        QTest::mouseClick(d.txtAccountBalance(), Qt::LeftButton);
        QTest::keyClicks(d.txtAccountBalance(), QStringLiteral("250"));
        QTest::mouseClick(d.txtInterest(), Qt::LeftButton, {}, QPoint(3, 8));
        QCOMPARE(d.txtInterest()->selectedText(), QStringLiteral("5.5"));
        QCOMPARE(d.txtAccountBalance()->text(), QStringLiteral("$250.00"));
    }

    void moneyIsFormattedWhenTheBoxIsLeft_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        dataRow("thousands", "txtAccountBalance", "10000", "$10,000.00");
        dataRow("rounded to cents", "txtAccountBalance", "12.345", "$12.35");
        dataRow("one digit", "txtAccountBalance", "5", "$5.00");
        dataRow("empty stays empty", "txtAccountBalance", "", "");
        dataRow("not a number stays", "txtAccountBalance", "1...", "1...");
        dataRow("saving", "txtSaveEachMonth", "1234.5", "$1,234.50");
        dataRow("saving switched on and left", "txtSaveEachMonth", "", "$0.00");
        dataRow("rate is not money", "txtInterest", "5.5", "5.5");
    }
    void moneyIsFormattedWhenTheBoxIsLeft()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        RuledTextBox* b = TestDetailsDialog::box(d, box);
        if (b == d.txtSaveEachMonth())
            enable(d, b);  // the switch moves the focus in with "0" selected
        else
            b->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(b, typed);
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(b->text(), left);
    }

    // A message box or another program taking the window's focus is no move to another control.
    void windowDeactivationLeavesTheBoxAlone()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        clickAndType(d.txtAccountBalance(), QStringLiteral("500"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(d.txtAccountBalance(), &out);
        QCOMPARE(d.txtAccountBalance()->text(), QStringLiteral("500"));
        QCOMPARE(baseOf(d.txtAccountBalance()), kLightCyan);
    }

    void switchesEnableAndClearTheirBoxes()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        clickAndType(d.txtAccountBalance(), QStringLiteral("1000"));
        clickAndType(d.txtTermYears(), QStringLiteral("1"));

        QTest::mouseClick(d.ckSaveMonthOnOff(), Qt::LeftButton);
        QVERIFY(d.ckSaveMonthOnOff()->isChecked());
        QCOMPARE(d.ckSaveMonthOnOff()->text(), QStringLiteral("On"));
        QVERIFY(d.txtSaveEachMonth()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), d.txtSaveEachMonth());
        QCOMPARE(d.txtSaveEachMonth()->selectedText(), QStringLiteral("0"));
        QCOMPARE(paintedBase(d.txtSaveEachMonth()), kLightCyan);
        QTest::keyClicks(d.txtSaveEachMonth(), QStringLiteral("250"));
        QCOMPARE(d.lblFutureValue()->text(), QStringLiteral("$4,000.00"));  // no interest: 1000 + 12 * 250

        QTest::mouseClick(d.ckSaveMonthOnOff(), Qt::LeftButton);
        QVERIFY(!d.ckSaveMonthOnOff()->isChecked());
        QCOMPARE(d.ckSaveMonthOnOff()->text(), QStringLiteral("Off"));
        QCOMPARE(d.txtSaveEachMonth()->text(), QStringLiteral("0"));
        QVERIFY(!d.txtSaveEachMonth()->isEnabled());
        QCOMPARE(paintedBase(d.txtSaveEachMonth()), d.txtSaveEachMonth()->buttonFace());
        QCOMPARE(d.lblFutureValue()->text(), QStringLiteral("$1,000.00"));

        // Months: on moves the term date, off moves it back to whole years.
        QTest::mouseClick(d.ckMonthsOnOff(), Qt::LeftButton);
        QTest::keyClicks(d.txtTermMonths(), QStringLiteral("6"));
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("31/07/2025"));
        QTest::mouseClick(d.ckMonthsOnOff(), Qt::LeftButton);
        QCOMPARE(d.txtTermMonths()->text(), QStringLiteral("0"));
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("31/01/2025"));

        // On again keeps what the box holds.
        d.txtTermMonths()->setText(QStringLiteral("3"));
        QTest::mouseClick(d.ckMonthsOnOff(), Qt::LeftButton);
        QCOMPARE(d.txtTermMonths()->text(), QStringLiteral("3"));
    }

    // A click anywhere in the twips rectangle a switch or option is placed
    // at takes, its right end included.
    void switchesAndOptionsTakeTheClickOverTheirWholePlace_data()
    {
        QTest::addColumn<QString>("name");
        dataRow("ckSaveMonthOnOff", "ckSaveMonthOnOff");
        dataRow("ckMonthsOnOff", "ckMonthsOnOff");
        dataRow("OptNo", "OptNo");
    }
    void switchesAndOptionsTakeTheClickOverTheirWholePlace()
    {
        QFETCH(QString, name);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        auto* control = d.findChild<QAbstractButton*>(name);
        QVERIFY(control);
        QCOMPARE(control->size(), QSize(49, 17));
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(47, 15));
        QVERIFY(control->isChecked());
    }

    // A key whose letter belongs to one button, switch or option alone acts
    // on it, though labels and the frame share the letter; a key that two of
    // them share moves the focus between them.
    void accessKeysThatBelongToOneControlPressIt_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("pressed");  // empty: nothing pressed
        QTest::addColumn<QString>("focus");    // empty: not looked at
        dataRow("Alt+A adds, not Account Balance", Qt::Key_A, "cmdAdd", "");
        dataRow("Alt+C cancels, not Active", Qt::Key_C, "cmdCancel", "");
        dataRow("Alt+N chooses No, not Account Number", Qt::Key_N, "OptNo", "OptNo");
        dataRow("Alt+O: two switches share it", Qt::Key_O, "", "ckSaveMonthOnOff");
    }
    void accessKeysThatBelongToOneControlPressIt()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, pressed);
        QFETCH(QString, focus);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        QStringList clicked;
        for (QAbstractButton* button : d.findChildren<QAbstractButton*>())
            connect(button, &QAbstractButton::clicked, &d,
                    [&clicked, button] { clicked << button->objectName(); });
        d.txtInterest()->setFocus();
        QTest::keyClick(&d, key, Qt::AltModifier);
        if (pressed.isEmpty()) {
            QTest::qWait(200);  // a press would have come by now
            QCOMPARE(clicked, QStringList());
        } else {
            QTRY_COMPARE(clicked, QStringList{pressed});
        }
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(d.OptNo()->isChecked(), pressed == QLatin1String("OptNo"));
        QVERIFY(!d.ckSaveMonthOnOff()->isChecked() && !d.ckMonthsOnOff()->isChecked());
    }

    void displaysFollowTheBoxes()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QVERIFY(showActive(d));
        typeEntry(d, Entry());
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("31/07/2026"));
        QCOMPARE(d.lblFutureValue()->text(), QStringLiteral("$14,678.59"));

        // The balance box not yet left: read rounded to cents.
        QCOMPARE(d.txtAccountBalance()->text(), QStringLiteral("10000"));
        QTest::keyClicks(d.txtAccountBalance(), QStringLiteral(".555"));
        d.txtSaveEachMonth()->setText(QString());
        d.txtInterest()->setText(QString());
        QCOMPARE(d.lblFutureValue()->text(), QStringLiteral("$10,000.56"));

        // The interest alone leaves the term date.
        d.lblTermDate()->setText(QStringLiteral("marker"));
        clickAndType(d.txtInterest(), QStringLiteral("4"));
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("marker"));

        // The start date, set by the user or by the program.
        d.setStartDate(QDate(2024, 2, 29));  // 28 February 2026, then 28 August 2026
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("28/08/2026"));
        d.lblTermDate()->setText(QStringLiteral("marker"));
        d.setStartDate(QDate(2024, 2, 29));  // the same date is still a change
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("28/08/2026"));
        d.DTPicStartDate()->setFocus();
        QTest::keyClick(d.DTPicStartDate(), Qt::Key_End);
        QTest::keyClick(d.DTPicStartDate(), Qt::Key_Up);  // the year
        QCOMPARE(d.DTPicStartDate()->date(), QDate(2025, 2, 28));
        QCOMPARE(d.lblTermDate()->text(), QStringLiteral("28/08/2027"));
    }

    void commit_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("answers");  // 1 Yes, 0 No
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("writtenRow");    // -1: nothing written
        QTest::addColumn<QPoint>("cellAfter");  // column, row
        using Accounts = QStringList;
        using Answers = QList<int>;
        dataRow("empty register", Accounts(), "A1001", Answers(), 0, 1, QPoint(9, 1));
        dataRow("after other deposits", Accounts{"A1", "A2"}, "A1001", Answers(), 0, 3, QPoint(9, 3));
        dataRow("overwrite: yes", Accounts{"A1", "A1001", "A2"}, "A1001", Answers{1}, 1, 2, QPoint(9, 2));
        dataRow("overwrite: no", Accounts{"A1", "A1001", "A2"}, "A1001", Answers{0}, 1, -1, QPoint(0, 2));
        dataRow("letter case differs", Accounts{"a1001"}, "A1001", Answers(), 0, 2, QPoint(9, 2));
        dataRow("blanks around the typed number", Accounts{"A1001"}, "  A1001 ", Answers{1}, 1, 1,
                QPoint(9, 1));
        dataRow("first of several: no ends it", Accounts{"B", "A1001", "A1001"}, "A1001", Answers{0}, 1, -1,
                QPoint(0, 2));
        dataRow("first of several: yes", Accounts{"B", "A1001", "A1001"}, "A1001", Answers{1}, 1, 2,
                QPoint(9, 2));
        dataRow("overwrite: first row", Accounts{"A1001", "A1", "A2"}, "A1001", Answers{1}, 1, 1,
                QPoint(9, 1));
        dataRow("overwrite: last row", Accounts{"A1", "A2", "A1001"}, "A1001", Answers{1}, 1, 3,
                QPoint(9, 3));
        dataRow("letters beyond ASCII", Accounts{"A1", "É1001"}, "É1001", Answers{1}, 1, 2, QPoint(9, 2));
        dataRow("their letter case differs", Accounts{"É1001"}, "é1001", Answers(), 0, 2, QPoint(9, 2));
        dataRow("held as texts: Greek", Accounts{"A1", "Ω1001"}, "Ω1001", Answers{1}, 1, 2, QPoint(9, 2));
        dataRow("held as texts: blanks around", Accounts{" A1001"}, "A1001", Answers(), 0, 2, QPoint(9, 2));
    }
    void commit()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, typed);
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(int, writtenRow);
        QFETCH(QPoint, cellAfter);
        World w(existing);
        for (int a : answers)
            w.fake.messages.answers.push_back(a ? MessageButton::Yes : MessageButton::No);
        const QList<DepositRecord> before = w.records();

        frmTermDepositDetails d(w.fake.platform(), w.history);
        bool stillOpen = false;
        w.fake.modal.handlers.push_back([&](QDialog&) {
            Entry e;
            e.account = typed;
            typeEntry(d, e);
            QTest::mouseClick(d.cmdAdd(), Qt::LeftButton);
            stillOpen = d.isVisible();
        });
        const int result = w.fake.modal.runModal(d);

        const RecordedMessage overwrite{
            "Over Write Term Deposit?",
            "This Account Number already exists. Modify this existing Term Deposit by over writing?",
            MessageIcon::Question, MessageButtons::YesNo};
        QCOMPARE(w.fake.messages.asked, QList<RecordedMessage>(questions, overwrite));
        QCOMPARE(QPoint(w.reg.col(), w.reg.row()), cellAfter);
        if (writtenRow < 0) {
            QVERIFY(stillOpen);
            QCOMPARE(w.records(), before);
            QVERIFY(!w.flags.ModifiedFlag);
            return;
        }
        QVERIFY(!stillOpen);
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(w.flags.ModifiedFlag);
        QStringList written = kWorkedExampleRow;
        written[AccountNumber] = typed.trimmed();
        QCOMPARE(rowTexts(w.reg, writtenRow), written);
        const bool added = questions == 0;
        QCOMPARE(w.reg.rows(), before.size() + (added ? 1 : 0));
        QVERIFY(w.reg.record(w.reg.rows() - 1) == DepositRecord());  // a blank spare row stays last
        for (int r = 0; r < before.size() - 1; ++r) {
            if (r != writtenRow)
                QVERIFY(w.reg.record(r) == before[r]);
        }
    }

    void switchesLeftOffWriteZero()
    {
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        w.fake.modal.handlers.push_back([&](QDialog&) {
            Entry e;
            e.savingOn = false;
            e.monthsOn = false;
            typeEntry(d, e);
            d.OptNo()->click();
            QTest::mouseClick(d.cmdAdd(), Qt::LeftButton);
        });
        w.fake.modal.runModal(d);
        QCOMPARE(rowTexts(w.reg, 1), QStringList({"A1001", "0", "5.5", "2", "0", "31/01/2024", "31/01/2026",
                                                  "$10,000.00", "$11,159.98", "No"}));
    }

    void missingValueStopsTheCommit_data()
    {
        QTest::addColumn<QString>("emptied");
        dataRow("account number of blanks", "txtAccountNumber");
        dataRow("interest", "txtInterest");
        dataRow("years", "txtTermYears");
        dataRow("balance", "txtAccountBalance");
        dataRow("saving switched on and emptied", "txtSaveEachMonth");
        dataRow("months switched on and emptied", "txtTermMonths");
    }
    void missingValueStopsTheCommit()
    {
        QFETCH(QString, emptied);
        World w({"A1"});
        w.reg.setCurrentCell(1, 4);
        const QList<DepositRecord> before = w.records();
        frmTermDepositDetails d(w.fake.platform(), w.history);
        QString termDateShown;
        w.fake.modal.handlers.push_back([&](QDialog&) {
            typeEntry(d, Entry());
            RuledTextBox* b = box(d, emptied);
            b->setFocus(Qt::TabFocusReason);
            b->selectAll();
            QTest::keyClick(b, Qt::Key_Backspace);
            if (b == d.txtAccountNumber())
                QTest::keyClicks(b, QStringLiteral("   "));
            termDateShown = d.lblTermDate()->text();
            QTest::mouseClick(d.cmdAdd(), Qt::LeftButton);
            QVERIFY(d.isVisible());
            QCOMPARE(QApplication::focusWidget(), d.cmdAdd());  // no box is given the focus
            QCOMPARE(d.lblTermDate()->text(), termDateShown);
            d.reject();
        });
        w.fake.modal.runModal(d);
        QVERIFY(!termDateShown.isEmpty());
        QCOMPARE(
            w.fake.messages.asked,
            QList<RecordedMessage>({{"Quendarith Information Technology", "All text box must have a value.",
                                     MessageIcon::Information, MessageButtons::Ok}}));
        QCOMPARE(w.records(), before);
        QVERIFY(!w.flags.ModifiedFlag);
        QCOMPARE(QPoint(w.reg.col(), w.reg.row()), QPoint(4, 1));
    }

    // Enter commits what a click on Add would: the box being edited is formatted first.
    void enterCommitsLikeTheAddButton_data()
    {
        QTest::addColumn<bool>("byEnter");
        dataRow("Enter", true);
        dataRow("click", false);
    }
    void enterCommitsLikeTheAddButton()
    {
        QFETCH(bool, byEnter);
        World w;
        frmTermDepositDetails d(w.fake.platform(), w.history);
        w.fake.modal.handlers.push_back([&](QDialog&) {
            typeEntry(d, Entry());  // ends typing 10000 into the balance
            QCOMPARE(QApplication::focusWidget(), d.txtAccountBalance());
            if (byEnter)
                QTest::keyClick(d.txtAccountBalance(), Qt::Key_Return);
            else
                QTest::mouseClick(d.cmdAdd(), Qt::LeftButton);
        });
        QCOMPARE(w.fake.modal.runModal(d), int(QDialog::Accepted));
        QCOMPARE(rowTexts(w.reg, 1), kWorkedExampleRow);
    }

    void leavingWithoutAddChangesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("modified");
        dataRow("Escape", "escape", false);
        dataRow("Cancel", "cancel", false);
        dataRow("Cancel keeps a set flag", "cancel", true);
        dataRow("closing the window", "close", false);
        dataRow("Query does nothing, then Escape", "query", true);
    }
    void leavingWithoutAddChangesNothing()
    {
        QFETCH(QString, how);
        QFETCH(bool, modified);
        World w({"A1001"});
        w.flags.ModifiedFlag = modified;
        w.reg.setCurrentCell(1, 3);
        const QList<DepositRecord> before = w.records();
        frmTermDepositDetails d(w.fake.platform(), w.history);
        w.fake.modal.handlers.push_back([&](QDialog&) {
            typeEntry(d, Entry());
            if (how == QLatin1String("escape")) {
                QTest::keyClick(d.txtAccountBalance(), Qt::Key_Escape);
            } else if (how == QLatin1String("cancel")) {
                QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
            } else if (how == QLatin1String("close")) {
                d.close();
            } else {
                QTest::mouseClick(d.cmdQuery(), Qt::LeftButton);
                QVERIFY(d.isVisible());
                QTest::keyClick(d.txtAccountBalance(), Qt::Key_Escape);
            }
        });
        QCOMPARE(w.fake.modal.runModal(d), int(QDialog::Rejected));
        QVERIFY(w.fake.modal.leftOpen.isEmpty());
        QCOMPARE(w.records(), before);
        QCOMPARE(w.flags.ModifiedFlag, modified);
        QCOMPARE(QPoint(w.reg.col(), w.reg.row()), QPoint(3, 1));
        QVERIFY(w.fake.messages.asked.isEmpty());
    }
};

QTEST_MAIN(TestDetailsDialog)
#include "test_details_dialog.moc"
