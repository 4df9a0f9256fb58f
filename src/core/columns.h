#pragma once

#include <QString>
#include <array>

namespace td {

// Column order of a deposit: in the register, in a DepositRecord and in a file record.
enum Column : int {
    AccountNumber = 0,
    SaveEachMonth,
    Interest,
    Years,
    Months,
    StartDate,
    TermDate,
    AccountBalance,
    FutureValue,
    Active,
    ColumnCount
};

struct ColumnInfo {
    const char* header;  // text of the header row, row 0
    int widthTwips;      // grid column width
    int fileWidth;       // bytes of the field in a deposit file record
};

inline constexpr std::array<ColumnInfo, ColumnCount> kColumns{{
    {"Account Number", 2500, 20},
    {"Save Each Month", 2000, 15},
    {"Interest", 1200, 7},
    {"Years", 800, 2},
    {"Months", 800, 2},
    {"Start Date", 1500, 10},
    {"Term Date", 1500, 10},
    {"Account Balance", 2000, 15},
    {"Future Value", 2000, 15},
    {"Active", 800, 3},
}};

inline QString headerText(int column) { return QString::fromLatin1(kColumns.at(column).header); }

// Twips are 1/1440 inch; 15 make one device-independent pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace td
