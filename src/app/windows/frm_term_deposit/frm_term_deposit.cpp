#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/widgets/artwork.h"
#include "app/widgets/image_button.h"
#include "app/windows/main_window_layout.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/twips.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>

namespace td {

namespace {
constexpr int kClientWidth = 9120;
constexpr int kClientHeight = 5655;
constexpr int kGridLeft = 180;
constexpr int kGridTop = 1200;
}  // namespace

frmTermDeposit::frmTermDeposit(Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("frmTermDeposit"));
    setWindowIcon(programIcon());
    setUntitled();

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    m_logo = new QLabel(client);
    m_logo->setObjectName(QStringLiteral("PicLogo"));
    m_logo->setPixmap(logoBanner());
    m_logo->setAccessibleName(tr("Quendarith Information Technology"));
    placeTwips(*m_logo, 0, 0, 3675, 1035);

    m_grid = new RegisterGrid(m_register, client);
    placeTwips(*m_grid, kGridLeft, kGridTop, 8595, 4275);
    connect(m_grid, &RegisterGrid::gridDoubleClicked, this, &frmTermDeposit::EditTermDeposit);

    buildPictures();
    buildMenus();
    setTabOrder(m_grid, m_grid);
    m_grid->setFocus();

    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight) + menuBar()->sizeHint().height());
}

frmTermDeposit::~frmTermDeposit()
{
    // The grid reads the register until it is gone, and members die before
    // the QWidget base closes the children: remove the grid first.
    delete m_grid;
}

QString frmTermDeposit::titlePrefix()
{
    return tr("Quendarith Information Technology Term Deposit - ");
}

void frmTermDeposit::setUntitled()
{
    m_fileName.clear();
    setWindowTitle(titlePrefix() + tr("Untitled"));
}

void frmTermDeposit::setTitleFile(const QString& fileName)
{
    m_fileName = fileName;
    setWindowTitle(titlePrefix() + fileName);
}

void frmTermDeposit::buildPictures()
{
    struct Picture {
        const char* name;
        PictureButton kind;
        const char* caption;
        void (frmTermDeposit::*command)();
    };
    const Picture pictures[] = {
        {"PicNew", PictureButton::New, QT_TR_NOOP("New"), &frmTermDeposit::NewTermDeposit},
        {"PicEdit", PictureButton::Edit, QT_TR_NOOP("Edit"), &frmTermDeposit::EditTermDeposit},
        {"PicDelete", PictureButton::Delete, QT_TR_NOOP("Delete"), &frmTermDeposit::DeleteTermDeposit},
        {"PicSearch", PictureButton::Search, QT_TR_NOOP("Search"), &frmTermDeposit::Search},
        {"PicAmortise", PictureButton::Amortise, QT_TR_NOOP("Amortise"), &frmTermDeposit::Amortise},
    };
    int left = 3720;
    for (const Picture& p : pictures) {
        auto* button = new ImageButton(QString::fromLatin1(p.name), pictureButtonImage(p.kind, false),
                                       pictureButtonImage(p.kind, true), tr(p.caption), centralWidget());
        button->move(twipsToPixels(left), twipsToPixels(15));
        connect(button, &ImageButton::activated, this, p.command);
        m_pictureButtons.append(button);
        left += 1080;
    }
}

