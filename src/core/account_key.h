#pragma once

#include <QString>
#include <array>

namespace td {

// An account number looked for in the register, compared with a row's
// Account Number text exactly, or for Qt::CaseInsensitive with both in upper
// case (QString::toUpper, so "ß" matches "SS"). A record's field is compared
// straight from its Windows-1252 bytes, as its text would read (without the
// spaces at either end), so a search over a million records decodes none.
class AccountKey {
public:
    AccountKey(const QString& key, Qt::CaseSensitivity cs);

    bool matchesText(const QString& text) const;
    // The Account Number field of a deposit file record.
    bool matchesField(const char* field) const;

private:
    QString m_key;  // in upper case for Qt::CaseInsensitive
    Qt::CaseSensitivity m_cs;
    // A field's text never starts or ends with a space, so a key that does matches no field.
    bool m_fieldsCanMatch;
    // The bytes a field's text may start with, to pass over most fields at their first byte.
    std::array<bool, 256> m_firstBytes{};
};

}  // namespace td
