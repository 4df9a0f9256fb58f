#include "app/widgets/artwork.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace td {

namespace {

constexpr QSize logoSize{241, 65};
constexpr QSize buttonSize{66, 65};
constexpr int iconSide = 32;

// Pixel sizes, not point sizes: the images must not depend on the screen.
QFont artFont(int pixelSize, QFont::Weight weight, bool antialias = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif, antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Another family may stand in for DejaVu Sans; shrink it until the text fits.
QFont fittedFont(const QString& text, int pixelSize, QFont::Weight weight, int maxWidth)
{
    QFont font = artFont(pixelSize, weight);
    while (pixelSize > 6 && QFontMetrics(font).horizontalAdvance(text) > maxWidth)
        font.setPixelSize(--pixelSize);
    return font;
}

// Each picture keeps the texts it shows (saved as a PNG text chunk), so a
// picture drawn at build time is used only while the texts are still those.
const QString kTextsKey = QStringLiteral("texts");

QImage blankImage(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A 1-pixel pen strokes the inside of an integer rectangle sharply.
QRectF inside(const QRect& r) { return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5); }

QString logoName() { return QStringLiteral("Quendarith"); }

QString logoWords() { return QCoreApplication::translate("td::Artwork", "Information Technology"); }

QImage logoImage()
{
    QImage image = blankImage(logoSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(logoSize));

    QLinearGradient base(area.topLeft(), area.bottomRight());
    base.setColorAt(0.0, QColor(0x17, 0x2a, 0x4a));
    base.setColorAt(0.55, QColor(0x1d, 0x24, 0x33));
    base.setColorAt(1.0, QColor(0x26, 0x29, 0x2e));
    p.fillRect(area, base);

    // Brushed texture from a fixed seed, so every run draws the same banner.
    QRandomGenerator rng(0x7e4d1u);
    for (int i = 0; i < 900; ++i) {
        const qreal x = rng.bounded(-20, logoSize.width() + 10);
        const qreal y = rng.bounded(0, logoSize.height() + 10);
        const qreal len = 3 + rng.bounded(10);
        const bool light = rng.bounded(3) != 0;
        const int alpha = 6 + rng.bounded(18);
        p.setPen(QPen(light ? QColor(255, 255, 255, alpha) : QColor(0, 0, 0, alpha + 20), 1.0));
        p.drawLine(QPointF(x, y), QPointF(x + len, y - len));
    }

    // Darken the edges a little so the text in the middle stands out.
    QRadialGradient vignette(area.center(), area.width() * 0.62);
    vignette.setColorAt(0.0, QColor(0, 0, 0, 0));
    vignette.setColorAt(0.7, QColor(0, 0, 0, 30));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 110));
    p.fillRect(area, vignette);

    const QString name = logoName();
    const QString words = logoWords();
    const int textWidth = logoSize.width() - 24;
    const QFont nameFont = fittedFont(name, 30, QFont::Bold, textWidth);
    const QFont wordsFont = fittedFont(words, 13, QFont::Normal, textWidth);

    const QRect nameRect(0, 4, logoSize.width(), 36);
    const QRect wordsRect(0, 43, logoSize.width(), 18);

    p.setFont(nameFont);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(nameRect.translated(1, 1), Qt::AlignCenter, name);
    p.setPen(Qt::white);
    p.drawText(nameRect, Qt::AlignCenter, name);

    // A thin rule between the two lines, as wide as the maker's name.
    const int ruleWidth = QFontMetrics(nameFont).horizontalAdvance(name);
    const qreal ruleLeft = (logoSize.width() - ruleWidth) / 2.0;
    QLinearGradient rule(ruleLeft, 0, ruleLeft + ruleWidth, 0);
    rule.setColorAt(0.0, QColor(0x6f, 0xa8, 0xdc, 0));
    rule.setColorAt(0.5, QColor(0x6f, 0xa8, 0xdc, 230));
    rule.setColorAt(1.0, QColor(0x6f, 0xa8, 0xdc, 0));
    p.fillRect(QRectF(ruleLeft, 41, ruleWidth, 1), rule);

