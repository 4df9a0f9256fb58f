#pragma once

#include <QDate>
#include <QWidget>

class QTableWidget;

namespace td {

class BarChartView;

namespace maturities {
class Ladder;
}

// The maturity ladder: what the active deposits pay out in each of the
// coming months, as a table of months and amounts and, beside it, the same
// amounts as bars. The table is what a screen reader reads; the chart is
// named and described for it as the picture of that table.
class MaturityLadderView : public QWidget {
    Q_OBJECT

public:
    explicit MaturityLadderView(QWidget* parent = nullptr);

    void showLadder(const maturities::Ladder& ladder);

    QTableWidget* GridLadder() const { return m_table; }
    BarChartView* chtLadder() const { return m_chart; }
    // The amount each bar stands for, first month first.
    QList<double> barValues() const;

private:
    void showMonths(const maturities::Ladder& ladder);

    QTableWidget* m_table = nullptr;
    BarChartView* m_chart = nullptr;
    QStringList m_monthLabels;  // under the bars
    QDate m_firstMonth;         // of the months shown
};

}  // namespace td
