#include "app/widgets/maturity_ladder_view.h"

#include "commands/maturity_ladder.h"
#include "core/text_values.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace td {

using maturities::Ladder;

MaturityLadderView::MaturityLadderView(QWidget* parent) : QWidget(parent)
{
    auto* caption = new QLabel(tr("Future values of the active deposits maturing in each &month"), this);
    caption->setObjectName(QStringLiteral("lblLadder"));
    caption->setWordWrap(true);

    m_table = new QTableWidget(Ladder::kMonths, 2, this);
    m_table->setObjectName(QStringLiteral("GridLadder"));
    m_table->setAccessibleName(tr("Maturity ladder"));
    m_table->setHorizontalHeaderLabels({tr("Month"), tr("Amount")});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    for (int row = 0; row < Ladder::kMonths; ++row) {
        m_table->setItem(row, 0, new QTableWidgetItem);
        auto* amount = new QTableWidgetItem;
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_table->setItem(row, 1, amount);
    }
    caption->setBuddy(m_table);

    m_bars = new QBarSet(tr("Future value"));
    for (int i = 0; i < Ladder::kMonths; ++i)
        m_bars->append(0);
    auto* series = new QBarSeries;
    series->append(m_bars);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_months = new QBarCategoryAxis;
    m_months->setLabelsAngle(-90);
    chart->addAxis(m_months, Qt::AlignBottom);
    series->attachAxis(m_months);
    m_amounts = new QValueAxis;
    m_amounts->setLabelFormat(QStringLiteral("%.0f"));
    m_amounts->setMin(0);
    chart->addAxis(m_amounts, Qt::AlignLeft);
    series->attachAxis(m_amounts);

    m_chartView = new QChartView(chart, this);
    m_chartView->setObjectName(QStringLiteral("chtLadder"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setFocusPolicy(Qt::StrongFocus);
    m_chartView->setAccessibleName(tr("Maturity ladder chart"));
    m_chartView->setAccessibleDescription(
        tr("Bars of the future values in the maturity ladder table, one a month for %1 months")
            .arg(Ladder::kMonths));

    auto* table = new QVBoxLayout;
    table->addWidget(caption);
    table->addWidget(m_table, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(table, 1);
    layout->addWidget(m_chartView, 2);
    setTabOrder(m_table, m_chartView);
}

void MaturityLadderView::showMonths(const Ladder& ladder)
{
    m_firstMonth = ladder.month(0);
    const QLocale locale;
    QStringList categories;
    for (int i = 0; i < Ladder::kMonths; ++i) {
        const QDate month = ladder.month(i);
        m_table->item(i, 0)->setText(locale.toString(month, QStringLiteral("MMMM yyyy")));
        categories << locale.toString(month, QStringLiteral("MMM yy"));
    }
    m_months->setCategories(categories);
}

void MaturityLadderView::showLadder(const Ladder& ladder)
{
    if (ladder.month(0) != m_firstMonth)
        showMonths(ladder);
    double lowest = 0;
    double highest = 0;
    for (int i = 0; i < Ladder::kMonths; ++i) {
        const double amount = ladder.amount(i);
        m_table->item(i, 1)->setText(FormatMoney(amount));
        m_bars->replace(i, amount);
        lowest = std::min(lowest, amount);
        highest = std::max(highest, amount);
    }
    m_amounts->setRange(lowest, highest > lowest ? highest : lowest + 1);
    m_amounts->applyNiceNumbers();
    m_table->resizeColumnToContents(0);
}

QList<double> MaturityLadderView::barValues() const
{
    QList<double> values;
    for (int i = 0; i < m_bars->count(); ++i)
        values << m_bars->at(i);
    return values;
}

}  // namespace td
