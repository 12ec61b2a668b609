#pragma once

// Compiler of the dataset framework's filter language into an ExprNode tree.

#include "platform/ExprNode.h"
#include "platform/FieldTypes.h"
#include "platform/FilterOptions.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// Gives the type of the dataset's field with that name, or nothing when there is none. Keeps the
// compiler independent of the dataset classes.
using FieldTypeOf = std::function<std::optional<TFieldType>(const std::string &fieldName)>;

class TExprParser
{
public:
    // Deeper nesting than this is refused, so a hostile text cannot exhaust the stack.
    static constexpr int MaxNesting = 512;

    // Compiles a filter text (cp1250). Raises EDatabaseError when the text does not compile,
    // saying what was expected and at which character position, or when it names a field
    // fieldTypeOf does not know ("Field '%s' not found").
    TExprParser(const std::string &text, const FieldTypeOf &fieldTypeOf, TFilterOptions options);

    const ExprNode &Root() const { return *root_; }

private:
    std::unique_ptr<const ExprNode> root_;
};
