#include "commands/maturity_ladder.h"

#include <algorithm>

namespace td::maturities {

Ladder::Ladder(QDate today) : m_today(today)
{
    if (!today.isValid())
        return;
    const QDate first(today.year(), today.month(), 1);
    for (int i = 0; i <= kMonths; ++i)
        m_starts[std::size_t(i)] = first.addMonths(i).toJulianDay();
}

void Ladder::change(const Figures& figures, int sign)
{
    if (!figures.active || !figures.hasTermDate() || std::isnan(figures.futureValue) || !m_today.isValid())
        return;
    const std::optional<qint64> days = figures.days(m_today);
    if (!days || stateOf(*days) == State::Matured || figures.termDay >= m_starts.back())
        return;
    const auto month = std::size_t(
        std::upper_bound(m_starts.begin(), m_starts.end(), qint64(figures.termDay)) - m_starts.begin() - 1);
    if (sign > 0)
        m_amounts[month].add(figures.futureValue);
    else
        m_amounts[month].remove(figures.futureValue);
    m_deposits[month] += sign;
}

Ladder ladderOf(const std::vector<Figures>& figures, QDate today)
{
    Ladder ladder(today);
    for (const Figures& f : figures)
        ladder.add(f);
    return ladder;
}

}  // namespace td::maturities
