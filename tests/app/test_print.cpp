#include "app/widgets/look.h"
#include "app/widgets/register_grid.h"
#include "app/windows/frm_print.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/data_rows.h"
#include "support/main_window_world.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

DepositRecord deposit(const QString& account, const QString& active)
{
    DepositRecord d;
    d.texts = {account,      "$50.00",     "5.25",      "2",         "6",
               "15/03/2024", "15/09/2026", "$1,000.00", "$2,765.43", active};
    return d;
}

// The nine label lines of a deposit made by deposit(), written out by hand.
QStringList expectedLines(const QString& account)
{
    return {QString(),
            "          Account Number    " + account,
            "          Saving Each Month    $50.00",
            "          Interest    5.25",
            "          Years    2",
            "          Months    6",
            "          Start Date     15/03/2024",
            "          Term Date     15/09/2026",
            "          Account Balance     $1,000.00",
            "          Future Value    $2,765.43"};
}

// Account numbers on each printed page, read from the first label line of each block.
QList<QStringList> accountsByPage(const FakePrinter& printer)
{
    QList<QStringList> result;
    for (const QStringList& page : printer.pages()) {
        QStringList accounts;
        for (const QString& line : page)
            if (line.startsWith("          Account Number    "))
                accounts << line.mid(28);
        result << accounts;
    }
    return result;
}

int count(const FakePrinter& printer, PrintEvent::Kind kind)
{
    return int(std::count_if(printer.events.cbegin(), printer.events.cend(),
                             [kind](const PrintEvent& e) { return e.kind == kind; }));
}

// Ways of leaving the options dialog, as a user would: clicks and keys.
void leave(frmPrint& dialog, const QString& steps)
{
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step.startsWith("opt"))
            QTest::mouseClick(dialog.optPrint(step.mid(3).toInt()), Qt::LeftButton);
        else if (step == "print")
            QTest::mouseClick(dialog.printButton(), Qt::LeftButton);
        else if (step == "cancel")
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        else if (step == "close")
            dialog.close();  // the close box
        else if (step == "preview")
            QTest::mouseClick(dialog.previewButton(), Qt::LeftButton);
        else if (step == "esc")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (step == "alt+a") {
            QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
            QTRY_VERIFY(dialog.optPrint(1)->isChecked());  // an access key clicks a moment later
        } else if (step == "alt+n") {
            QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
            QTRY_VERIFY(dialog.optPrint(3)->isChecked());
        } else if (step == "tab-to-cancel")
            dialog.cancelButton()->setFocus(Qt::TabFocusReason);
        else if (step == "enter")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT

    using B = QList<bool>;

    static QStringList tabWalk(int steps)
    {
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            names << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return names;
    }

    // A started main window holding deposits D1, D2, ... with the given Active texts.
    struct World : MainWindowWorld {
        explicit World(const QStringList& actives = {}) : MainWindowWorld(deposits(actives)) {}
        static QList<DepositRecord> deposits(const QStringList& actives)
        {
            QList<DepositRecord> list;
            for (int i = 0; i < actives.size(); ++i)
                list << deposit(QStringLiteral("D%1").arg(i + 1), actives[i]);
            return list;
        }
        // The current cell as the main grid shows it, as (column, row).
        QPoint gridCell()
        {
            const QModelIndex index = w.gridView()->currentIndex();
            return QPoint(index.column(), Register::registerRow(index.row()));
        }
        // File > Print, the options dialog left by the given steps (none: it is not expected to open).
        void print(const QString& steps = QString())
        {
            if (!steps.isEmpty())
                fake.modal.handlers.push_back(
                    [steps](QDialog& d) { leave(static_cast<frmPrint&>(d), steps); });
            w.actions().filePrint->trigger();
        }
    };