void frmTermDeposit::buildMenus()
{
    struct Item {
        const char* caption;  // nullptr: a separator
        QKeySequence shortcut;
    };
    auto addMenu = [this](const char* name, const QString& caption, std::initializer_list<Item> items,
                          QList<QAction*>& actions, const char* itemName, void (frmTermDeposit::*click)(int)) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        int index = 0;
        for (const Item& item : items) {
            QAction* action = item.caption ? menu->addAction(tr(item.caption)) : menu->addSeparator();
            action->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(itemName)).arg(index));
            action->setShortcut(item.shortcut);
            connect(action, &QAction::triggered, this, [this, click, index] { (this->*click)(index); });
            actions.append(action);
            ++index;
        }
    };
    addMenu("mnuFile", tr("&File"),
            {{QT_TR_NOOP("&New"), {}},
             {QT_TR_NOOP("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O)},
             {nullptr, {}},
             {QT_TR_NOOP("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S)},
             {QT_TR_NOOP("Save &As"), QKeySequence(Qt::CTRL | Qt::Key_A)},
             {nullptr, {}},
             {QT_TR_NOOP("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P)},
             {nullptr, {}},
             {QT_TR_NOOP("E&xit"), {}}},
            m_fileItems, "mnuFileItem", &frmTermDeposit::mnuFileItem_Click);
    addMenu("mnuGrid", tr("&Term Deposit"),
            {{QT_TR_NOOP("&New"), QKeySequence(Qt::CTRL | Qt::Key_N)},
             {QT_TR_NOOP("&Edit"), QKeySequence(Qt::CTRL | Qt::Key_E)},
             {QT_TR_NOOP("&Delete"), QKeySequence(Qt::CTRL | Qt::Key_D)},
             {QT_TR_NOOP("&Search"), QKeySequence(Qt::CTRL | Qt::Key_C)},
             {QT_TR_NOOP("&Amortise"), QKeySequence(Qt::CTRL | Qt::Key_M)}},
            m_gridItems, "mnuGridItem", &frmTermDeposit::mnuGridItem_Click);
    addMenu("mnuHelp", tr("&Help"), {{QT_TR_NOOP("&About"), {}}}, m_helpItems, "mnuHelpItem",
            &frmTermDeposit::mnuHelpItem_Click);
}

void frmTermDeposit::startUp()
{
    m_platform.messages.ask(tr("Quendarith Information Technology Term Deposit"),
                            tr("For more software visit our web site at www.quendarith.example."),
                            MessageIcon::Information, MessageButtons::Ok);
    m_flags.ModifiedFlag = false;
    m_flags.PrintAllFlag = false;
    m_flags.PrintActiveFlag = false;
    m_platform.pointer.setPointer(Pointer::Default);
    for (int c = 0; c < ColumnCount; ++c)
        m_register.setColWidth(c, kColumns[c].widthTwips);
    m_register.setRow(0);
    for (int c = 0; c < ColumnCount; ++c) {
        m_register.setCol(c);
        m_register.setText(headerText(c));
    }
}

void frmTermDeposit::mnuFileItem_Click(int index)
{
    switch (index) {
    case 0:
        fileNew();
        break;
    case 1:
        fileOpen();
        break;
    case 3:
        fileSave();
        break;
    case 4:
        fileSaveAs();
        break;
    case 6:
        filePrint();
        break;
    case 8:
        fileExit();
        break;
    default:
        break;
    }
}

void frmTermDeposit::mnuGridItem_Click(int index)
{
    switch (index) {
    case 0:
        NewTermDeposit();
        break;
    case 1:
        EditTermDeposit();
        break;
    case 2:
        DeleteTermDeposit();
        break;
    case 3:
        Search();
        break;
    case 4:
        Amortise();
        break;
    default:
        break;
    }
}

void frmTermDeposit::mnuHelpItem_Click(int index)
{
    if (index == 0)
        About();
}

QSize frmTermDeposit::outerSizeTwips() const
{
    const QSize outer = frameGeometry().size();
    return QSize(outer.width() * kTwipsPerPixel, outer.height() * kTwipsPerPixel);
}

void frmTermDeposit::layOutGrid()
{
    if (isMinimized())
        return;
    const QSize gridTwips(m_grid->width() * kTwipsPerPixel, m_grid->height() * kTwipsPerPixel);
    const QSize size = gridSizeAfterResize(outerSizeTwips(), gridTwips);
    m_grid->resize(twipsToPixels(size.width()), twipsToPixels(size.height()));
}

void frmTermDeposit::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layOutGrid();
}

void frmTermDeposit::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        layOutGrid();
}

}  // namespace td
