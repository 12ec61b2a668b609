#pragma once

// Whole numbers the planner types where a count belongs (head counts, capacities, shares).

#include <QString>

#include <optional>

// The number a text of decimal digits stands for (blanks around it allowed); none for anything
// else: a sign, a hexadecimal "$1F", a word, or a number too large for an integer.
std::optional<int> countOf(const QString &text);
// The Hungarian refusal of a text that is no count.
QString countRefusal(const QString &text);
