#pragma once

// Evaluation of a compiled filter expression against one record.

#include "platform/ExprNode.h"
#include "platform/Variant.h"

#include <string>
#include <string_view>

// The record under test, as the filter sees it: a field's value by name (null when the field is
// null). An unknown name raises the framework's field-not-found error.
class FilterFieldValues
{
public:
    virtual ~FilterFieldValues() = default;
    virtual Variant FieldValue(const std::string &fieldName) const = 0;
    // The value of a field node of the tree being evaluated. A reader that bound the tree's field
    // nodes to its fields answers without looking the name up.
    virtual Variant FieldNodeValue(const ExprNode &field) const { return FieldValue(field.Name); }
};

// The value of an expression for the record: null and empty stand for a missing value, which
// every comparison and logical operator turns into False and arithmetic passes on as null.
// Raises EMemTableFilterError for a node, operator, constant type or function it does not know.
Variant EvaluateFilterExpression(const ExprNode &node, const FilterFieldValues &record);

// Whether the record passes: the expression's value as a Boolean, a null or empty value failing.
bool FilterExpressionAccepts(const ExprNode &root, const FilterFieldValues &record);

// LIKE: "%" and "*" match the rest of the value (also nothing), "?" and "_" one character; letters
// a-z match in either case. A value shorter than the pattern matches only when what is left of
// the pattern is "%", "*" or "?" alone.
bool MatchesLikePattern(std::string_view value, std::string_view pattern);
