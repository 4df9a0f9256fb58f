#include "app/windows/frm_interest_by_year.h"

#include "app/widgets/access_keys.h"
#include "app/widgets/accessible_interfaces.h"
#include "app/widgets/artwork.h"
#include "app/widgets/bar_chart_view.h"
#include "app/widgets/interest_by_year_model.h"
#include "commands/export_questions.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace td {

namespace {
constexpr int kWidth = 760;
constexpr int kHeight = 620;
}  // namespace

frmInterestByYear::frmInterestByYear(Platform& platform, std::unique_ptr<InterestByYearModel> model,
                                     QWidget* parent)
    : SideWindow(parent, Qt::Window), m_platform(platform), m_model(model.release())
{
    m_model->setParent(this);
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("frmInterestByYear"));
    setWindowTitle(tr("Quendarith Information Technology Interest by Year"));
    setWindowIcon(programIcon());
    buildControls();
    makeAccessKeysAct(*this);
    resize(kWidth, kHeight);
    buildChart();
    showCount();
    m_columnsShown = m_model->columnCount();
}

void frmInterestByYear::buildControls()
{
    m_chart = new BarChartView(this);
    m_chart->setObjectName(QStringLiteral("chartInterest"));
    m_chart->setAccessibleName(tr("Interest earned a year, as a bar chart"));
    m_chart->setAccessibleDescription(tr("The table under the chart holds the same figures."));
    m_chart->setMinimumHeight(220);

    auto* gridCaption = new QLabel(tr("&Years"), this);
    gridCaption->setObjectName(QStringLiteral("lblGridInterestByYear"));
    m_grid = new QTableView(this);
    setFittedTable(m_grid);
    m_grid->setObjectName(QStringLiteral("GridInterestByYear"));
    m_grid->setAccessibleName(tr("Interest by year"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    gridCaption->setBuddy(m_grid);

    // The sentence takes the focus, so a keyboard reaches it and a screen reader reads it whole.
    m_lblCount = new QLabel(this);
    m_lblCount->setObjectName(QStringLiteral("lblCount"));
    m_lblCount->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_lblCount->setFocusPolicy(Qt::StrongFocus);
    m_lblCount->setWordWrap(true);

    m_ckIncludeInactive = new QCheckBox(tr("&Include inactive deposits"), this);
    m_ckIncludeInactive->setObjectName(QStringLiteral("ckIncludeInactive"));
    m_cmdExport = new QPushButton(tr("&Export..."), this);
    m_cmdExport->setObjectName(QStringLiteral("cmdExport"));
    m_cmdExport->setToolTip(tr("Write the rows to a CSV file"));
    m_cmdClose = new QPushButton(tr("&Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));

    // The table's context menu (mouse, or the keyboard's menu key) offers both forms.
    m_actExport = new QAction(tr("&Export to CSV..."), m_grid);
    m_actExport->setObjectName(QStringLiteral("actExport"));
    m_actExportNumbers = new QAction(tr("Export to CSV with Plain N&umbers..."), m_grid);
    m_actExportNumbers->setObjectName(QStringLiteral("actExportNumbers"));
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addAction(m_actExport);
    m_grid->addAction(m_actExportNumbers);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdExport);
    buttons->addStretch();
    buttons->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 3);
    layout->addWidget(gridCaption);
    layout->addWidget(m_grid, 2);
    layout->addWidget(m_lblCount);
    layout->addWidget(m_ckIncludeInactive);
    layout->addLayout(buttons);

    setTabOrder(m_grid, m_lblCount);
    setTabOrder(m_lblCount, m_ckIncludeInactive);
    setTabOrder(m_ckIncludeInactive, m_cmdExport);
    setTabOrder(m_cmdExport, m_cmdClose);

    connect(m_ckIncludeInactive, &QCheckBox::toggled, m_model, &InterestByYearModel::setIncludeInactive);
    connect(m_cmdExport, &QPushButton::clicked, this, [this] { exportRows(csv::Form::AsShown); });
    connect(m_actExport, &QAction::triggered, this, [this] { exportRows(csv::Form::AsShown); });
    connect(m_actExportNumbers, &QAction::triggered, this, [this] { exportRows(csv::Form::PlainNumbers); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_model, &InterestByYearModel::countChanged, this, [this] {
        buildChart();
        showCount();
        // The tax columns come or go: the columns fit their texts again.
        if (columnsFitted() && m_model->columnCount() != m_columnsShown)
            m_grid->resizeColumnsToContents();
        m_columnsShown = m_model->columnCount();
    });
}

// The chart draws the table's interest column, year for year.
void frmInterestByYear::buildChart()
{
    const interest_by_year::YearTable& table = m_model->table();
    BarChartData bars;
    bars.title = tr("Interest earned a year");
    bars.valueTitle = tr("Interest earned");
    bars.valueFormat = QStringLiteral("$%.0f");
    for (const interest_by_year::YearFigures& figures : table.years) {
        bars.labels << interest_by_year::yearName(figures.year, m_model->countedStartMonth());
        bars.values << double(figures.interest) / 100;
    }
    m_chart->setBars(bars);
}

void frmInterestByYear::showCount()
{
    QString text = interest_by_year::countText(m_model->table(), m_model->includeInactive());
    if (m_model->outOfDate())
        text += tr(" Counting was cancelled: these figures are from before the last change.");
    m_lblCount->setText(text);
}

void frmInterestByYear::exportRows(csv::Form form)
{
    const bool plain = form == csv::Form::PlainNumbers;
    const std::optional<QString> name =
        askCsvFileName(m_platform, plain ? tr("Interest by Year-plain.csv") : tr("Interest by Year.csv"),
                       plain ? tr("Export to CSV with Plain Numbers") : tr("Export to CSV"));
    if (!name)
        return;
    QList<QStringList> rows = m_model->shownRows();
    for (qsizetype r = 1; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            rows[r][c] = csv::exportText(rows[r][c], interest_by_year::columnKind(m_model->columnAt(c)), form,
                                         m_platform.dateForm);
    }
    csv::FileExporter exporter;
    bool written = false;
    {
        BusyScope busy(m_platform.pointer);
        written = exporter.writeTable(*name, rows);
    }
    if (!written)
        reportExportFailure(m_platform.messages, *name, exporter);
}

}  // namespace td
