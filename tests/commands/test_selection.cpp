#include "commands/selection.h"
#include "support/data_rows.h"
#include "support/fake_platform.h"

#include <QTest>

using namespace td;
using namespace td::test;

// Delete, Amortise and Print share one selection test and differ in two
// steps: the busy pointer and the header row. Each refuses with its own words.
class TestSelection : public QObject {
    Q_OBJECT

private slots:
    void selection_data()
    {
        QTest::addColumn<int>("deposits");
        QTest::addColumn<QPoint>("cell");  // column, row
        QTest::addColumn<QString>("cellText");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QList<bool>>("selected");  // Delete, Amortise, Print
        using B = QList<bool>;
        dataRow("a deposit's cell", 2, QPoint(3, 1), "5", false, B{true, true, true});
        dataRow("the last deposit", 2, QPoint(0, 2), "A2", false, B{true, true, true});
        dataRow("busy", 2, QPoint(3, 1), "5", true, B{false, false, true});
        dataRow("header row", 2, QPoint(0, 0), "Account Number", false, B{false, true, false});
        dataRow("blank cell", 2, QPoint(8, 1), "", false, B{false, false, false});
        dataRow("only spaces", 2, QPoint(8, 1), "   ", false, B{false, false, false});
        dataRow("spare row", 2, QPoint(0, 3), "", false, B{false, false, false});
        dataRow("empty register, header row", 0, QPoint(9, 0), "Active", false, B{false, false, false});
    }
    void selection()
    {
        QFETCH(int, deposits);
        QFETCH(QPoint, cell);
        QFETCH(QString, cellText);
        QFETCH(bool, busy);
        QFETCH(QList<bool>, selected);
        Register reg;
        for (int n = 1; n <= deposits; ++n) {
            DepositRecord d;
            d.texts = {QStringLiteral("A%1").arg(n),
                       "0",
                       "5",
                       "1",
                       "0",
                       "01/01/2024",
                       "01/01/2025",
                       "$100.00",
                       "$105.12",
                       "Yes"};
            reg.appendDeposit(d);
        }
        reg.setCell(cell.y(), cell.x(), cellText);
        QVERIFY(reg.setCurrentCell(cell.y(), cell.x()));

        const SelectingCommand commands[] = {SelectingCommand::Delete, SelectingCommand::Amortise,
                                             SelectingCommand::Print};
        for (int i = 0; i < 3; ++i) {
            FakeMessageBoxes messages;
            QCOMPARE(requireSelectedDeposit(commands[i], reg, busy, messages), selected[i]);
            QCOMPARE(messages.asked.size(), selected[i] ? 0 : 1);
        }
        QCOMPARE(QPoint(reg.col(), reg.row()), cell);
    }

    void eachCommandRefusesInItsOwnWords_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<MessageIcon>("icon");
        dataRow("Delete", int(SelectingCommand::Delete), "",
                "A Term Deposit must be selected from the grid to Delete.", MessageIcon::Information);
        dataRow("Amortise", int(SelectingCommand::Amortise), "Amortise Term Deposit",
                "A Term Deposit must be selected from the grid to amortise.", MessageIcon::Information);
        dataRow("Print", int(SelectingCommand::Print), "Printing Term Deposit.",
                "A Term Deposit must be selected to print. Select a Term Deposit from the grid.",
                MessageIcon::Question);
    }
    void eachCommandRefusesInItsOwnWords()
    {
        QFETCH(int, command);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(MessageIcon, icon);
        Register reg;
        FakeMessageBoxes messages;
        QVERIFY(!requireSelectedDeposit(SelectingCommand(command), reg, false, messages));
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].title, title);
        QCOMPARE(messages.asked[0].text, text);
        QCOMPARE(messages.asked[0].icon, icon);
        QCOMPARE(messages.asked[0].buttons, MessageButtons::Ok);
    }
};

QTEST_GUILESS_MAIN(TestSelection)
#include "test_selection.moc"
