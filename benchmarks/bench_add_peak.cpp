// The memory of the first Add after opening a million deposits, in a fresh
// process, through the main window as a user makes it: File > Open, then
// Term Deposit > New, the details dialog filled in and Add clicked.
// - the steady figure is the process's resident memory once the open has
//   shown its rows;
// - the peak is the highest resident memory the kernel saw from then until
//   the Add has been drawn (its high-water mark, reset after the open).
// Adding one deposit should take next to nothing beside what the register
// already holds, whatever has to grow for it.
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "bench_support.h"
#include "core/register.h"
#include "platform/qt_platform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

// The main window's seams, answering without anyone at the screen.
class SilentMessages final : public MessageBoxes {
public:
    MessageButton ask(const QString& title, const QString& text, MessageIcon, MessageButtons buttons) override
    {
        if (title.contains(QLatin1String("Error")) || text.contains(QLatin1String("must have a value")))
            qFatal("%s", qPrintable(text));
        return buttons == MessageButtons::Ok ? MessageButton::Ok : MessageButton::No;
    }
};

class ChosenFile final : public FileDialogs {
public:
    explicit ChosenFile(QString path) : m_path(std::move(path)) {}
    std::optional<QString> openFileName(const FileDialogSettings&) override { return m_path; }
    std::optional<QString> saveFileName(const FileDialogSettings&) override { return m_path; }

private:
    QString m_path;
};

// Shows the details dialog, fills in a deposit whose account number no row
// has, and clicks Add.
class AddingDetails final : public ModalDisplay {
public:
    int runModal(QDialog& dialog) override
    {
        auto* details = qobject_cast<frmTermDepositDetails*>(&dialog);
        if (!details)
            qFatal("unexpected dialog %s", qPrintable(dialog.objectName()));
        details->show();
        QCoreApplication::processEvents();
        details->txtAccountNumber()->setText(QStringLiteral("NEW-000001"));
        details->txtInterest()->setText(QStringLiteral("4.25"));
        details->txtTermYears()->setText(QStringLiteral("2"));
        details->txtAccountBalance()->setText(QStringLiteral("10000"));
        details->cmdAdd()->setFocus();
        details->cmdAdd()->click();
        if (details->isVisible())
            qFatal("Add left the details dialog open");
        return details->result();
    }
};

qint64 statusKiloBytes(QByteArrayView field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/status");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    qFatal("no %s in /proc/self/status", field.data());
}

// From here on VmHWM is the peak since now (Linux 4.0 and later).
void resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        qFatal("cannot reset the peak resident memory");
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-add-peak-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);

    SilentMessages messages;
    ChosenFile chosen(depositPath);
    QtPrinter printer;
    QtBusyPointer pointer;
    AddingDetails modal;
    QtClock clock;
    QtScreen screen;
    QtProgressDisplay progress;
    QtNotifications notifications;
    Platform platform{messages,     chosen,   printer,
                      pointer,      modal,    clock,
                      screen,       progress, DateForm::fromLocale(QLocale::c()),
                      notifications};
    frmTermDeposit window(platform);
    window.startUp();
    window.show();
    QCoreApplication::processEvents();

    window.mnuFileItem_Click(1);
    QCoreApplication::processEvents();
    window.gridView()->viewport()->repaint();
    if (window.Grid().depositCount() != kDeposits)
        qFatal("open showed %d deposits", window.Grid().depositCount());
    const qint64 steadyKb = statusKiloBytes("VmRSS:");

    resetPeakResident();
    QElapsedTimer added;
    added.start();
    window.actions().newTermDeposit->trigger();
    QCoreApplication::processEvents();
    window.gridView()->viewport()->repaint();
    const qint64 addMs = added.elapsed();
    const qint64 peakKb = statusKiloBytes("VmHWM:");
    if (window.Grid().depositCount() != kDeposits + 1)
        qFatal("Add left %d deposits", window.Grid().depositCount());

    bench::report("add_1m_peak_ratio_vs_steady", double(peakKb) / double(steadyKb));
    std::printf("# steady %.1f MB, peak during the Add %.1f MB, the Add took %.1f s\n", steadyKb / 1024.0,
                peakKb / 1024.0, addMs / 1e3);
    return 0;
}
