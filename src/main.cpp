#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/widgets/look.h"
#include "platform/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("termdeposit"));
    QGuiApplication::setDesktopFileName(QStringLiteral("termdeposit"));
    td::applyApplicationLook(app);

    td::QtPlatform platform;
    td::frmTermDeposit window(platform.platform());
    window.startUp();
    window.show();
    return app.exec();
}
