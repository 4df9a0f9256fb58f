#include "app/windows/frm_maturities.h"

#include "app/widgets/access_keys.h"
#include "app/widgets/accessible_interfaces.h"
#include "app/widgets/artwork.h"
#include "app/widgets/bar_chart_view.h"
#include "app/widgets/maturities_model.h"
#include "app/widgets/maturity_ladder_view.h"
#include "app/widgets/sort_arrow_style.h"
#include "commands/maturities.h"
#include "platform/preferences.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace td {

namespace {
constexpr int kWidth = 980;
constexpr int kHeight = 480;
}  // namespace

frmMaturities::frmMaturities(Register& reg, Platform& platform, std::unique_ptr<MaturitiesModel> model,
                             std::function<void()> editCurrent, std::function<void()> rollOverCurrent,
                             QWidget* parent)
    : SideWindow(parent, Qt::Window), m_register(reg), m_platform(platform),
      m_editCurrent(std::move(editCurrent)), m_rollOverCurrent(std::move(rollOverCurrent)),
      m_model(model.release())
{
    m_model->setParent(this);
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("frmMaturities"));
    setWindowTitle(tr("Quendarith Information Technology Maturities"));
    setWindowIcon(programIcon());
    buildControls();
    makeAccessKeysAct(*this);
    resize(kWidth, kHeight);
    showTotals();
    connect(&PreferencesNotifier::instance(), &PreferencesNotifier::changed, this,
            &frmMaturities::followPreferences);
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, maturities::AccountNumberColumn));
    updateButtons();
    m_grid->setFocus();  // the deposits first, the page tabs a Shift+Tab before them
}

void frmMaturities::buildControls()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabMaturities"));
    auto* deposits = new QWidget(m_tabs);
    deposits->setObjectName(QStringLiteral("pgDeposits"));
    m_ladder = new MaturityLadderView(m_tabs);
    m_ladder->setObjectName(QStringLiteral("pgLadder"));
    m_tabs->addTab(deposits, tr("De&posits"));
    m_tabs->addTab(m_ladder, tr("Maturity &Ladder"));

    auto* gridCaption = new QLabel(tr("Deposits by &term date"), deposits);
    gridCaption->setObjectName(QStringLiteral("lblGridMaturities"));

    m_grid = new QTableView(deposits);
    setFittedTable(m_grid);
    m_grid->setObjectName(QStringLiteral("GridMaturities"));
    m_grid->setAccessibleName(tr("Deposits by term date"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // One line of text a row, as on the register grid.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    // The window sorts, not the view: a sort the user cancels puts the
    // header's arrow back where the rows say.
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    drawSortArrowAsRowsRun(*header);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    gridCaption->setBuddy(m_grid);

    auto* sortCaption = new QLabel(tr("&Sort by"), deposits);
    m_cboSortBy = new QComboBox(deposits);
    m_cboSortBy->setObjectName(QStringLiteral("cboSortBy"));
    listSortColumns();
    sortCaption->setBuddy(m_cboSortBy);
    m_ckDescending = new QCheckBox(tr("&Descending"), deposits);
    m_ckDescending->setObjectName(QStringLiteral("ckDescending"));

    // The totals take the focus so a keyboard reaches them, and a screen
    // reader reads each as one sentence.
    auto makeTotals = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->setWordWrap(true);
        return label;
    };
    m_lblActiveTotals = makeTotals("lblActiveTotals");
    m_lblAllTotals = makeTotals("lblAllTotals");

    m_cmdEdit = new QPushButton(tr("&Edit"), this);
    m_cmdEdit->setObjectName(QStringLiteral("cmdEdit"));
    m_cmdRollOver = new QPushButton(tr("&Roll Over"), this);
    m_cmdRollOver->setObjectName(QStringLiteral("cmdRollOver"));
    m_cmdRollOver->setToolTip(
        tr("Start the next term of a matured deposit from its term date and future value"));
    m_cmdClose = new QPushButton(tr("&Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(sortCaption);
    sortRow->addWidget(m_cboSortBy);
    sortRow->addWidget(m_ckDescending);
    sortRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdEdit);
    buttons->addWidget(m_cmdRollOver);
    buttons->addStretch();
    buttons->addWidget(m_cmdClose);
    auto* page = new QVBoxLayout(deposits);
    page->addWidget(gridCaption);
    page->addWidget(m_grid, 1);
    page->addLayout(sortRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_lblActiveTotals);
    layout->addWidget(m_lblAllTotals);
    layout->addLayout(buttons);

    setTabOrder(m_tabs, m_grid);
    setTabOrder(m_grid, m_cboSortBy);
    setTabOrder(m_cboSortBy, m_ckDescending);
    setTabOrder(m_ckDescending, m_lblActiveTotals);
    setTabOrder(m_ladder->chtLadder(), m_lblActiveTotals);
    setTabOrder(m_lblActiveTotals, m_lblAllTotals);
    setTabOrder(m_lblAllTotals, m_cmdEdit);
    setTabOrder(m_cmdEdit, m_cmdRollOver);
    setTabOrder(m_cmdRollOver, m_cmdClose);

    // Enter or a double click on a row opens it, as on the register grid.
    connect(m_grid, &QAbstractItemView::activated, this, &frmMaturities::openSelected);
    connect(m_cmdEdit, &QPushButton::clicked, this, &frmMaturities::openSelected);
    connect(m_cmdRollOver, &QPushButton::clicked, this, &frmMaturities::rollOverSelected);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMaturities::rememberSelection);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmMaturities::restoreSelection);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &frmMaturities::restoreSelection);
    connect(m_model, &MaturitiesModel::totalsChanged, this, &frmMaturities::showTotals);

    // The header and the two sort controls show one order; either sets it.
    connect(header, &QHeaderView::sortIndicatorChanged, this, &frmMaturities::sortRows);
    connect(m_cboSortBy, &QComboBox::currentIndexChanged, this, &frmMaturities::sortFromControls);
    connect(m_ckDescending, &QCheckBox::toggled, this, &frmMaturities::sortFromControls);
}

