#include "app/widgets/look.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "commands/command_line.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QTimer>
#include <csignal>

int main(int argc, char* argv[])
{
    // Past the process's file size limit the system would end the program with
    // SIGXFSZ in the middle of a save; ignored, the write fails with "File too
    // large" and the save is reported like any other failure.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("termdeposit"));
    // The preferences and the recent files go to ~/.config/termdeposit/termdeposit.conf.
    QApplication::setOrganizationName(QStringLiteral("termdeposit"));
    QApplication::setApplicationVersion(QStringLiteral(TD_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("termdeposit"));
    const td::StartRequest request = td::readCommandLine(QCoreApplication::arguments());
    if (request.kind != td::StartRequest::Kind::Start)
        return td::answerInTerminal(request);
    td::applyApplicationLook(app);

    td::QtPlatform platform;
    td::frmTermDeposit window(platform.platform());
    window.startUp();
    window.show();
    // What an earlier run left unsaved is offered first, then the file named at start opens.
    QTimer::singleShot(0, &window, [&] { window.finishStartUp(request.file); });
    return app.exec();
}
