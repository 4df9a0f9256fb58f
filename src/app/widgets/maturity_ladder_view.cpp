#include "app/widgets/maturity_ladder_view.h"

#include "app/widgets/bar_chart_view.h"
#include "commands/maturity_ladder.h"
#include "core/text_values.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>
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

    m_chart = new BarChartView(this);
    m_chart->setObjectName(QStringLiteral("chtLadder"));
    m_chart->setFocusPolicy(Qt::StrongFocus);
    m_chart->setAccessibleName(tr("Maturity ladder chart"));
    m_chart->setAccessibleDescription(
        tr("Bars of the future values in the maturity ladder table, one a month for %1 months")
            .arg(Ladder::kMonths));

    auto* table = new QVBoxLayout;
    table->addWidget(caption);
    table->addWidget(m_table, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(table, 1);
    layout->addWidget(m_chart, 2);
    setTabOrder(m_table, m_chart);
}

void MaturityLadderView::showMonths(const Ladder& ladder)
{
    m_firstMonth = ladder.month(0);
    const QLocale locale;
    m_monthLabels.clear();
    for (int i = 0; i < Ladder::kMonths; ++i) {
        const QDate month = ladder.month(i);
        m_table->item(i, 0)->setText(locale.toString(month, QStringLiteral("MMMM yyyy")));
        m_monthLabels << locale.toString(month, QStringLiteral("MMM yy"));
    }
}

void MaturityLadderView::showLadder(const Ladder& ladder)
{
    if (ladder.month(0) != m_firstMonth)
        showMonths(ladder);
    BarChartData bars;
    bars.title = tr("Maturity ladder");
    bars.valueTitle = tr("Future value");
    bars.labels = m_monthLabels;
    for (int i = 0; i < Ladder::kMonths; ++i) {
        const double amount = ladder.amount(i);
        m_table->item(i, 1)->setText(FormatMoney(amount));
        bars.values << amount;
    }
    m_chart->setBars(bars);
    m_table->resizeColumnToContents(0);
}

QList<double> MaturityLadderView::barValues() const { return m_chart->bars().values; }

}  // namespace td
