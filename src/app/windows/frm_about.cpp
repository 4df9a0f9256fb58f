#include "app/windows/frm_about.h"

#include "app/widgets/accessible_interfaces.h"
#include "app/widgets/artwork.h"
#include "app/widgets/dialog_parts.h"
#include "app/widgets/twips.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace td {

namespace {

constexpr int kClientWidth = 4320;
constexpr int kClientHeight = 5850;

// The etched separator: a grey line with a white one just below it.
class EtchedLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(0, 1, width(), 2, Qt::white);
        painter.fillRect(0, 0, width(), 1, QColor(128, 128, 128));
    }
};

// The texts of the box run over as many lines as their place has.
QLabel* makeParagraph(QWidget* parent, const char* name, const QString& text, QRect place)
{
    QLabel* label = makeLabel(parent, name, text, place, Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QLabel* makePicture(QWidget* parent, const char* name, const QPixmap& pixmap, QRect place)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(pixmap);
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(place);
    return picture;
}

}  // namespace

frmAbout::frmAbout(Platform& platform, QWidget* parent) : QDialog(parent, kFixedDialogFlags)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About"));
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_cmdOK = new QPushButton(tr("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(*m_cmdOK, 2880, 5280, 1260, 345);
    // The default button takes Enter; QDialog itself closes on Esc.
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    // A font with only the size set keeps the family and style of the window's font.
    QFont larger;
    larger.setPointSizeF(9.75);

    QLabel* description = makeParagraph(this, "lblDescription",
                                        tr("Made at Quendarith Information Technology.\n"
                                           "support@quendarith.example\n"
                                           "www.quendarith.example"),
                                        twips(780, 2520, 3195, 1050));
    description->setFont(larger);

    QLabel* title = makeParagraph(this, "lblTitle", tr("Quendarith Information Technology Term Deposit"),
                                  twips(780, 1440, 3225, 600));
    title->setFont(larger);

    QLabel* version = makeParagraph(this, "lblVersion", tr("Version 1.0"), twips(780, 2160, 3225, 225));
    version->setFont(larger);

    QLabel* logo = makePicture(this, "PicLogo", logoBanner(), twips(300, 120, 3675, 1035));
    logo->setAccessibleName(tr("Quendarith Information Technology"));
    QLabel* icon = makePicture(this, "picIcon", programIcon32(), twips(120, 1440, 540, 540));
    icon->setAccessibleName(tr("Program icon"));

    makeParagraph(this, "lblDisclaimer",
                  tr("Warning: this program is protected by copyright law. Unauthorised copying or "
                     "distribution of this program, or of any part of it, will be prosecuted."),
                  twips(180, 3840, 2550, 1785));

    auto* line = new EtchedLine(this);
    line->setObjectName(QStringLiteral("Line1"));
    hideFromAssistiveTechnology(*line);  // a rule between parts, nothing to read
    // Grey at y 3645 twips, the two white pixels just below it; x from 90 to 4080.
    line->setGeometry(twipsToPixels(90), twipsToPixels(3645), twipsToPixels(4080 - 90), 3);

    m_cmdOK->setFocus();
    move(centredOnScreen(platform.screen.sizePixels(), size()));
}

void frmAbout::cmdOK_Click() { accept(); }

}  // namespace td
