#include "app/widgets/bar_chart_view.h"

#include <QAccessible>
#include <QTest>

using namespace td;

// The chart plugin is found and loaded when a chart first shows, and draws
// the bars it is given; nothing is loaded before.
class TestBarChartView : public QObject {
    Q_OBJECT

private slots:
    void chartIsMadeOnFirstShowWithItsBars()
    {
        BarChartView view;
        view.setAccessibleName(QStringLiteral("Interest a Year"));
        view.setBars({QStringLiteral("Interest a Year"),
                      QStringLiteral("Interest"),
                      {QStringLiteral("2025"), QStringLiteral("2026")},
                      {120.5, 340.25}});
        QVERIFY(!view.chart());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY2(view.chart(), "the chart plugin was not loaded");
        QCOMPARE(view.chart()->accessibleName(), QStringLiteral("Interest a Year"));
        QCOMPARE(view.chart()->objectName(), QStringLiteral("chartView"));
        QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(view.chart());
        QVERIFY(chart);
        QCOMPARE(chart->text(QAccessible::Name), QStringLiteral("Interest a Year"));
        view.setAccessibleName(QStringLiteral("Maturity Ladder"));
        view.setBars({QStringLiteral("Maturity Ladder"),
                      QStringLiteral("Future value"),
                      {QStringLiteral("Jan 2027"), QStringLiteral("Feb 2027"), QStringLiteral("Mar 2027")},
                      {1000, 0, 2500.5}});
        QCOMPARE(view.chart()->accessibleName(), QStringLiteral("Maturity Ladder"));
    }
};

QTEST_MAIN(TestBarChartView)
#include "test_bar_chart_view.moc"