    p.setFont(wordsFont);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(wordsRect.translated(1, 1), Qt::AlignCenter, words);
    p.setPen(Qt::white);
    p.drawText(wordsRect, Qt::AlignCenter, words);
    p.end();
    image.setText(kTextsKey, name + QLatin1Char('\n') + words);
    return image;
}

const QColor outline(0x30, 0x30, 0x30);

void drawFolderBack(QPainter& p, const QRect& body)
{
    const qreal x = body.left() + 0.5, y = body.top() + 0.5;
    const qreal r = body.right() + 0.5, b = body.bottom() + 0.5;
    QPainterPath path;
    path.moveTo(x, b);
    path.lineTo(x, y - 3);
    path.lineTo(x + 9, y - 3);
    path.lineTo(x + 11, y);
    path.lineTo(r, y);
    path.lineTo(r, b);
    path.closeSubpath();
    QLinearGradient fill(0, y - 3, 0, b);
    fill.setColorAt(0.0, QColor(0xf0, 0xc8, 0x50));
    fill.setColorAt(1.0, QColor(0xc8, 0x92, 0x20));
    p.setPen(QPen(QColor(0x7a, 0x56, 0x08), 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void drawFolderFront(QPainter& p, const QRect& body, int lip)
{
    const QRect front(body.left(), body.top() + lip, body.width(), body.height() - lip);
    QLinearGradient fill(0, front.top(), 0, front.bottom());
    fill.setColorAt(0.0, QColor(0xff, 0xe9, 0x8c));
    fill.setColorAt(1.0, QColor(0xf0, 0xbc, 0x38));
    p.setPen(QPen(QColor(0x7a, 0x56, 0x08), 1));
    p.setBrush(fill);
    p.drawRect(inside(front));
    p.setPen(QColor(255, 255, 255, 170));
    p.drawLine(QPointF(front.left() + 1.5, front.top() + 1.5),
               QPointF(front.right() - 1.5, front.top() + 1.5));
}

void drawPage(QPainter& p, const QRect& page, int fold, int firstLine)
{
    const qreal x = page.left() + 0.5, y = page.top() + 0.5;
    const qreal r = page.right() + 0.5, b = page.bottom() + 0.5;
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(r - fold, y);
    path.lineTo(r, y + fold);
    path.lineTo(r, b);
    path.lineTo(x, b);
    path.closeSubpath();
    p.setPen(QPen(outline, 1));
    p.setBrush(Qt::white);
    p.drawPath(path);

    QPainterPath corner;
    corner.moveTo(r - fold, y);
    corner.lineTo(r - fold, y + fold);
    corner.lineTo(r, y + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xd4, 0xd4, 0xd4));
    p.drawPath(corner);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6a, 0x8c, 0xc4));
    for (int line = page.top() + firstLine; line < page.bottom() - 2; line += 3) {
        const int right = line < page.top() + fold + 1 ? page.right() - fold - 2 : page.right() - 3;
        p.drawRect(page.left() + 3, line, right - page.left() - 3 - (line % 2) * 2, 1);
    }
}

void drawWindow(QPainter& p, const QRect& frame)
{
    p.setPen(QPen(QColor(0x20, 0x28, 0x40), 1));
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRect(inside(frame));
    const QRect title(frame.left() + 1, frame.top() + 1, frame.width() - 2, 4);
    QLinearGradient bar(title.left(), 0, title.right(), 0);
    bar.setColorAt(0.0, QColor(0x0a, 0x24, 0x6a));
    bar.setColorAt(1.0, QColor(0x4a, 0x7e, 0xc8));
    p.fillRect(title, bar);
    p.fillRect(QRect(title.right() - 2, title.top() + 1, 2, 2), Qt::white);
    p.fillRect(QRect(title.right() - 5, title.top() + 1, 2, 2), Qt::white);
    const QRect client(frame.left() + 2, title.bottom() + 2, frame.width() - 4,
                       frame.bottom() - title.bottom() - 3);
    p.fillRect(client, Qt::white);
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.drawLine(QPointF(client.left() + 0.5, client.top() + 0.5),
               QPointF(client.right() + 0.5, client.top() + 0.5));
}

