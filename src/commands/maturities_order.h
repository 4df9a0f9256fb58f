#pragma once

#include "commands/maturities.h"
#include "commands/row_texts.h"

#include <QStringView>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace td::maturities {

// The order of the overview's rows by one column's value: dates as dates,
// days and amounts as numbers, the status by urgency, account numbers and
// the Active texts with runs of digits as numbers and letters regardless of
// case. A value that does not read goes last in either order; ties go in
// term date order, then register order. Row i is register row i + 1, whose
// figures are figures[i]. The interest so far is worked out from the row's
// texts as its key is made; every other amount is among the figures.
//
// A sort makes each row's key once (a number, or for a text a string of bytes
// that compares as the text is ordered) and never compares texts.
class RowOrder {
public:
    RowOrder(const Register& reg, const std::vector<Figures>& figures, int column, bool ascending,
             const Basis& basis);

    // Every row, in order, into `order`; false, and `order` untouched, when
    // `step` says to stop.
    bool sortAll(std::vector<qint32>& order, const ProgressStep& step = {}) const;
    bool before(qint32 a, qint32 b) const;
    // Where `row` goes among `rows`: rows in this order, `row` not among them.
    std::size_t placeOf(std::span<const qint32> rows, qint32 row) const;

private:
    struct Key {
        quint64 primary = 0;  // the value in the sort's direction; a text's first bytes
        quint64 tie = 0;      // term date, then row
    };
    // Appends a text's bytes to `texts`.
    Key keyOf(qint32 row, std::string& texts) const;
    int compare(const Key& a, std::string_view textA, const Key& b, std::string_view textB) const;

    const Register& m_register;
    const std::vector<Figures>& m_figures;
    int m_column;
    bool m_ascending;
    Basis m_basis;
    bool m_textual;
    mutable RowTexts m_texts;
};

// Appends the bytes that order `text` as account numbers are ordered: runs
// of digits by their value, other characters by their case-folded code, then,
// between texts equal so far, the texts as they stand.
void appendTextKey(QStringView text, std::string& key);

}  // namespace td::maturities
