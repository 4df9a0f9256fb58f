#include "commands/deposit_fields.h"

#include <QTest>

using namespace td;

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
        QTest::newRow("Yes") << "Yes" << true << "Yes";
        QTest::newRow("No") << "No" << false << "No";
        QTest::newRow("no in small letters") << "no" << true << "Yes";
        QTest::newRow("No with a blank") << "No " << true << "Yes";
        QTest::newRow("empty") << "" << true << "Yes";
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