void drawNewIcon(QPainter& p)
{
    const QRect body(2, 15, 22, 14);
    drawFolderBack(p, body);
    drawFolderFront(p, body, 3);
    drawWindow(p, QRect(12, 3, 18, 16));
}

void drawEditIcon(QPainter& p)
{
    const QRect body(2, 13, 28, 16);
    drawFolderBack(p, body);
    drawPage(p, QRect(8, 3, 16, 20), 4, 4);
    drawFolderFront(p, body, 6);
}

void drawDeleteIcon(QPainter& p)
{
    const QPointF a(8, 8), b(24, 24), c(24, 8), d(8, 24);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x6e, 0x00, 0x00), 8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.drawLine(c, d);
    QLinearGradient red(0, 6, 0, 26);
    red.setColorAt(0.0, QColor(0xff, 0x5a, 0x4a));
    red.setColorAt(1.0, QColor(0xc8, 0x0c, 0x0c));
    p.setPen(QPen(QBrush(red), 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.drawLine(c, d);
}

void drawSearchIcon(QPainter& p)
{
    drawPage(p, QRect(3, 2, 19, 25), 5, 4);
    const QPointF centre(19, 17);
    const qreal radius = 6.5;
    p.setPen(QPen(QColor(0x4a, 0x2c, 0x10), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 22), QPointF(29, 27));
    QRadialGradient glass(centre - QPointF(2, 2), radius * 1.4);
    glass.setColorAt(0.0, QColor(0xf0, 0xfa, 0xff, 220));
    glass.setColorAt(1.0, QColor(0x8c, 0xc4, 0xe8, 200));
    p.setPen(QPen(QColor(0x28, 0x28, 0x30), 2.2));
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - 4, centre.y() - 4, 8, 8), 100 * 16, 70 * 16);
}

void drawAmortiseIcon(QPainter& p)
{
    const QRect body(2, 8, 28, 21);
    drawFolderBack(p, body);
    drawFolderFront(p, body, 3);
    QFont font = artFont(15, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(0x14, 0x32, 0x82));
    p.drawText(QRect(body.left(), body.top() + 3, body.width(), body.height() - 3), Qt::AlignCenter,
               QStringLiteral("A"));
}

QString caption(PictureButton which)
{
    switch (which) {
    case PictureButton::New:
        return QCoreApplication::translate("td::PictureButton", "New");
    case PictureButton::Edit:
        return QCoreApplication::translate("td::PictureButton", "Edit");
    case PictureButton::Delete:
        return QCoreApplication::translate("td::PictureButton", "Delete");
    case PictureButton::Search:
        return QCoreApplication::translate("td::PictureButton", "Search");
    case PictureButton::Amortise:
        return QCoreApplication::translate("td::PictureButton", "Amortise");
    }
    return {};
}

void drawIcon(QPainter& p, PictureButton which)
{
    switch (which) {
    case PictureButton::New:
        drawNewIcon(p);
        break;
    case PictureButton::Edit:
        drawEditIcon(p);
        break;
    case PictureButton::Delete:
        drawDeleteIcon(p);
        break;
    case PictureButton::Search:
        drawSearchIcon(p);
        break;
    case PictureButton::Amortise:
        drawAmortiseIcon(p);
        break;
    }
}

// Classic two-line bevel: the raised face is lit from the top left, the pressed
// face is the same frame turned inside out.
void drawButtonFace(QPainter& p, bool pressed)
{
    const int w = buttonSize.width(), h = buttonSize.height();
    const QColor face(0xc0, 0xc0, 0xc0), highlight(Qt::white), light(0xdf, 0xdf, 0xdf),
        shadow(0x80, 0x80, 0x80), dark(Qt::black);
    p.fillRect(0, 0, w, h, face);
    const QColor outerLit = pressed ? shadow : highlight;
    const QColor innerLit = pressed ? dark : light;
    const QColor outerShade = pressed ? highlight : dark;
    const QColor innerShade = pressed ? light : shadow;
    p.fillRect(0, h - 1, w, 1, outerShade);
    p.fillRect(w - 1, 0, 1, h, outerShade);
    p.fillRect(0, 0, w - 1, 1, outerLit);
    p.fillRect(0, 0, 1, h - 1, outerLit);
    p.fillRect(1, h - 2, w - 2, 1, innerShade);
    p.fillRect(w - 2, 1, 1, h - 2, innerShade);
    p.fillRect(1, 1, w - 3, 1, innerLit);
    p.fillRect(1, 1, 1, h - 3, innerLit);
}