private slots:
    void initTestCase() { applyApplicationLook(*qApp); }

    void optionsDialogStartsAfreshEveryTime()
    {
        // Flags left by an earlier Print command do not show in the dialog.
        ModLease flags{false, true, true, false};
        frmPrint dialog(flags, QSize(1280, 1024));
        QCOMPARE(dialog.objectName(), QStringLiteral("frmPrint"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quendarith Term Deposit - Print"));
        QVERIFY(!flags.PrintCancelledFlag);
        QCOMPARE(dialog.size(), QSize(257, 169));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.pos(), QPoint((1280 - 257) / 2, (1024 - 169) / 2));
        const Qt::WindowFlags f = dialog.windowFlags();
        QVERIFY(f & Qt::WindowCloseButtonHint);
        QVERIFY(!(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        struct Control {
            const char* name;
            const char* caption;
            QRect pixels;  // twips / 15, within the container
            bool enabled;
            bool checked;
        };
        const Control controls[] = {
            {"cmdPrint", "&Print ...", QRect(152, 8, 89, 33), true, false},
            {"cmdCancel", "&Cancel", QRect(152, 56, 89, 33), true, false},
            {"Frame1", "Print &Grid", QRect(16, 8, 121, 73), true, false},
            {"OptPrint_1", "Print &All", QRect(8, 48, 105, 17), true, false},
            {"OptPrint_0", "Print &Selection", QRect(8, 24, 105, 17), true, true},
            {"Frame2", "P&rint Active", QRect(16, 88, 121, 73), false, false},
            {"OptPrint_2", "Print A&ctive", QRect(8, 24, 105, 17), false, true},
            {"OptPrint_3", "Print &Not Active", QRect(8, 48, 105, 17), false, false},
        };
        QList<QWidget*> order;
        for (const Control& c : controls) {
            auto* widget = dialog.findChild<QWidget*>(c.name);
            QVERIFY2(widget, c.name);
            order << widget;
            QCOMPARE(widget->geometry(), c.pixels);
            QCOMPARE(widget->isEnabled(), c.enabled);
            if (auto* box = qobject_cast<QGroupBox*>(widget))
                QCOMPARE(box->title(), QString::fromLatin1(c.caption));
            else
                QCOMPARE(static_cast<QAbstractButton*>(widget)->text(), QString::fromLatin1(c.caption));
            if (auto* option = qobject_cast<QRadioButton*>(widget)) {
                QCOMPARE(option->isChecked(), c.checked);
                // The caption fits its control in the program's font.
                QVERIFY2(option->sizeHint().width() <= option->width(), c.name);
            }
        }
        QCOMPARE(dialog.optPrint(1)->parentWidget(), dialog.frame1());
        QCOMPARE(dialog.optPrint(3)->parentWidget(), dialog.frame2());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), order[0]);
        QStringList chain;  // the controls that take the focus, in tab order
        for (QWidget* w = order[0]; chain.size() < 6; w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                chain << w->objectName();
        QCOMPARE(chain, QStringList({"cmdPrint", "cmdCancel", "OptPrint_1", "OptPrint_0", "OptPrint_2",
                                     "OptPrint_3"}));
        // Tab enters each option group once; the disabled frame is passed over.
        QCOMPARE(tabWalk(5), QStringList({"cmdPrint", "cmdCancel", "OptPrint_1", "cmdPrint", "cmdCancel"}));
        QTest::mouseClick(dialog.optPrint(1), Qt::LeftButton);
        QCOMPARE(tabWalk(4), QStringList({"OptPrint_1", "OptPrint_2", "cmdPrint", "cmdCancel"}));
    }

    void flagsAfterLeavingTheOptionsDialog_data()
    {
        // Flags before (all, active), what the user does, then the flags
        // after (cancelled, all, active), whether the dialog was accepted and
        // whether Frame2 was enabled when it closed.
        QTest::addColumn<bool>("allBefore");
        QTest::addColumn<bool>("activeBefore");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<bool>>("after");
        QTest::addColumn<bool>("frame2Enabled");
        dataRow("print at once", true, false, "print", B{false, false, true, true}, false);
        dataRow("all, not active", false, true, "opt1 opt3 print", B{false, true, false, true}, true);
        dataRow("access keys", false, true, "alt+a alt+n print", B{false, true, false, true}, true);
        dataRow("back to selection, still reads Frame2", true, true, "opt1 opt3 opt0 print",
                B{false, false, false, true}, false);
        dataRow("all, then enter", false, false, "opt1 enter", B{false, true, true, true}, true);
        dataRow("enter on cancel", true, false, "opt1 tab-to-cancel enter", B{true, true, false, false},
                true);
        dataRow("cancel keeps flags", true, false, "opt0 opt3 cancel", B{true, true, false, false}, false);
        dataRow("esc is cancel", false, true, "opt1 opt3 esc", B{true, false, true, false}, true);
        dataRow("close box changes nothing", true, true, "opt1 opt3 close", B{false, true, true, false},
                true);
    }
    void flagsAfterLeavingTheOptionsDialog()
    {
        QFETCH(bool, allBefore);
        QFETCH(bool, activeBefore);
        QFETCH(QString, steps);
        QFETCH(QList<bool>, after);
        QFETCH(bool, frame2Enabled);
        ModLease flags{false, true, allBefore, activeBefore};
        frmPrint dialog(flags, QSize(1280, 1024));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        leave(dialog, steps);
        QVERIFY(!dialog.isVisible());
        QCOMPARE((B{flags.PrintCancelledFlag, flags.PrintAllFlag, flags.PrintActiveFlag,
                    dialog.result() == QDialog::Accepted}),
                 after);
        QVERIFY(!flags.ModifiedFlag);
        for (QWidget* w : {static_cast<QWidget*>(dialog.frame2()), static_cast<QWidget*>(dialog.optPrint(2)),
                           static_cast<QWidget*>(dialog.optPrint(3))})
            QCOMPARE(w->isEnabled(), frame2Enabled);
    }

    void blockLinesWithLabelsSpacesAndAnEmptyCell()
    {
        World world({"No"});
        world.reg().setCell(1, TermDate, QString());
        QVERIFY(world.reg().setCurrentCell(1, 0));
        world.print("print");
        QStringList expected = expectedLines("D1");
        expected[7] = "          Term Date     ";
        QCOMPARE(world.fake.printer.lines(), expected);
        QList<double> sizes;
        for (const PrintEvent& e : world.fake.printer.events)
            if (e.kind == PrintEvent::FontSize)
                sizes << e.fontSize;
        QCOMPARE(sizes, QList<double>({10.0, 12.0}));
    }

    // One block, whatever the deposit's Active cell and the Active choice;
    // the row stays and the column moves to Future Value.
    void printSelectedDepositPrintsOneBlock_data()
    {
        QTest::addColumn<QPoint>("start");  // (column, row)
        QTest::addColumn<QString>("steps");
        dataRow("middle row, inactive", QPoint(3, 2), "print");
        dataRow("first row, from the key column", QPoint(0, 1), "print");
        dataRow("last row, from Active, not-active choice kept", QPoint(9, 3), "opt1 opt3 opt0 print");
    }
    void printSelectedDepositPrintsOneBlock()
    {
        QFETCH(QPoint, start);
        QFETCH(QString, steps);
        World world({"Yes", "No", "Yes"});
        world.w.flags().PrintActiveFlag = true;
        QVERIFY(world.reg().setCurrentCell(start.y(), start.x()));
        QSignalSpy moves(&world.reg(), &Register::currentCellChanged);
        world.print(steps);

        const FakePrinter& printer = world.fake.printer;
        QCOMPARE(world.fake.modal.shown, QStringList{"frmPrint"});
        QCOMPARE(printer.events.first().kind, PrintEvent::Choose);
        QCOMPARE(printer.events.last().kind, PrintEvent::End);
        QCOMPARE(count(printer, PrintEvent::Begin), 1);
        QCOMPARE(printer.pages(), QList<QStringList>{expectedLines(QStringLiteral("D%1").arg(start.y()))});
        for (const PrintEvent& e : printer.events)
            if (e.kind == PrintEvent::Line)
                QCOMPARE(e.fontSize, e.text.isEmpty() ? 10.0 : 12.0);
        QCOMPARE(world.cell(), QPoint(8, start.y()));
        QCOMPARE(world.gridCell(), world.cell());
        QCOMPARE(moves.size(), start.x() == 8 ? 0 : 1);  // the view moves once, if at all
        QCOMPARE(world.fake.pointer.history, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
        QVERIFY(world.fake.messages.asked.isEmpty());
    }

    void printAllRuns_data()
    {
        QTest::addColumn<QStringList>("actives");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<QStringList>>("pages");
        QTest::addColumn<int>("col");
        using Actives = QStringList;
        using Pages = QList<QStringList>;
        dataRow("close box: the last choice, all not active", Actives{"Yes", "No", "No"}, "opt0 close",
                Pages{{"D2", "D3"}}, 8);
        dataRow("five, three active", Actives{"Yes", "No", "Yes", "No", "Yes"}, "opt1 print",
                Pages{{"D1", "D3"}, {"D5"}}, 8);
        dataRow("four matching, no empty third page", Actives{"No", "No", "No", "No"}, "opt1 opt3 print",
                Pages{{"D1", "D2"}, {"D3", "D4"}}, 8);
        dataRow("last deposit not printed", Actives{"Yes", "yes", "Yes", "No"}, "opt1 print",
                Pages{{"D1", "D3"}}, 9);
        dataRow("none matching", Actives{"No", "No"}, "opt1 print", Pages{}, 9);
        dataRow("only the first, inactive", Actives{"No", "Yes", "Yes"}, "opt1 opt3 print", Pages{{"D1"}}, 9);
        dataRow("only the last", Actives{"No", "No", "Yes"}, "opt1 print", Pages{{"D3"}}, 8);
        dataRow("first and last, inactive", Actives{"No", "Yes", "Yes", "No"}, "opt1 opt3 print",
                Pages{{"D1", "D4"}}, 8);
        dataRow("one deposit", Actives{"Yes"}, "opt1 print", Pages{{"D1"}}, 8);
    }
    void printAllRuns()
    {
        QFETCH(QStringList, actives);
        QFETCH(QString, steps);
        QFETCH(QList<QStringList>, pages);
        QFETCH(int, col);
        World world(actives);
        world.w.flags().PrintAllFlag = true;  // as an earlier Print command left them
        world.w.flags().PrintActiveFlag = false;
        QVERIFY(world.reg().setCurrentCell(1, 0));
        QSignalSpy moves(&world.reg(), &Register::currentCellChanged);
        world.print(steps);

        const FakePrinter& printer = world.fake.printer;
        QCOMPARE(accountsByPage(printer), pages);
        QCOMPARE(moves.size(), 1);  // not row by row
        // Whole blocks only, and a job only when something was printed.
        for (const QStringList& page : printer.pages())
            QCOMPARE(page.size() % 10, 0);
        QCOMPARE(count(printer, PrintEvent::Begin), pages.isEmpty() ? 0 : 1);
        QCOMPARE(count(printer, PrintEvent::End), pages.isEmpty() ? 0 : 1);
        QCOMPARE(count(printer, PrintEvent::Choose), 1);
        QCOMPARE(world.cell(), QPoint(col, actives.size()));  // the last deposit row, never the spare row
        QCOMPARE(world.gridCell(), world.cell());
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
        QVERIFY(world.fake.messages.asked.isEmpty());
    }

    // The preview shows the listing the options choose, two blocks a page as
    // printed, and changes nothing: no flag, no current cell, no printer.
    // Each case then cancels the options.
    void previewShowsTheChosenListing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<QStringList>>("pages");
        QTest::addColumn<QString>("message");
        using Pages = QList<QStringList>;
        dataRow("the selected deposit", "preview cancel", Pages{{"D2"}}, "");
        dataRow("all active", "opt1 preview cancel", Pages{{"D1", "D3"}, {"D5"}}, "");
        dataRow("all inactive", "opt1 opt3 preview cancel", Pages{{"D2", "D4"}}, "");
        dataRow("nothing matches", "opt1 opt3 opt2 preview cancel", Pages{},
                "No Term Deposit matches the print options: there is nothing to preview.");
    }
    void previewShowsTheChosenListing()
    {
        QFETCH(QString, steps);
        QFETCH(QList<QStringList>, pages);
        QFETCH(QString, message);
        World world(message.isEmpty() ? QStringList{"Yes", "No", "Yes", "No", "Yes"}
                                      : QStringList{"No", "No"});
        QVERIFY(world.reg().setCurrentCell(2, 3));
        world.print(steps);

        const FakePrinter& printer = world.fake.printer;
        QCOMPARE(accountsByPage(printer), pages);
        QCOMPARE(count(printer, PrintEvent::Preview), pages.isEmpty() ? 0 : 1);
        QCOMPARE(count(printer, PrintEvent::End), 0);
        QCOMPARE(count(printer, PrintEvent::Choose), 0);
        QCOMPARE(world.cell(), QPoint(3, 2));
        QVERIFY(!world.w.flags().PrintAllFlag);
        QCOMPARE(world.fake.messages.asked.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(world.fake.messages.asked[0].text, message);
    }

    // A listing longer than the preview shows: its first pages, a mark for
    // the pages between, then its last page, which the preview only counts.
    void previewOfALongListing_data()
    {
        QTest::addColumn<int>("deposits");
        QTest::addColumn<int>("shownBlocks");
        QTest::addColumn<int>("leftOut");  // -1: no mark
        QTest::addColumn<QStringList>("lastPage");
        dataRow("one page more than shown", 102, 102, -1, QStringList{});
        dataRow("two more, the last with one block", 103, 100, 1, QStringList{"D103"});
        dataRow("many more, the last full", 250, 100, 74, QStringList{"D249", "D250"});
    }
    void previewOfALongListing()
    {
        QFETCH(int, deposits);
        QFETCH(int, shownBlocks);
        QFETCH(int, leftOut);
        QFETCH(QStringList, lastPage);
        World world(QStringList(deposits, QStringLiteral("Yes")));
        QVERIFY(world.reg().setCurrentCell(1, 0));
        world.print("opt1 preview cancel");

        QList<QStringList> pages;
        for (int block = 1; block <= shownBlocks; ++block) {
            if (block % 2 == 1)
                pages.append(QStringList());
            pages.last() << QStringLiteral("D%1").arg(block);
        }
        if (!lastPage.isEmpty())
            pages << lastPage;
        QCOMPARE(accountsByPage(world.fake.printer), pages);
        QList<qint64> marks;
        for (const PrintEvent& e : world.fake.printer.events)
            if (e.kind == PrintEvent::LeaveOut)
                marks << e.count;
        QCOMPARE(marks, leftOut < 0 ? QList<qint64>{} : QList<qint64>{leftOut});
        QCOMPARE(count(world.fake.printer, PrintEvent::Preview), 1);
        QCOMPARE(world.cell(), QPoint(0, 1));
    }

    // Print in the preview is Print in the options: the flags are set and
    // the listing printed, after the printer dialog.
    void printFromThePreview()
    {
        World world({"Yes", "No", "Yes"});
        QVERIFY(world.reg().setCurrentCell(1, 0));
        world.fake.printer.previewAnswer = PreviewEnd::Print;
        world.print("opt1 preview");

        QVERIFY(world.w.flags().PrintAllFlag);
        QVERIFY(world.w.flags().PrintActiveFlag);
        QVERIFY(world.fake.modal.leftOpen.isEmpty());
        QList<PrintEvent::Kind> kinds;
        for (const PrintEvent& e : world.fake.printer.events)
            if (e.kind != PrintEvent::Line && e.kind != PrintEvent::FontSize)
                kinds << e.kind;
        QCOMPARE(kinds, (QList<PrintEvent::Kind>{PrintEvent::Begin, PrintEvent::Preview, PrintEvent::Choose,
                                                 PrintEvent::Begin, PrintEvent::End}));
        QCOMPARE(accountsByPage(world.fake.printer), (QList<QStringList>{{"D1", "D3"}, {"D1", "D3"}}));
    }

    // Cancel in the progress of a print, while the rows are looked through
    // or the pages go out, or of a preview: nothing is sent or shown, nothing
    // is told, and the current cell stays where it was.
    void cancelLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("deposits");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<int>("aborts");
        dataRow("print all, looking through the rows", "opt1 print", 1100, 1, 1);
        dataRow("print all, sending the pages", "opt1 print", 1100, 2, 1);
        dataRow("print selection, sending the page", "print", 3, 1, 1);
        dataRow("preview, counting the pages", "opt1 preview cancel", 1100, 1, 0);
    }
    void cancelLeavesEverythingAsItWas()
    {
        QFETCH(QString, steps);
        QFETCH(int, deposits);
        QFETCH(int, cancelAt);
        QFETCH(int, aborts);
        World world(QStringList(deposits, QStringLiteral("Yes")));
        QVERIFY(world.reg().setCurrentCell(2, 3));
        const QList<DepositRecord> before = world.records();
        world.fake.progress.cancelAt = cancelAt;
        world.print(steps);

        QCOMPARE(world.fake.progress.ended, 1);
        QCOMPARE(world.fake.progress.reports, cancelAt);
        QCOMPARE(count(world.fake.printer, PrintEvent::End), 0);
        QCOMPARE(count(world.fake.printer, PrintEvent::Preview), 0);
        QCOMPARE(count(world.fake.printer, PrintEvent::Abort), aborts);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.cell(), QPoint(3, 2));
        QCOMPARE(world.gridCell(), world.cell());
        QCOMPARE(world.records(), before);
        QVERIFY(!world.w.flags().ModifiedFlag);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    void selectionMessage_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        dataRow("start-up: header row", -1, -1);
        dataRow("spare row", 3, 2);
        dataRow("empty cell of a deposit", 1, int(FutureValue));
        dataRow("blank cell of a deposit", 2, int(FutureValue));
    }
    void selectionMessage()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        World world({"Yes", "Yes"});
        world.reg().setCell(1, FutureValue, QString());
        world.reg().setCell(2, FutureValue, "   ");
        if (row >= 0)
            QVERIFY(world.reg().setCurrentCell(row, col));
        // At start-up the header cell holds text: the row alone refuses it.
        QCOMPARE(world.reg().text().trimmed().isEmpty(), row >= 0);
        world.print();

        QCOMPARE(
            world.fake.messages.asked,
            QList<RecordedMessage>({{"Printing Term Deposit.",
                                     "A Term Deposit must be selected to print. Select a Term Deposit from "
                                     "the grid.",
                                     MessageIcon::Question, MessageButtons::Ok}}));
        QVERIFY(world.fake.modal.shown.isEmpty());
        QVERIFY(world.fake.printer.events.isEmpty());
    }

    void cancelledDialogsPrintNothing_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("printerAnswer");
        QTest::addColumn<int>("chooses");
        dataRow("options cancelled", "opt1 cancel", true, 0);
        dataRow("printer dialog cancelled", "print", false, 1);
        dataRow("close box, then printer cancelled", "close", false, 1);
    }
    void cancelledDialogsPrintNothing()
    {
        QFETCH(QString, steps);
        QFETCH(bool, printerAnswer);
        QFETCH(int, chooses);
        World world({"Yes"});
        QVERIFY(world.reg().setCurrentCell(1, 0));
        world.fake.printer.chooseAnswer = printerAnswer;
        world.print(steps);
        QCOMPARE(count(world.fake.printer, PrintEvent::Choose), chooses);
        QCOMPARE(world.fake.printer.events.size(), chooses);
        QVERIFY(world.fake.pointer.history.isEmpty());
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.reg().col(), 0);
    }

    void printerFailureIsReportedAndDropsThePages_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("beginAnswer");
        QTest::addColumn<int>("failAtLine");
        QTest::addColumn<bool>("endAnswer");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("aborts");
        QTest::addColumn<QPoint>("cell");  // (column, row) where the printing stopped
        dataRow("job cannot start", "print", false, -1, true, "The printer is offline.", 0, QPoint(0, 1));
        dataRow("print-all fails on page two", "opt1 print", true, 25, true, "The printer ran out of paper.",
                1, QPoint(4, 3));
        dataRow("selection fails part-way", "print", true, 4, true, "The printer ran out of paper.", 1,
                QPoint(3, 1));
        dataRow("job fails as it ends", "opt1 print", true, -1, false, "The printer went offline.", 0,
                QPoint(8, 4));
    }
    void printerFailureIsReportedAndDropsThePages()
    {
        QFETCH(QString, steps);
        QFETCH(bool, beginAnswer);
        QFETCH(int, failAtLine);
        QFETCH(bool, endAnswer);
        QFETCH(QString, reason);
        QFETCH(int, aborts);
        QFETCH(QPoint, cell);
        World world({"Yes", "Yes", "Yes", "Yes"});
        QVERIFY(world.reg().setCurrentCell(1, 0));
        world.fake.printer.beginAnswer = beginAnswer;
        world.fake.printer.failAtLine = failAtLine;
        world.fake.printer.endAnswer = endAnswer;
        Pointer pointerAtMessage = Pointer::Hourglass;
        world.fake.messages.onAsk = [&](const RecordedMessage&) {
            pointerAtMessage = world.fake.pointer.current;
        };
        world.print(steps);

        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked.first();
        // The text tells the printer's reason among its words.
        QCOMPARE(m, (RecordedMessage{"Printing Term Deposit.", m.text, MessageIcon::Information,
                                     MessageButtons::Ok}));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QCOMPARE(pointerAtMessage, Pointer::Default);
        QCOMPARE(count(world.fake.printer, PrintEvent::Abort), aborts);
        // A job that failed before its end is never ended as if it had worked.
        QCOMPARE(count(world.fake.printer, PrintEvent::End), endAnswer ? 0 : 1);
        // Nothing more is printed after the failure.
        if (failAtLine >= 0)
            QCOMPARE(count(world.fake.printer, PrintEvent::Line), failAtLine);
        QCOMPARE(world.cell(), cell);
        QCOMPARE(world.gridCell(), cell);
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
