#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace td {

// The input rule of a details dialog box, checked on every typed character.
enum class BoxRule {
    Free,    // every key (account number)
    Money,   // amounts: digits and ".", value 1 to 999999999
    Rate,    // interest in percent: digits and ".", value 1 to 99.9999
    Years,   // digits only, 0 to 99
    Months,  // digits only, 0 to 11
};

// What a box would hold and where its selection (or caret, length 0) stands.
struct BoxState {
    QString text;
    qsizetype selectionStart = 0;
    qsizetype selectionLength = 0;
};

// Whether a typed character goes in. A digit is checked by the leading number
// of the text the box would then hold; "." only by the box's kind; backspace
// always goes in; every other character is refused.
bool acceptsTypedCharacter(BoxRule rule, const BoxState& box, QChar typed);

// Whether pasted text goes in: as if its characters were typed one after the
// other, as far as the maximum length lets them in. A paste is taken whole or
// not at all. Control characters (line breaks, tabs) are refused in every
// box, since typing cannot put them there.
bool acceptsPastedText(BoxRule rule, const BoxState& box, QStringView pasted, int maxLength);

}  // namespace td
