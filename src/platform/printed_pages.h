#pragma once

#include <QList>

class QPrinter;

namespace td {

// The pages a print paints, as the printer dialog left the printer: those of
// its page range that the listing has, in its page order, and as many copies
// as the printer does not make itself, one whole set after another when
// collated, each page repeated in turn when not.
struct PrintedPages {
    QList<int> pages;  // page numbers from 1, in the order they are printed
    int copies = 1;
    bool collate = true;

    qint64 count() const { return qint64(pages.size()) * copies; }
    // The page painted in the given place, from 0 to count() - 1.
    int at(qint64 place) const
    {
        return collate ? pages.at(int(place % pages.size())) : pages.at(int(place / copies));
    }
};

// A printer makes copies itself when it can and is not writing to a file;
// otherwise each copy is painted.
bool printerMakesCopies(const QPrinter& printer);

PrintedPages printedPages(const QPrinter& printer, int pageCount);

}  // namespace td
