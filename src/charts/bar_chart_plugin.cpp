// The bar charts, drawn by Qt Charts: a plugin of the program's own, loaded
// by BarChartView when the first chart is shown.
#include "app/widgets/bar_chart_view.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QValueAxis>
#include <algorithm>

namespace td {

class BarChartPlugin : public QObject, public BarChartMaker {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TD_BAR_CHART_MAKER_IID)
    Q_INTERFACES(td::BarChartMaker)

public:
    QWidget* makeChart(QWidget* parent) override
    {
        auto* view = new QChartView(parent);
        view->setObjectName(QStringLiteral("chartView"));
        view->setRenderHint(QPainter::Antialiasing);
        view->setFocusPolicy(Qt::NoFocus);  // the table beside it is what the keyboard reaches
        return view;
    }

    void setBars(QWidget* chart, const BarChartData& data) override
    {
        auto* view = static_cast<QChartView*>(chart);
        auto* set = new QBarSet(data.valueTitle);
        double low = 0;
        double high = 0;
        for (double value : data.values) {
            *set << value;
            low = std::min(low, value);
            high = std::max(high, value);
        }
        auto* series = new QBarSeries;
        series->append(set);
        auto* bars = new QChart;
        bars->addSeries(series);
        bars->setTitle(data.title);
        bars->legend()->hide();
        bars->setAnimationOptions(QChart::NoAnimation);
        auto* categories = new QBarCategoryAxis;
        categories->append(data.labels);
        // Many bars: their names stand upright, whole, under them.
        categories->setLabelsAngle(data.labels.size() > 12 ? -90 : 0);
        categories->setTruncateLabels(false);
        bars->addAxis(categories, Qt::AlignBottom);
        series->attachAxis(categories);
        auto* values = new QValueAxis;
        values->setTitleText(data.valueTitle);
        values->setLabelFormat(data.valueFormat);
        values->setRange(low, high > low ? high : low + 1);
        values->applyNiceNumbers();
        bars->addAxis(values, Qt::AlignLeft);
        series->attachAxis(values);
        QChart* old = view->chart();
        view->setChart(bars);
        delete old;
    }
};

}  // namespace td

#include "bar_chart_plugin.moc"
