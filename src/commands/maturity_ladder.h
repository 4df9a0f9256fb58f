#pragma once

#include "commands/maturities.h"

#include <QDate>
#include <QtGlobal>
#include <array>
#include <vector>

namespace td::maturities {

// What the active deposits will pay out month by month: the future values of
// those maturing in each calendar month from the current one on. A deposit
// that has matured by today is not in it, nor one whose future value or term
// date does not read. Follows the deposits one by one, as the totals do.
class Ladder {
public:
    static constexpr int kMonths = 24;

    explicit Ladder(QDate today = {});

    void add(const Figures& figures) { change(figures, 1); }
    void remove(const Figures& figures) { change(figures, -1); }

    QDate today() const { return m_today; }
    // The first day of month `i`, 0 being the current month.
    QDate month(int i) const { return QDate::fromJulianDay(m_starts.at(std::size_t(i))); }
    double amount(int i) const { return m_amounts.at(std::size_t(i)).value(); }
    int deposits(int i) const { return m_deposits.at(std::size_t(i)); }

private:
    void change(const Figures& figures, int sign);

    QDate m_today;
    std::array<qint64, kMonths + 1> m_starts{};  // the months' first days as Julian days, and the day after
    std::array<Sum, kMonths> m_amounts{};
    std::array<int, kMonths> m_deposits{};
};

Ladder ladderOf(const std::vector<Figures>& figures, QDate today);

}  // namespace td::maturities
