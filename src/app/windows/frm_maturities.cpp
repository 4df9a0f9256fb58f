#include "app/windows/frm_maturities.h"

#include "app/widgets/access_keys.h"
#include "app/widgets/artwork.h"
#include "app/widgets/maturities_model.h"
#include "commands/maturities.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace td {

namespace {
constexpr int kWidth = 820;
constexpr int kHeight = 440;
}  // namespace

frmMaturities::frmMaturities(Register& reg, Platform& platform, std::function<void()> editCurrent,
                             std::function<void()> rollOverCurrent, QWidget* parent)
    : QWidget(parent, Qt::Window), m_register(reg), m_platform(platform),
      m_editCurrent(std::move(editCurrent)), m_rollOverCurrent(std::move(rollOverCurrent))
{
    setObjectName(QStringLiteral("frmMaturities"));
    setWindowTitle(tr("Quendarith Information Technology Maturities"));
    setWindowIcon(programIcon());
    buildControls();
    makeAccessKeysAct(*this);
    resize(kWidth, kHeight);

    // Every change the register's views are told of: rows added, removed,
    // rewritten or replaced. A commit writes ten cells; one refresh follows.
    const QAbstractItemModel* changes = &reg;
    connect(changes, &QAbstractItemModel::rowsInserted, this, &frmMaturities::refreshSoon);
    connect(changes, &QAbstractItemModel::rowsRemoved, this, &frmMaturities::refreshSoon);
    connect(changes, &QAbstractItemModel::rowsMoved, this, &frmMaturities::refreshSoon);
    connect(changes, &QAbstractItemModel::modelReset, this, &frmMaturities::refreshSoon);
    connect(changes, &QAbstractItemModel::layoutChanged, this, &frmMaturities::refreshSoon);
    connect(changes, &QAbstractItemModel::dataChanged, this, &frmMaturities::refreshSoon);

    refresh();
}

void frmMaturities::buildControls()
{
    auto* gridCaption = new QLabel(tr("Deposits by &term date"), this);
    gridCaption->setObjectName(QStringLiteral("lblGridMaturities"));

    m_model = new MaturitiesModel(m_register, this);
    m_grid = new QTableView(this);
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
    m_grid->horizontalHeader()->setSortIndicator(maturities::TermDateColumn, Qt::AscendingOrder);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setSortingEnabled(true);
    gridCaption->setBuddy(m_grid);

    auto* sortCaption = new QLabel(tr("&Sort by"), this);
    m_cboSortBy = new QComboBox(this);
    m_cboSortBy->setObjectName(QStringLiteral("cboSortBy"));
    for (int c = 0; c < maturities::ColumnCount; ++c)
        m_cboSortBy->addItem(maturities::headerText(c));
    m_cboSortBy->setCurrentIndex(maturities::TermDateColumn);
    sortCaption->setBuddy(m_cboSortBy);
    m_ckDescending = new QCheckBox(tr("&Descending"), this);
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gridCaption);
    layout->addWidget(m_grid, 1);
    layout->addLayout(sortRow);
    layout->addWidget(m_lblActiveTotals);
    layout->addWidget(m_lblAllTotals);
    layout->addLayout(buttons);

    setTabOrder(m_grid, m_cboSortBy);
    setTabOrder(m_cboSortBy, m_ckDescending);
    setTabOrder(m_ckDescending, m_lblActiveTotals);
    setTabOrder(m_lblActiveTotals, m_lblAllTotals);
    setTabOrder(m_lblAllTotals, m_cmdEdit);
    setTabOrder(m_cmdEdit, m_cmdRollOver);
    setTabOrder(m_cmdRollOver, m_cmdClose);

    // Enter or a double click on a row opens it, as on the register grid.
    connect(m_grid, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { openRow(i.row()); });
    connect(m_cmdEdit, &QPushButton::clicked, this, [this] { openRow(currentViewRow()); });
    connect(m_cmdRollOver, &QPushButton::clicked, this, [this] { rollOverRow(currentViewRow()); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmMaturities::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmMaturities::updateButtons);

    // The header and the two sort controls show one order; either sets it.
    connect(m_grid->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                const QSignalBlocker blockSort(m_cboSortBy);
                const QSignalBlocker blockOrder(m_ckDescending);
                m_cboSortBy->setCurrentIndex(column);
                m_ckDescending->setChecked(order == Qt::DescendingOrder);
            });
    connect(m_cboSortBy, &QComboBox::currentIndexChanged, this, &frmMaturities::sortFromControls);
    connect(m_ckDescending, &QCheckBox::toggled, this, &frmMaturities::sortFromControls);
}

void frmMaturities::sortFromControls()
{
    m_grid->sortByColumn(m_cboSortBy->currentIndex(),
                         m_ckDescending->isChecked() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void frmMaturities::refreshSoon()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &frmMaturities::refresh, Qt::QueuedConnection);
}

void frmMaturities::refresh()
{
    m_refreshPending = false;
    // The deposit that was current stays current, if it is still there.
    const int row = currentViewRow();
    const int registerRow = row >= 0 ? m_model->rowAt(row).registerRow : -1;
    const QString account = row >= 0 ? m_model->rowAt(row).account : QString();

    std::vector<maturities::Row> rows =
        maturities::build(m_register, m_platform.clock.today(), m_platform.dateForm);
    const maturities::Summary summary = maturities::summarise(rows);
    m_model->setRows(std::move(rows));
    m_lblActiveTotals->setText(maturities::totalsText(summary.active, true));
    m_lblAllTotals->setText(maturities::totalsText(summary.all, false));

    int again = m_model->rowOfRegisterRow(registerRow);
    if (again >= 0 && m_model->rowAt(again).account != account)
        again = -1;
    if (again < 0 && m_model->rowCount() > 0)
        again = 0;
    if (again >= 0)
        m_grid->setCurrentIndex(m_model->index(again, maturities::AccountNumberColumn));
    m_grid->resizeColumnsToContents();
    updateButtons();
}

int frmMaturities::currentViewRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

// The overview may lag one event behind the register; a row that no longer
// stands where it stood is not acted on.
bool frmMaturities::selectRegisterRow(int viewRow)
{
    if (m_refreshPending)
        refresh();
    if (viewRow < 0 || viewRow >= m_model->rowCount())
        return false;
    const maturities::Row& row = m_model->rowAt(viewRow);
    if (row.registerRow <= 0 || row.registerRow >= m_register.rows() - 1)
        return false;
    return m_register.setCurrentCell(row.registerRow, AccountNumber);
}

void frmMaturities::openRow(int viewRow)
{
    if (selectRegisterRow(viewRow))
        m_editCurrent();
}

void frmMaturities::rollOverRow(int viewRow)
{
    if (m_refreshPending)
        refresh();
    if (viewRow < 0 || viewRow >= m_model->rowCount())
        return;
    const maturities::Row& row = m_model->rowAt(viewRow);
    if (row.state != maturities::State::Matured || !row.futureValue)
        return;
    if (selectRegisterRow(viewRow))
        m_rollOverCurrent();
}

void frmMaturities::updateButtons()
{
    const int row = currentViewRow();
    m_cmdEdit->setEnabled(row >= 0);
    const bool matured = row >= 0 && m_model->rowAt(row).state == maturities::State::Matured &&
                         m_model->rowAt(row).futureValue.has_value();
    m_cmdRollOver->setEnabled(matured);
}

void frmMaturities::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_platform.clock.today() != m_today)
        refresh();
}

void frmMaturities::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace td
