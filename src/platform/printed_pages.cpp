#include "platform/printed_pages.h"

#include <QPrinter>
#include <algorithm>

namespace td {

// A print to a file is painted onto a PDF writer of its own, which makes no copies.
bool printerMakesCopies(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() && printer.supportsMultipleCopies();
}

PrintedPages printedPages(const QPrinter& printer, int pageCount)
{
    PrintedPages printed;
    const QPageRanges ranges = printer.pageRanges();
    const bool everyPage = printer.printRange() != QPrinter::PageRange || ranges.isEmpty();
    for (int page = 1; page <= pageCount; ++page)
        if (everyPage || ranges.contains(page))
            printed.pages.append(page);
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(printed.pages.begin(), printed.pages.end());
    if (!printerMakesCopies(printer))
        printed.copies = std::max(1, printer.copyCount());
    printed.collate = printer.collateCopies();
    return printed;
}

}  // namespace td