// The program icon keeps to the 16 standard VGA colours, as small icons did.
namespace vga {
const QColor black(0x00, 0x00, 0x00), olive(0x80, 0x80, 0x00), green(0x00, 0x80, 0x00),
    silver(0xc0, 0xc0, 0xc0), gray(0x80, 0x80, 0x80), yellow(0xff, 0xff, 0x00), white(0xff, 0xff, 0xff);
}

// Coins seen from the side: olive edges parted by dark rims, the top coin's
// face in yellow.
void drawCoinStack(QPainter& p, const QRectF& topFace, int coins, qreal thickness, qreal pen)
{
    const qreal w = topFace.width(), h = topFace.height();
    p.setPen(QPen(vga::black, pen));
    for (int i = coins; i >= 1; --i) {
        const QRectF face = topFace.translated(0, i * thickness);
        p.setBrush(vga::olive);
        p.drawEllipse(face);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(face.left(), face.top() - thickness + h / 2, w, thickness));
        p.setPen(QPen(vga::black, pen));
        p.drawLine(QPointF(face.left(), face.top() - thickness + h / 2),
                   QPointF(face.left(), face.top() + h / 2));
        p.drawLine(QPointF(face.right(), face.top() - thickness + h / 2),
                   QPointF(face.right(), face.top() + h / 2));
    }
    p.setBrush(vga::yellow);
    p.drawEllipse(topFace);
}

// Scaled glyphs and shapes may still blend a few edge pixels; put each back on
// the palette (and make it fully opaque or fully clear).
void snapToVga(QImage& image)
{
    static const std::array<QRgb, 16> palette = {
        0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080, 0xffc0c0c0,
        0xff808080, 0xffff0000, 0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = qUnpremultiply(line[x]);
            if (qAlpha(c) < 128) {
                line[x] = 0;
                continue;
            }
            const auto distance = [c](QRgb v) {
                const int r = qRed(c) - qRed(v), g = qGreen(c) - qGreen(v), b = qBlue(c) - qBlue(v);
                return r * r + g * g + b * b;
            };
            line[x] = *std::min_element(palette.begin(), palette.end(),
                                        [&](QRgb a, QRgb b) { return distance(a) < distance(b); });
        }
    }
}

void drawProgramIcon(QPainter& p, int size)
{
    const bool smooth = size > iconSide;
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.setRenderHint(QPainter::TextAntialiasing, smooth);
    p.scale(size / qreal(iconSide), size / qreal(iconSide));
    // One device pixel when small; a little bolder than that when large.
    const qreal pen = qMax(iconSide / qreal(size), smooth ? 0.6 : 1.0);

    QPainterPath slip;
    slip.moveTo(3, 1);
    slip.lineTo(17, 1);
    slip.lineTo(22, 6);
    slip.lineTo(22, 27);
    slip.lineTo(3, 27);
    slip.closeSubpath();
    p.setPen(QPen(vga::black, pen));
    p.setBrush(vga::white);
    p.drawPath(slip);
    QPainterPath fold;
    fold.moveTo(17, 1);
    fold.lineTo(17, 6);
    fold.lineTo(22, 6);
    fold.closeSubpath();
    p.setBrush(vga::silver);
    p.drawPath(fold);
    p.setPen(Qt::NoPen);
    p.setBrush(vga::gray);
    for (int y = 16; y <= 24; y += 3)
        p.drawRect(QRectF(5, y, y == 22 ? 6 : 10, 1));

    p.setFont(artFont(13, QFont::Bold, smooth));
    p.setPen(vga::green);
    p.drawText(QRectF(4, 2, 13, 13), Qt::AlignCenter, QStringLiteral("$"));

    // At the smallest size thin coins would merge into their dark rims.
    if (size < 24)
        drawCoinStack(p, QRectF(14, 16, 16, 7), 2, 4, pen);
    else
        drawCoinStack(p, QRectF(14, 15, 16, 6), 4, 2.5, pen);
}

}  // namespace

