#include "platform/print_preview_dialog.h"
#include "platform/qt_platform.h"
#include "support/accessibility_walk.h"
#include "support/data_rows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace td;
using namespace td::test;

namespace {

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

// The text of each page, as pdftotext lays it out (it ends every page with a form feed).
QStringList pdfPages(const QString& pdf)
{
    QStringList pages = QString::fromUtf8(run("pdftotext", {"-layout", pdf, "-"})).split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Every word of the first page with its box in points.
QList<Word> pdfWords(const QString& pdf)
{
    const QString html = QString::fromUtf8(run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}));
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (const QRegularExpressionMatch& m : word.globalMatch(html))
        words.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                      m.captured(3).toDouble(), m.captured(4).toDouble()});
    return words;
}

void printToPdf(QtPrinter& printer, const QString& fileName)
{
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(fileName);
}

// Four pages: the first and the last end where the listing asks for a new
// page, the second runs on into the third.
bool spoolFourPages(QtPrinter& printer)
{
    if (!printer.beginJob())
        return false;
    printer.setFontSize(12);
    bool ok = printer.printLine("PAGE ONE") && printer.newPage();
    for (int i = 1; i <= 80; ++i)
        ok = ok && printer.printLine(QString("RUN LINE %1").arg(i));
    return ok && printer.newPage() && printer.printLine("PAGE FOUR");
}

// The settings the printer dialog leaves: pages from..to (0: all), copies, order.
void chooseInDialog(QPrinter& printer, int from, int to, int copies, bool collate, bool reverse)
{
    printer.setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
    printer.setFromTo(from, to);
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    printer.setPageOrder(reverse ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
}

// The number of pages the preview of the spooled job shows (-1: no preview).
int previewPageCount(QtPrinter& printer, bool& previewed)
{
    int pagesShown = -1;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget());
        pagesShown = dialog ? dialog->pages()->pageCount() : -1;
        if (dialog)
            dialog->reject();
    });
    previewed = printer.previewJob() == PreviewEnd::Closed;
    return pagesShown;
}

