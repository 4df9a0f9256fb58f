#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;

namespace td {

// The figures a bar chart draws: one bar a label.
struct BarChartData {
    QString title;       // above the chart
    QString valueTitle;  // the value axis's title
    QStringList labels;  // the category axis, a bar each
    QList<double> values;
    QString valueFormat = QStringLiteral("%.0f");  // the value axis's labels, printf-like
};

// What the chart plugin makes: Qt Charts lives in a plugin of its own,
// loaded when the first chart is shown, so that a start (which shows no
// chart) does not load Qt Charts and the OpenGL libraries it brings.
class BarChartMaker {
public:
    virtual ~BarChartMaker() = default;
    virtual QWidget* makeChart(QWidget* parent) = 0;
    virtual void setBars(QWidget* chart, const BarChartData& data) = 0;
};

// A bar chart. Where the plugin cannot be loaded it says so in a line of
// text instead; every chart has its figures in a table beside it as well,
// so nothing rests on the picture alone. The chart the plugin draws takes
// this view's accessible name and description.
class BarChartView : public QWidget {
    Q_OBJECT

public:
    explicit BarChartView(QWidget* parent = nullptr);

    void setBars(const BarChartData& data);
    const BarChartData& bars() const { return m_data; }
    // The chart drawn by the plugin, or nullptr before the first show or
    // where the plugin is missing.
    QWidget* chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void makeChart();

    BarChartData m_data;
    BarChartMaker* m_maker = nullptr;
    QWidget* m_chart = nullptr;
    QLabel* m_missing = nullptr;
};

}  // namespace td

#define TD_BAR_CHART_MAKER_IID "org.termdeposit.BarChartMaker/1.0"
Q_DECLARE_INTERFACE(td::BarChartMaker, TD_BAR_CHART_MAKER_IID)
