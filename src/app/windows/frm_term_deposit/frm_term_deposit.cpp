#include "app/windows/frm_term_deposit/frm_term_deposit.h"

#include "app/widgets/artwork.h"
#include "app/widgets/image_button.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/twips.h"
#include "app/windows/main_window_layout.h"

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
    setAcceptDrops(true);  // a deposit file dropped on the window opens (file_drop.cpp)
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
    watchRecovery();
    m_grid->setFocus();

    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight) + menuBar()->sizeHint().height());
}

QString frmTermDeposit::titlePrefix() { return tr("Quendarith Information Technology Term Deposit - "); }

void frmTermDeposit::setUntitled()
{
    m_fileName.clear();
    setWindowTitle(titlePrefix() + tr("Untitled"));
}

void frmTermDeposit::setTitleFile(const QString& fileName)
{
    m_fileName = fileName;
    // The toolkit reads "[*]" in a title as the place of its modified mark and
    // drops it; doubled, it shows once, so the path stands exactly as it is.
    QString shown = fileName;
    shown.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(titlePrefix() + shown);
}

void frmTermDeposit::buildPictures()
{
    struct Picture {
        const char* name;
        PictureButton kind;
        const char* caption;
        void (frmTermDeposit::*command)();
    };
    // Each button is its Up picture over its Down picture: PicNewUp over PicNewDown, PicEditUp over
    // PicEditDown, PicDeleteUp over PicDeleteDown, PicSearchUp over PicSearchDown, PicAmortiseUp over
    // PicAmortiseDown.
    const Picture pictures[] = {
        {"PicNew", PictureButton::New, QT_TR_NOOP("New"), &frmTermDeposit::NewTermDeposit},
        {"PicEdit", PictureButton::Edit, QT_TR_NOOP("Edit"), &frmTermDeposit::EditTermDeposit},
        {"PicDelete", PictureButton::Delete, QT_TR_NOOP("Delete"), &frmTermDeposit::DeleteTermDeposit},
        {"PicSearch", PictureButton::Search, QT_TR_NOOP("Search"), &frmTermDeposit::Search},
        {"PicAmortise", PictureButton::Amortise, QT_TR_NOOP("Amortise"), &frmTermDeposit::Amortise},
    };
    int left = 3720;
    for (const Picture& p : pictures) {
        const PictureButton kind = p.kind;
        auto* button = new ImageButton(
            QString::fromLatin1(p.name), pictureButtonImage(kind, false),
            [kind] { return pictureButtonImage(kind, true); }, tr(p.caption), centralWidget());
        button->move(twipsToPixels(left), twipsToPixels(15));
        connect(button, &ImageButton::activated, this, p.command);
        m_pictureButtons.append(button);
        left += 1080;
    }
}

void frmTermDeposit::startUp()
{
    m_platform.messages.ask(tr("Quendarith Information Technology Term Deposit"),
                            tr("For more software visit our web site at www.quendarith.example."),
                            MessageIcon::Information, MessageButtons::Ok);
    m_history.replaced();  // ModifiedFlag false
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