// One entry a column shown, in the grid's order.
void frmMaturities::listSortColumns()
{
    const QSignalBlocker blockSort(m_cboSortBy);
    m_cboSortBy->clear();
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_cboSortBy->addItem(m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    m_cboSortBy->setCurrentIndex(m_model->viewColumnOf(m_model->sortColumn()));
}

void frmMaturities::sortFromControls()
{
    m_grid->horizontalHeader()->setSortIndicator(
        m_cboSortBy->currentIndex(), m_ckDescending->isChecked() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// Sorted, or left as they were when the user cancelled; the header and the
// controls then show the order the rows are in.
void frmMaturities::sortRows(int viewColumn, Qt::SortOrder order)
{
    {
        BusyScope busy(m_platform.pointer);
        m_model->sortRows(m_model->columnAt(viewColumn), order);
    }
    showSortOrder();
}

void frmMaturities::showSortOrder()
{
    const int column = m_model->viewColumnOf(m_model->sortColumn());
    const QSignalBlocker blockHeader(m_grid->horizontalHeader());
    const QSignalBlocker blockSort(m_cboSortBy);
    const QSignalBlocker blockOrder(m_ckDescending);
    m_grid->horizontalHeader()->setSortIndicator(column, m_model->sortOrder());
    m_cboSortBy->setCurrentIndex(column);
    m_ckDescending->setChecked(m_model->sortOrder() == Qt::DescendingOrder);
}

void frmMaturities::showTotals()
{
    const maturities::Summary& summary = m_model->summary();
    m_lblActiveTotals->setText(maturities::totalsText(summary.active, true, summary.taxShare));
    m_lblAllTotals->setText(maturities::totalsText(summary.all, false, summary.taxShare));
    m_ladder->showLadder(m_model->ladder());
}

// The tax columns come or go with the tax share, the widths of the others kept.
void frmMaturities::followPreferences(const Preferences& preferences)
{
    const bool wasShown = m_model->taxShare() > 0;
    m_model->setTaxShare(preferences.taxShareHundredthsOfPercent);
    listSortColumns();
    showSortOrder();
    if (!wasShown && m_model->taxShare() > 0 && columnsFitted()) {
        m_grid->resizeColumnToContents(maturities::TaxColumn);
        m_grid->resizeColumnToContents(maturities::NetInterestColumn);
    }
}

// A selection the user made; one that moves with the rows is not recorded.
void frmMaturities::rememberSelection()
{
    if (m_model->changingRows())
        return;
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    m_selected = rows.isEmpty() ? QPersistentModelIndex()
                                : QPersistentModelIndex(m_register.index(
                                      Register::viewRow(m_model->registerRowAt(rows.constFirst().row())), 0));
    updateButtons();
}

// After the rows were counted again: the same deposit selected, or none. An
// empty current index set here also keeps the view from making its first row
// current when it next takes the focus.
void frmMaturities::restoreSelection()
{
    const int row = selectedViewRow();
    if (row >= 0) {
        m_grid->setCurrentIndex(m_model->index(row, maturities::AccountNumberColumn));
    } else {
        m_grid->setCurrentIndex(QModelIndex());
        m_grid->selectionModel()->clearSelection();
    }
    updateButtons();
}

int frmMaturities::selectedViewRow() const
{
    return m_selected.isValid() ? m_model->rowOfRegisterRow(Register::registerRow(m_selected.row())) : -1;
}

// The overview may lag one event behind the register; it catches up first.
bool frmMaturities::makeSelectedCurrent()
{
    m_model->catchUp();
    if (!m_selected.isValid())
        return false;
    const int registerRow = Register::registerRow(m_selected.row());
    if (registerRow <= 0 || registerRow >= m_register.rows() - 1)
        return false;
    return m_register.setCurrentCell(registerRow, AccountNumber);
}

void frmMaturities::openSelected()
{
    if (makeSelectedCurrent())
        m_editCurrent();
}

void frmMaturities::rollOverSelected()
{
    m_model->catchUp();
    const int row = selectedViewRow();
    if (row < 0 || m_model->stateAt(row) != maturities::State::Matured || !m_model->futureValueReadsAt(row))
        return;
    if (makeSelectedCurrent())
        m_rollOverCurrent();
}

void frmMaturities::updateButtons()
{
    const int row = selectedViewRow();
    m_cmdEdit->setEnabled(row >= 0);
    const bool matured =
        row >= 0 && m_model->stateAt(row) == maturities::State::Matured && m_model->futureValueReadsAt(row);
    m_cmdRollOver->setEnabled(matured);
}

void frmMaturities::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        m_model->countedOn() != m_platform.clock.today()) {
        BusyScope busy(m_platform.pointer);
        m_model->recountIfNewDay();
    }
}

}  // namespace td
