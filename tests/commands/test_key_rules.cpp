#include "commands/key_rules.h"
#include "support/data_rows.h"

#include <QTest>

using namespace td;
using td::test::dataRow;

// The plain rule, for characters that key events cannot easily reach: the
// dialog's key tests type everything else through the real boxes.
class TestKeyRules : public QObject {
    Q_OBJECT

private slots:
    void controlAndForeignCharacters_data()
    {
        QTest::addColumn<QChar>("typed");
        QTest::addColumn<bool>("accepted");
        dataRow("backspace", QChar(8), true);
        dataRow("carriage return", QChar(13), false);
        dataRow("Arabic digit three", QChar(0x0663), false);
    }
    void controlAndForeignCharacters()
    {
        QFETCH(QChar, typed);
        QFETCH(bool, accepted);
        for (BoxRule rule : {BoxRule::Money, BoxRule::Rate, BoxRule::Years, BoxRule::Months})
            QCOMPARE(acceptsTypedCharacter(rule, {QStringLiteral("5"), 1, 0}, typed), accepted);
    }
};

QTEST_GUILESS_MAIN(TestKeyRules)
#include "test_key_rules.moc"
