#include "commands/deposit_fields.h"
#include "support/data_rows.h"

#include <QTest>

using namespace td;
using td::test::dataRow;

class TestDepositFields : public QObject {
    Q_OBJECT

private slots:
    // Edit writes the controls in the table's order: each display must come
    // after every box that recomputes it, which column order gives.
    void oneRowPerColumnInColumnOrder()
    {
        for (int c = 0; c < ColumnCount; ++c)
            QCOMPARE(int(kDepositFields[c].column), c);
        QVERIFY(kDepositFields[TermDate].kind == FieldKind::Display);
        QVERIFY(kDepositFields[FutureValue].kind == FieldKind::Display);
    }

    void activeTextAndOption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("optYes");
        QTest::addColumn<QString>("written");  // what Add writes back
        dataRow("Yes", "Yes", true, "Yes");
        dataRow("No", "No", false, "No");
        dataRow("no in small letters", "no", true, "Yes");
        dataRow("No with a blank", "No ", true, "Yes");
        dataRow("empty", "", true, "Yes");
    }
    void activeTextAndOption()
    {
        QFETCH(QString, stored);
        QFETCH(bool, optYes);
        QFETCH(QString, written);
        QCOMPARE(selectsOptYes(stored), optYes);
        QCOMPARE(activeText(selectsOptYes(stored)), written);
    }
};

QTEST_GUILESS_MAIN(TestDepositFields)
#include "test_deposit_fields.moc"