namespace {

QString builtName(PictureButton which, bool pressed)
{
    static constexpr const char* names[] = {"new", "edit", "delete", "search", "amortise"};
    return QStringLiteral("%1-%2.png")
        .arg(QLatin1String(names[int(which)]), pressed ? QLatin1String("down") : QLatin1String("up"));
}

const QString kLogoName = QStringLiteral("logo.png");

// The picture the build drew into the program's resources (BuiltPicture),
// when it shows the texts it would be drawn with now; else drawn afresh.
// Loading it takes a fraction of the drawing, which loads four fonts.
template <typename Draw>
QPixmap builtOrDrawn(const QString& name, const QString& texts, Draw draw)
{
    QImage built(QStringLiteral(":/artwork/") + name);
    if (!built.isNull() && built.text(kTextsKey) == texts)
        return QPixmap::fromImage(std::move(built));
    return QPixmap::fromImage(draw());
}

}  // namespace

QPixmap logoBanner()
{
    return builtOrDrawn(kLogoName, logoName() + QLatin1Char('\n') + logoWords(), logoImage);
}

QImage drawLogoBanner() { return logoImage(); }

QPixmap pictureButtonImage(PictureButton which, bool pressed)
{
    return builtOrDrawn(builtName(which, pressed), caption(which),
                        [&] { return drawPictureButton(which, pressed); });
}

QImage drawPictureButton(PictureButton which, bool pressed)
{
    QImage image = blankImage(buttonSize);
    QPainter p(&image);
    drawButtonFace(p, pressed);

    const int shift = pressed ? 1 : 0;
    p.setRenderHint(QPainter::Antialiasing);
    p.save();
    p.translate((buttonSize.width() - iconSide) / 2 + shift, 6 + shift);
    drawIcon(p, which);
    p.restore();

    const QString text = caption(which);
    p.setFont(fittedFont(text, 11, QFont::Normal, buttonSize.width() - 6));
    p.setPen(Qt::black);
    p.drawText(QRect(2 + shift, 42 + shift, buttonSize.width() - 4, 17), Qt::AlignHCenter | Qt::AlignVCenter,
               text);
    p.end();
    image.setText(kTextsKey, text);
    return image;
}

QList<BuiltPicture> drawBuiltPictures()
{
    QList<BuiltPicture> pictures{{kLogoName, drawLogoBanner()}};
    for (PictureButton which : {PictureButton::New, PictureButton::Edit, PictureButton::Delete,
                                PictureButton::Search, PictureButton::Amortise}) {
        for (bool pressed : {false, true})
            pictures.append({builtName(which, pressed), drawPictureButton(which, pressed)});
    }
    return pictures;
}

QImage programIconImage(int size)
{
    QImage image = blankImage(QSize(size, size));
    if (size <= 0)
        return image;
    QPainter p(&image);
    drawProgramIcon(p, size);
    p.end();
    if (size <= iconSide)
        snapToVga(image);
    return image;
}

QPixmap programIcon32() { return QPixmap::fromImage(programIconImage(iconSide)); }

namespace {

// The sizes a window's icon is shown at. Under X every top-level window
// hands each size to the server when it is made, so a 256-pixel icon (three
// quarters of the bytes) would slow every window and dialog; desktops take
// their large icons from the icon theme (td_icon_export).
constexpr int kProgramIconSizes[] = {16, 32, 48, 64, 128};

// The program's icon, drawn in every size when it is first asked for a
// picture: where the window system shows no window icons (Wayland, the
// offscreen platform) the program starts without drawing it.
class ProgramIconEngine final : public QIconEngine {
public:
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("td::ProgramIconEngine"); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : kProgramIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    const QIcon& drawn()
    {
        if (m_drawn.isNull()) {
            for (int size : kProgramIconSizes)
                m_drawn.addPixmap(QPixmap::fromImage(programIconImage(size)));
        }
        return m_drawn;
    }

    QIcon m_drawn;
};

}  // namespace

QIcon programIcon() { return QIcon(new ProgramIconEngine); }

bool saveProgramIconPng(const QString& path, int size)
{
    return size > 0 && programIconImage(size).save(path, "PNG");
}

}  // namespace td