QString fileText(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void linesLandOnTheirPagesWithNoEmptyLastPage()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString pdf = m_dir.filePath("listing.pdf");
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(printer.beginJob());
        for (const char* account : {"FIRST-1", "FIRST-2", "SECOND-1"}) {
            if (QLatin1String(account) == QLatin1String("SECOND-1"))
                QVERIFY(printer.newPage());
            printer.setFontSize(10);
            QVERIFY(printer.printLine(QString()));
            printer.setFontSize(12);
            QVERIFY(printer.printLine("          Account Number    " + QString::fromLatin1(account)));
            QVERIFY(printer.printLine("          Future Value    $2,765.43"));
        }
        QVERIFY(printer.newPage());  // a page break with nothing after it makes no page
        QVERIFY2(printer.endJob(), qPrintable(printer.errorString()));

        const QStringList pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 2);
        static const QRegularExpression first(
            R"(Account Number\s+FIRST-1\s*\n\s*Future Value\s+\$2,765\.43\s*\n)"
            R"(\s*\n\s*Account Number\s+FIRST-2\s*\n\s*Future Value\s+\$2,765\.43)");
        QVERIFY2(first.match(pages[0]).hasMatch(), qPrintable(pages[0]));
        QVERIFY(!pages[0].contains("SECOND"));
        QVERIFY2(pages[1].contains(QRegularExpression(R"(Account Number\s+SECOND-1)")), qPrintable(pages[1]));
        QVERIFY(!pages[1].contains("FIRST"));
    }

    // The preview paints the spooled pages and writes nothing to the printer.
    void previewShowsThePagesAndPrintsNothing()
    {
        const QString pdf = m_dir.filePath("preview.pdf");
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(printer.beginJob());
        QVERIFY(printer.printLine("          Account Number    FIRST-1"));
        QVERIFY(printer.newPage());
        QVERIFY(printer.printLine("          Account Number    SECOND-1"));
        int pagesShown = -1;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget()));
            auto* dialog = qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget());
            pagesShown = dialog->pages()->pageCount();
            dialog->reject();
        });
        QCOMPARE(printer.previewJob(), PreviewEnd::Closed);
        QCOMPARE(pagesShown, 2);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(printer.previewJob(), PreviewEnd::Failed);  // the job has ended
    }

    void linesStartAtTheLeftEdgeInTheGivenSize()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        const QString pdf = m_dir.filePath("edge.pdf");
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(printer.beginJob());
        printer.setFontSize(12);
        QVERIFY(printer.printLine("Twelve"));
        printer.setFontSize(24);
        QVERIFY(printer.printLine("Double"));
        QVERIFY(printer.endJob());

        const QList<Word> words = pdfWords(pdf);
        QCOMPARE(words.size(), 2);
        const QRectF area = printer.printer().pageLayout().paintRect(QPageLayout::Point);
        for (const Word& w : words)
            QVERIFY2(
                qAbs(w.xMin - area.left()) < 2,
                qPrintable(
                    QString("%1 at %2, printable area from %3").arg(w.text).arg(w.xMin).arg(area.left())));
        QVERIFY(words[0].yMin >= area.top() - 1 && words[0].yMin < area.top() + 12);
        const double twelve = words[0].yMax - words[0].yMin;
        const double double_ = words[1].yMax - words[1].yMin;
        QVERIFY2(twelve > 10 && twelve < 18, qPrintable(QString::number(twelve)));
        QVERIFY2(qAbs(double_ / twelve - 2) < 0.1, qPrintable(QString::number(double_ / twelve)));
        QVERIFY(words[1].yMin >= words[0].yMax - 1);  // the next line is below, not over it
    }

    void abortingDropsEveryPage()
    {
        const QString pdf = m_dir.filePath("kept.pdf");
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("the earlier listing");
        }
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(printer.beginJob());
        printer.setFontSize(12);
        QVERIFY(printer.printLine("half a listing"));
        QVERIFY(printer.newPage());
        QVERIFY(printer.printLine("more"));
        printer.abortJob();
        QCOMPARE(fileText(pdf), QStringLiteral("the earlier listing"));
        QVERIFY(!printer.printLine("after the abort"));

        // The printer takes the next job as usual.
        const QString next = m_dir.filePath("next.pdf");
        printToPdf(printer, next);
        QVERIFY(printer.beginJob());
        QVERIFY(printer.printLine("next job"));
        QVERIFY(printer.endJob());
        QVERIFY(fileText(next).startsWith("%PDF"));
        QCOMPARE(fileText(pdf), QStringLiteral("the earlier listing"));
    }

    // A file whose writes fail is a failed print, named with its path and
    // the system's reason, and never a success.
    void aFileThatTakesNoBytesFailsThePrint()
    {
        if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
            QSKIP("/dev/full is not there to write to");
        QtPrinter printer;
        printToPdf(printer, QStringLiteral("/dev/full"));
        QVERIFY(printer.beginJob());
        printer.setFontSize(12);
        QVERIFY(printer.printLine("          Account Number    A1001"));
        QVERIFY(!printer.endJob());
        QVERIFY2(printer.errorString().contains(QLatin1String("/dev/full")),
                 qPrintable(printer.errorString()));
        QVERIFY2(printer.errorString().contains(QLatin1String("No space left on device")),
                 qPrintable(printer.errorString()));
    }

    // A listing printed over an earlier file replaces it whole, through a new
    // file beside it.
    void aListingReplacesTheEarlierFileWhole()
    {
        const QString pdf = m_dir.filePath("replaced.pdf");
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(200000, 'x'));
        }
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(printer.beginJob());
        QVERIFY(printer.printLine("one line"));
        QVERIFY2(printer.endJob(), qPrintable(printer.errorString()));
        const QString text = fileText(pdf);
        QVERIFY(text.startsWith("%PDF"));
        QVERIFY(text.trimmed().endsWith("%%EOF"));
        QVERIFY(!text.contains(QLatin1Char('x') + QString(20, QLatin1Char('x'))));
        QCOMPARE(QDir(m_dir.path()).entryList({"replaced.pdf*"}, QDir::Files | QDir::Hidden),
                 QStringList{"replaced.pdf"});
    }

    // The page range, copies and page order of the printer dialog pick whole
    // pages of the listing, in a print to a file as in its preview.
    void rangeCopiesAndOrderPickWholePages_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<QList<int>>("expected");  // pages of the whole listing; none: refused
        using Pages = QList<int>;
        dataRow("pages 2 to 3", 2, 3, 1, true, false, Pages{2, 3});
        dataRow("pages 3 to 9 of four", 3, 9, 1, true, false, Pages{3, 4});
        dataRow("pages 2 to 3, two copies collated", 2, 3, 2, true, false, Pages{2, 3, 2, 3});
        dataRow("pages 2 to 3, two copies not collated", 2, 3, 2, false, false, Pages{2, 2, 3, 3});
        dataRow("every page, last page first", 0, 0, 1, true, true, Pages{4, 3, 2, 1});
        dataRow("pages 5 to 6 of four", 5, 6, 1, true, false, Pages{});
    }
    void rangeCopiesAndOrderPickWholePages()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(bool, reverse);
        QFETCH(QList<int>, expected);
        QtPrinter printer;
        const QString whole = m_dir.filePath("whole.pdf");
        printToPdf(printer, whole);
        QVERIFY(spoolFourPages(printer));
        QVERIFY2(printer.endJob(), qPrintable(printer.errorString()));
        const QStringList wholePages = pdfPages(whole);
        QCOMPARE(wholePages.size(), 4);

        chooseInDialog(printer.printer(), from, to, copies, collate, reverse);
        QVERIFY(spoolFourPages(printer));
        bool previewed = false;
        QCOMPARE(previewPageCount(printer, previewed), expected.size());
        QCOMPARE(previewed, !expected.isEmpty());

        const QString chosen = m_dir.filePath("chosen.pdf");
        QFile::remove(chosen);
        printToPdf(printer, chosen);
        chooseInDialog(printer.printer(), from, to, copies, collate, reverse);
        QVERIFY(spoolFourPages(printer));
        QCOMPARE(printer.endJob(), !expected.isEmpty());
        QStringList expectedPages;
        for (int page : expected)
            expectedPages << wholePages.at(page - 1);
        QCOMPARE(pdfPages(chosen), expectedPages);
        if (expected.isEmpty()) {
            QVERIFY(!QFile::exists(chosen));
            QVERIFY2(printer.errorString().contains("page 4"), qPrintable(printer.errorString()));
        }
        // The range and the copies were for that listing alone.
        QCOMPARE(printer.printer().printRange(), QPrinter::AllPages);
        QCOMPARE(printer.printer().copyCount(), 1);
    }

    // A long listing's preview paints its first pages and counts the pages
    // left out as the page before the mark, and the last page: in sheets,
    // where a page of the listing runs over onto a second.
    void previewOfALongListingCountsEveryPage_data()
    {
        QTest::addColumn<int>("lines");      // on each of the three first pages
        QTest::addColumn<int>("lastLines");  // on the last page
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("inAll");
        dataRow("a sheet a page", 1, 1, 3, 3 + 10 + 1);
        dataRow("two sheets a page", 80, 80, 6, 6 + 20 + 2);
        dataRow("two sheets a page, the last page shorter", 80, 1, 6, 6 + 20 + 1);
    }
    void previewOfALongListingCountsEveryPage()
    {
        QFETCH(int, lines);
        QFETCH(int, lastLines);
        QFETCH(int, shown);
        QFETCH(int, inAll);
        QtPrinter printer;
        QVERIFY(printer.beginJob());
        printer.setFontSize(12);
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                QVERIFY(printer.newPage());
            for (int i = 0; i < lines; ++i)
                QVERIFY(printer.printLine(QString("PAGE %1 LINE %2").arg(page).arg(i)));
        }
        printer.leaveOutPages(10);
        QVERIFY(printer.newPage());
        for (int i = 0; i < lastLines; ++i)
            QVERIFY(printer.printLine(QString("LAST PAGE LINE %1").arg(i)));
        int pagesShown = -1;
        QString extent;
        QStringList problems;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<PrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            pagesShown = dialog->pages()->pageCount();
            extent = dialog->extentLabel()->isVisible() ? dialog->extentLabel()->text() : QString();
            problems = accessibilityProblems(*dialog);
            dialog->reject();
        });
        QCOMPARE(printer.previewJob(), PreviewEnd::Closed);
        QCOMPARE(pagesShown, shown);
        QCOMPARE(extent,
                 QString("This preview shows the first %1 of the listing's %2 pages. Print prints all "
                         "%2 pages.")
                     .arg(shown)
                     .arg(inAll));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    // Cancel while the pages are painted: no file is left, an earlier one
    // stays as it was.
    void cancelledPrintToAFileLeavesNoFile_data()
    {
        QTest::addColumn<bool>("earlierFile");
        QTest::addColumn<int>("cancelAt");  // the report, counted from 1
        dataRow("before the first page", false, 1);
        dataRow("part-way", false, 3);
        dataRow("part-way, over an earlier file", true, 3);
    }
    void cancelledPrintToAFileLeavesNoFile()
    {
        QFETCH(bool, earlierFile);
        QFETCH(int, cancelAt);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("listing.pdf");
        if (earlierFile) {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("the earlier listing");
        }
        QtPrinter printer;
        printToPdf(printer, pdf);
        QVERIFY(spoolFourPages(printer));
        int reports = 0;
        QVERIFY(!printer.endJob([&](qint64, qint64) { return ++reports < cancelAt; }));
        QVERIFY(printer.cancelled());
        QCOMPARE(reports, cancelAt);
        QCOMPARE(fileText(pdf), earlierFile ? QStringLiteral("the earlier listing") : QString());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 earlierFile ? QStringList{"listing.pdf"} : QStringList{});
        // The next job is no longer cancelled.
        QVERIFY(spoolFourPages(printer));
        QVERIFY(printer.endJob([](qint64, qint64) { return true; }));
        QVERIFY(!printer.cancelled());
        QVERIFY(fileText(pdf).startsWith("%PDF"));
    }

    void failuresAreReportedWithAReason()
    {
        QtPrinter printer;
        QVERIFY(!printer.printLine("no job"));
        QVERIFY(!printer.errorString().isEmpty());
        QVERIFY(!printer.endJob());

        const QString missing = m_dir.filePath("no such folder/listing.pdf");
        printToPdf(printer, missing);
        QVERIFY(!printer.beginJob());
        QVERIFY2(printer.errorString().contains(missing), qPrintable(printer.errorString()));
        QVERIFY(!QFile::exists(missing));
    }
};

QTEST_MAIN(TestQtPrinter)
#include "test_qt_printer.moc"
