#include "commands/key_rules.h"

#include "core/text_values.h"

#include <QString>

namespace td {

namespace {

struct Limits {
    bool acceptsPoint;
    double lower;
    double upper;
};

Limits limitsOf(BoxRule rule)
{
    switch (rule) {
    case BoxRule::Money:
        return {true, 1.0, 999999999.0};
    case BoxRule::Rate:
        return {true, 1.0, 99.9999};
    case BoxRule::Years:
        return {false, 0.0, 99.0};
    case BoxRule::Months:
        return {false, 0.0, 11.0};
    case BoxRule::Free:
        break;
    }
    return {true, 0.0, 0.0};
}

QString withTyped(const BoxState& box, QChar typed)
{
    const qsizetype start = qBound<qsizetype>(0, box.selectionStart, box.text.size());
    const qsizetype end = qBound<qsizetype>(start, start + box.selectionLength, box.text.size());
    QString candidate;
    candidate.reserve(box.text.size() + 1);
    candidate.append(QStringView(box.text).first(start));
    candidate.append(typed);
    candidate.append(QStringView(box.text).sliced(end));
    return candidate;
}

}  // namespace

bool acceptsTypedCharacter(BoxRule rule, const BoxState& box, QChar typed)
{
    if (rule == BoxRule::Free)
        return true;
    const Limits limits = limitsOf(rule);
    if (typed == u'.')
        return limits.acceptsPoint;
    if (typed == u'\b')
        return true;
    if (typed < u'0' || typed > u'9')
        return false;
    const double value = LeadingNumber(withTyped(box, typed));
    return !(value > limits.upper || value < limits.lower);
}

bool acceptsPastedText(BoxRule rule, const BoxState& box, QStringView pasted, int maxLength)
{
    for (QChar c : pasted) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    if (rule == BoxRule::Free)
        return true;

    const qsizetype start = qBound<qsizetype>(0, box.selectionStart, box.text.size());
    const qsizetype length = qBound<qsizetype>(0, box.selectionLength, box.text.size() - start);
    const qsizetype room = qMax<qsizetype>(0, maxLength - (box.text.size() - length));
    QString text = box.text;
    qsizetype caret = start;
    qsizetype selected = length;
    for (QChar c : pasted.first(qMin(room, pasted.size()))) {
        if (!acceptsTypedCharacter(rule, {text, caret, selected}, c))
            return false;
        text.replace(caret, selected, c);
        ++caret;
        selected = 0;
    }
    return true;
}

}  // namespace td
