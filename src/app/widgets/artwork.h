#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

// The program's own images, drawn in code so that they are the same on every
// machine and every run. Fonts are set in pixels, never points, so the screen's
// DPI does not change the pictures. A QGuiApplication must exist (fonts).
namespace td {

enum class PictureButton { New, Edit, Delete, Search, Amortise };

// 241 x 65: the maker's name over a dark textured background.
QPixmap logoBanner();

// 66 x 65: a grey button face with icon and caption, raised or pressed.
QPixmap pictureButtonImage(PictureButton which, bool pressed);

// The logo and the picture buttons are drawn once by the build into the
// program's resources (tools_artwork_render.cpp), so that a start draws no
// picture; the two functions above take them from there while they show
// the texts of the day (a translation draws them afresh).
QImage drawLogoBanner();
QImage drawPictureButton(PictureButton which, bool pressed);

// Every picture the build draws, with the file name it has in the resources.
struct BuiltPicture {
    QString fileName;
    QImage image;
};
QList<BuiltPicture> drawBuiltPictures();

// The program's icon drawn for a square of `size` pixels. At 32 pixels and
// below it uses only the 16 standard VGA colours and no antialiasing.
QImage programIconImage(int size);
QPixmap programIcon32();
// The window icon, 16 to 128 pixels, drawn when first shown.
QIcon programIcon();

// Writes the icon at `size` pixels as a PNG (for desktop icon themes).
bool saveProgramIconPng(const QString& path, int size);

}  // namespace td
