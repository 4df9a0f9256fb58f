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
#include "bench_window_seams.h"
#include "core/register.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace td;

namespace {

constexpr int kDeposits = 1'000'000;

// Fills in a deposit whose account number no row has, and clicks Add.
void addNewDeposit(QDialog& dialog)
{
    auto* details = qobject_cast<frmTermDepositDetails*>(&dialog);
    if (!details)
        qFatal("unexpected dialog %s", qPrintable(dialog.objectName()));
    details->txtAccountNumber()->setText(QStringLiteral("NEW-000001"));
    details->txtInterest()->setText(QStringLiteral("4.25"));
    details->txtTermYears()->setText(QStringLiteral("2"));
    details->txtAccountBalance()->setText(QStringLiteral("10000"));
    details->cmdAdd()->setFocus();
    details->cmdAdd()->click();
    if (details->isVisible())
        qFatal("Add left the details dialog open");
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-add-peak-XXXXXX"));
    const QString depositPath = dir.filePath(QStringLiteral("million.tmd"));
    bench::writeRealisticFile(depositPath, kDeposits);

    bench::WindowWorld world(depositPath);
    frmTermDeposit& window = world.window;

    window.mnuFileItem_Click(1);
    QCoreApplication::processEvents();
    window.gridView()->viewport()->repaint();
    if (window.Grid().depositCount() != kDeposits)
        qFatal("open showed %d deposits", window.Grid().depositCount());
    const long long steady = bench::residentBytes();

    bench::resetPeak();
    world.modal.handlers.push_back(addNewDeposit);
    QElapsedTimer added;
    added.start();
    window.actions().newTermDeposit->trigger();
    QCoreApplication::processEvents();
    window.gridView()->viewport()->repaint();
    const qint64 addMs = added.elapsed();
    const long long peak = bench::peakResidentBytes();
    if (window.Grid().depositCount() != kDeposits + 1)
        qFatal("Add left %d deposits", window.Grid().depositCount());

    bench::report("add_1m_peak_ratio_vs_steady", double(peak) / double(steady));
    std::printf("# steady %.1f MB, peak during the Add %.1f MB, the Add took %.1f s\n", steady / 1048576.0,
                peak / 1048576.0, addMs / 1e3);
    return 0;
}
