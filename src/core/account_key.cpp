#include "account_key.h"

#include "code_page_1252.h"
#include "deposit_file_format.h"

namespace td {

namespace {

// What a byte of a field reads as: one character, or in upper case up to
// three (Unicode never maps one character to more).
struct Reading {
    char16_t chars[3];
    qsizetype size;
};
using Readings = std::array<Reading, 256>;

Readings makeReadings(bool upperCase)
{
    Readings readings{};
    for (int byte = 0; byte < 256; ++byte) {
        QString text(QChar(cp1252::toUnicode(static_cast<std::uint8_t>(byte))));
        if (upperCase)
            text = text.toUpper();
        Reading& reading = readings[byte];
        reading.size = qMin<qsizetype>(text.size(), 3);
        for (qsizetype i = 0; i < reading.size; ++i)
            reading.chars[i] = text[i].unicode();
    }
    return readings;
}

const Readings& readingsFor(Qt::CaseSensitivity cs)
{
    static const Readings exact = makeReadings(false);
    static const Readings upper = makeReadings(true);
    return cs == Qt::CaseSensitive ? exact : upper;
}

}  // namespace

AccountKey::AccountKey(const QString& key, Qt::CaseSensitivity cs)
    : m_key(cs == Qt::CaseSensitive ? key : key.toUpper()), m_cs(cs),
      m_fieldsCanMatch(m_key.isEmpty() || (m_key.front() != u' ' && m_key.back() != u' '))
{
    if (m_key.isEmpty())
        return;
    const Readings& readings = readingsFor(m_cs);
    for (int byte = 0; byte < 256; ++byte)
        m_firstBytes[byte] = readings[byte].size > 0 && readings[byte].chars[0] == m_key.front().unicode();
}

bool AccountKey::matchesText(const QString& text) const
{
    return m_cs == Qt::CaseSensitive ? text == m_key : text.toUpper() == m_key;
}

bool AccountKey::matchesField(const char* field) const
{
    constexpr int kWidth = deposit_file::fieldWidth(AccountNumber);
    int i = 0;
    while (i < kWidth && field[i] == ' ')
        ++i;
    if (i == kWidth)
        return m_key.isEmpty();
    if (!m_fieldsCanMatch || !m_firstBytes[static_cast<std::uint8_t>(field[i])])
        return false;

    const Readings& readings = readingsFor(m_cs);
    const char16_t* key = reinterpret_cast<const char16_t*>(m_key.constData());
    const qsizetype keySize = m_key.size();
    qsizetype at = 0;
    for (; i < kWidth && at < keySize; ++i) {
        const Reading& reading = readings[static_cast<std::uint8_t>(field[i])];
        if (reading.size > keySize - at)
            return false;
        for (qsizetype k = 0; k < reading.size; ++k) {
            if (reading.chars[k] != key[at + k])
                return false;
        }
        at += reading.size;
    }
    if (at < keySize)
        return false;
    // The whole key is read: the field's text ends here if only spaces follow.
    while (i < kWidth && field[i] == ' ')
        ++i;
    return i == kWidth;
}

}  // namespace td
