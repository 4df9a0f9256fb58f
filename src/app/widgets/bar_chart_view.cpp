#include "app/widgets/bar_chart_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPluginLoader>
#include <QVBoxLayout>

namespace td {

namespace {

// Where the chart plugin is: in the build that made this program, or where
// the program's package installed it.
BarChartMaker* loadMaker()
{
    static BarChartMaker* maker = [] {
        const QStringList places{
            QStringLiteral(TD_CHARTS_PLUGIN_BUILT),
            QDir(QCoreApplication::applicationDirPath())
                .filePath(QStringLiteral(TD_CHARTS_PLUGIN_BESIDE_PROGRAM)),
        };
        for (const QString& place : places) {
            QPluginLoader loader(place);
            if (QObject* plugin = loader.instance())
                if (auto* found = qobject_cast<BarChartMaker*>(plugin))
                    return found;
        }
        return static_cast<BarChartMaker*>(nullptr);
    }();
    return maker;
}

}  // namespace

BarChartView::BarChartView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setMinimumHeight(160);
}

void BarChartView::setBars(const BarChartData& data)
{
    m_data = data;
    if (m_chart) {
        m_chart->setAccessibleName(accessibleName());
        m_chart->setAccessibleDescription(accessibleDescription());
        m_maker->setBars(m_chart, m_data);
    }
}

void BarChartView::showEvent(QShowEvent* event)
{
    if (!m_chart && !m_missing)
        makeChart();
    QWidget::showEvent(event);
}

void BarChartView::makeChart()
{
    m_maker = loadMaker();
    if (!m_maker) {
        m_missing = new QLabel(tr("The chart cannot be drawn here; the table has the same figures."), this);
        m_missing->setWordWrap(true);
        layout()->addWidget(m_missing);
        return;
    }
    m_chart = m_maker->makeChart(this);
    m_chart->setAccessibleName(accessibleName());
    m_chart->setAccessibleDescription(accessibleDescription());
    layout()->addWidget(m_chart);
    m_maker->setBars(m_chart, m_data);
}

}  // namespace td
