#pragma once

#include "core/date_form.h"
#include "core/deposit_record.h"
#include "finance/elapsed_value.h"

#include <QDate>
#include <QString>
#include <optional>

namespace td {

// What the interest of a deposit is worked out from, read as depositTerms,
// ParseDate and a comparison with "Yes" read its texts.
struct RecordTerms {
    std::optional<DepositTerms> terms;
    std::optional<QDate> termDate;
    bool active = false;
};

// Reads the terms straight from the bytes of a deposit file record, with no
// string made, for the plain texts the program writes ("$1,234.56", "4.25",
// "10", a date in the short form); a record with any other text is read
// through its texts. Either way the answer is the one its texts give.
class RecordTermsReader {
public:
    explicit RecordTermsReader(const DateForm& form);

    RecordTerms read(const char* record) const;  // deposit_file::kRecordSize bytes
    RecordTerms read(const DepositRecord& deposit) const;

private:
    std::optional<QDate> plainDate(const char* record, int column) const;

    DateForm m_form;
    // Where the date form puts its day, month and year digits, and what
    // stands in each place: 'd', 'M', 'y' or the separator itself.
    char m_places[10] = {};
    bool m_tenPlaces = false;
};

}  // namespace td
