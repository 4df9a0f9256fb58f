#include "commands/print_listing.h"

#include <QCoreApplication>
#include <array>

namespace td::listing {

namespace {

// The labels keep their own spacing: most end in four spaces, three in five.
constexpr std::array<const char*, kPrintedColumns> kLabels{{
    QT_TRANSLATE_NOOP("PrintListing", "Account Number    "),
    QT_TRANSLATE_NOOP("PrintListing", "Saving Each Month    "),
    QT_TRANSLATE_NOOP("PrintListing", "Interest    "),
    QT_TRANSLATE_NOOP("PrintListing", "Years    "),
    QT_TRANSLATE_NOOP("PrintListing", "Months    "),
    QT_TRANSLATE_NOOP("PrintListing", "Start Date     "),
    QT_TRANSLATE_NOOP("PrintListing", "Term Date     "),
    QT_TRANSLATE_NOOP("PrintListing", "Account Balance     "),
    QT_TRANSLATE_NOOP("PrintListing", "Future Value    "),
}};

const QString kIndent(10, QLatin1Char(' '));

}  // namespace

QString blockLine(int column, const QString& cellText)
{
    return kIndent + QCoreApplication::translate("PrintListing", kLabels.at(column)) + cellText;
}

bool passesActiveFilter(const QString& activeText, bool printActive)
{
    return printActive ? activeText == QLatin1String("Yes") : activeText == QLatin1String("No");
}

}  // namespace td::listing
