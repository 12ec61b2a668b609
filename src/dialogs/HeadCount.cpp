#include "dialogs/HeadCount.h"

#include <algorithm>

std::optional<int> countOf(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty()
        || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool fits = false;
    const int count = digits.toInt(&fits, 10);
    return fits ? std::optional<int>(count) : std::nullopt;
}

QString countRefusal(const QString &text)
{
    // Worded as the number conversions word their refusals.
    return QLatin1Char('\'') + text + QLatin1Char('\'')
           + QStringLiteral(" nem érvényes szám: csak számjegyekkel írt, nem negatív egész szám adható meg!");
}
