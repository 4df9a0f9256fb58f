// The baseline of the start-up benchmark (bench_startup.cpp): a bare Qt
// window built the way the program builds its own, in the same build type,
// linked against Qt Widgets alone. It makes the QApplication with the
// program's application names, style (Fusion) and font (Liberation Sans,
// 8.25 point), then a QMainWindow of the main window's size with a menu bar
// of three menus, and shows it. No picture, icon, message box, printer or
// platform seam of the program's.
#include "startup_timing.h"

#include <QApplication>
#include <QFont>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyleFactory>

int main(int argc, char* argv[])
{
    td::bench::platformUnlessChosen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("termdeposit"));
    QGuiApplication::setDesktopFileName(QStringLiteral("termdeposit"));
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    app.setFont(font);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.setCentralWidget(new QWidget(&window));
    for (const char* menu : {"&File", "&Term Deposit", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("&Item"));
    window.resize(608, 377 + window.menuBar()->sizeHint().height());
    return td::bench::reportFirstShow(window);
}
