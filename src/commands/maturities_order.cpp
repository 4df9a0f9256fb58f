#include "commands/maturities_order.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace td::maturities {

namespace {

constexpr quint64 kLast = std::numeric_limits<quint64>::max();  // a value that does not read
constexpr std::size_t kRowsAStep = 1 << 16;
constexpr std::size_t kRowsABlock = 1 << 21;  // sorted at once, between two reports

// A code as bytes that compare as the codes do (the UTF-8 scheme).
void appendCode(std::string& key, quint32 code)
{
    if (code < 0x80) {
        key += char(code);
    } else if (code < 0x800) {
        key += char(0xC0 | (code >> 6));
        key += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        key += char(0xE0 | (code >> 12));
        key += char(0x80 | ((code >> 6) & 0x3F));
        key += char(0x80 | (code & 0x3F));
    } else {
        key += char(0xF0 | (code >> 18));
        key += char(0x80 | ((code >> 12) & 0x3F));
        key += char(0x80 | ((code >> 6) & 0x3F));
        key += char(0x80 | (code & 0x3F));
    }
}

// Doubles as unsigned numbers in the same order; -0 and 0 are one value.
quint64 ordered(double value)
{
    const quint64 bits = std::bit_cast<quint64>(value == 0 ? 0.0 : value);
    return bits >> 63 ? ~bits : bits | (quint64(1) << 63);
}

int urgency(State state)
{
    switch (state) {
    case State::Matured:
        return 0;
    case State::DueSoon:
        return 1;
    case State::Later:
        return 2;
    case State::DateUnreadable:
        break;
    }
    return 3;
}

}  // namespace

void appendTextKey(QStringView text, std::string& key)
{
    // Codes are shifted up by one: 0 ends the first part, and a run of digits
    // takes the place of "0" among the other characters.
    constexpr char kDigitRun = '0' + 1;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c < 0x7F && (c < u'0' || c > u'9')) {  // most account numbers are plain ASCII
            key += char((c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c) + 1);
            ++i;
            continue;
        }
        if (!text[i].isDigit()) {
            appendCode(key, quint32(text[i].toCaseFolded().unicode()) + 1);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end].isDigit())
            ++end;
        // Leading zeros do not make a number larger; a longer number is larger.
        while (i + 1 < end && text[i].digitValue() == 0)
            ++i;
        const qsizetype length = end - i;
        key += kDigitRun;
        if (length < 0xFF) {
            key += char(length);
        } else {
            key += char(0xFF);
            for (int shift = 24; shift >= 0; shift -= 8)
                key += char(quint32(length) >> shift);
        }
        // Two digits a byte: equally long numbers compare byte by byte.
        for (; i < end; i += 2)
            key += char(text[i].digitValue() << 4 | (i + 1 < end ? text[i + 1].digitValue() : 0));
    }
    key += '\0';
    for (const QChar c : text)
        appendCode(key, quint32(c.unicode()) + 1);
}

RowOrder::RowOrder(const Register& reg, const std::vector<Figures>& figures, int column, bool ascending,
                   const Basis& basis)
    : m_register(reg), m_figures(figures), m_column(column), m_ascending(ascending), m_basis(basis),
      m_textual(column == AccountNumberColumn || column == ActiveColumn), m_texts(reg)
{
}

RowOrder::Key RowOrder::keyOf(qint32 row, std::string& texts) const
{
    const Figures& f = m_figures[static_cast<std::size_t>(row)];
    Key key;
    key.tie = quint64(f.hasTermDate() ? quint32(f.termDay) : std::numeric_limits<quint32>::max()) << 32 |
              quint32(row);
    auto amount = [this](double value) {
        if (std::isnan(value))
            return kLast;
        return m_ascending ? ordered(value) : ~ordered(value);
    };
    switch (m_column) {
    case AccountNumberColumn:
    case ActiveColumn: {
        m_texts.load(row + 1);
        const std::size_t start = texts.size();
        appendTextKey(m_texts[m_column == ActiveColumn ? Active : AccountNumber], texts);
        for (std::size_t b = start; b < start + sizeof key.primary; ++b)
            key.primary = key.primary << 8 | (b < texts.size() ? quint8(texts[b]) : 0);
        break;
    }
    case TermDateColumn:
    case DaysColumn:
        // Julian days of years 1 to 9999 are positive.
        key.primary = !f.hasTermDate() ? kLast : m_ascending ? quint64(f.termDay) : ~quint64(f.termDay);
        break;
    case StatusColumn: {
        const int u = urgency(f.state(m_basis.today));
        key.primary = quint64(m_ascending ? u : 3 - u);
        break;
    }
    case BalanceColumn:
        key.primary = amount(f.balance);
        break;
    case ValueTodayColumn:
        key.primary = amount(f.valueToday);
        break;
    case InterestSoFarColumn:
        key.primary = amount(interestSoFarAt(m_register, row + 1, m_basis));
        break;
    case FutureValueColumn:
        key.primary = amount(f.futureValue);
        break;
    case InterestColumn:
        key.primary = amount(f.interest);
        break;
    case TaxColumn:
        key.primary = amount(taxOn(f.interest, m_basis.taxShare));
        break;
    case NetInterestColumn:
        key.primary = amount(netOf(f.interest, m_basis.taxShare));
        break;
    default:
        break;
    }
    return key;
}

int RowOrder::compare(const Key& a, std::string_view textA, const Key& b, std::string_view textB) const
{
    int order = 0;
    if (a.primary != b.primary)
        order = a.primary < b.primary ? -1 : 1;
    else if (m_textual)
        order = textA.compare(textB);
    if (m_textual && !m_ascending)
        order = -order;
    if (order != 0)
        return order;
    return a.tie < b.tie ? -1 : a.tie > b.tie ? 1 : 0;
}

bool RowOrder::before(qint32 a, qint32 b) const
{
    std::string textsA;
    std::string textsB;
    const Key keyA = keyOf(a, textsA);
    const Key keyB = keyOf(b, textsB);
    return compare(keyA, textsA, keyB, textsB) < 0;
}

std::size_t RowOrder::placeOf(std::span<const qint32> rows, qint32 row) const
{
    std::string rowText;
    std::string otherText;
    const Key key = keyOf(row, rowText);
    const auto place = std::partition_point(rows.begin(), rows.end(), [&](qint32 other) {
        otherText.clear();
        const Key otherKey = keyOf(other, otherText);
        return compare(otherKey, otherText, key, rowText) < 0;
    });
    return static_cast<std::size_t>(place - rows.begin());
}

// Sorted in blocks, then merged, so that progress is told and a stop heard
// all through a sort of millions.
bool RowOrder::sortAll(std::vector<qint32>& order, const ProgressStep& step) const
{
    const std::size_t count = m_figures.size();
    int passes = 0;
    for (std::size_t width = kRowsABlock; width < count; width *= 2)
        ++passes;
    const qint64 total = qint64(count) * (2 + passes);
    qint64 done = 0;
    auto goOn = [&] { return !step || step(done, total); };

    std::vector<Key> keys(count);
    std::string texts;
    if (m_textual)
        texts.reserve(count * 32);  // taken only as far as it is written
    std::vector<std::size_t> textStarts(m_textual ? count + 1 : 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (i % kRowsAStep == 0 && !goOn())
            return false;
        if (m_textual)
            textStarts[i] = texts.size();
        keys[i] = keyOf(qint32(i), texts);
        ++done;
    }
    // Keys of up to eight bytes are whole in their first bytes (a key ends in
    // a byte other than 0, or is the one byte 0 of an empty text).
    bool whole = true;
    if (m_textual) {
        textStarts[count] = texts.size();
        for (std::size_t i = 0; i < count && whole; ++i)
            whole = textStarts[i + 1] - textStarts[i] <= sizeof(Key::primary);
    }
    auto textOf = [&](const Key& key) {
        if (!m_textual)
            return std::string_view();
        const std::size_t row = key.tie & 0xFFFFFFFFu;
        return std::string_view(texts).substr(textStarts[row], textStarts[row + 1] - textStarts[row]);
    };
    const bool reversed = m_textual && !m_ascending;
    auto less = [&](const Key& a, const Key& b) {
        // Most keys differ in their first bytes already.
        if (a.primary != b.primary)
            return (a.primary < b.primary) != reversed;
        if (!m_textual || whole)
            return a.tie < b.tie;
        return compare(a, textOf(a), b, textOf(b)) < 0;
    };
    for (std::size_t first = 0; first < count; first += kRowsABlock) {
        const std::size_t last = std::min(count, first + kRowsABlock);
        std::sort(keys.begin() + qsizetype(first), keys.begin() + qsizetype(last), less);
        done += qint64(last - first);
        if (!goOn())
            return false;
    }
    std::vector<Key> merged(passes > 0 ? count : 0);
    for (std::size_t width = kRowsABlock; width < count; width *= 2) {
        for (std::size_t first = 0; first < count; first += 2 * width) {
            const auto begin = keys.begin();
            const std::size_t middle = std::min(count, first + width);
            const std::size_t last = std::min(count, first + 2 * width);
            std::merge(begin + qsizetype(first), begin + qsizetype(middle), begin + qsizetype(middle),
                       begin + qsizetype(last), merged.begin() + qsizetype(first), less);
            done += qint64(last - first);
            if (!goOn())
                return false;
        }
        keys.swap(merged);
    }
    std::vector<qint32> sorted;
    sorted.reserve(withRoomToGrow(count));
    for (const Key& key : keys)
        sorted.push_back(qint32(key.tie & 0xFFFFFFFFu));
    order = std::move(sorted);
    return true;
}

}  // namespace td::maturities
