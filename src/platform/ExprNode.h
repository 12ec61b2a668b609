#pragma once

// The compiled form of a filter text: a tree whose node classes and operator numbers are the
// dataset framework's, so an evaluator written against the framework's expression layout reads
// it the same way.

#include "platform/DateTime.h"
#include "platform/FieldTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

enum class ExprNodeClass : std::uint32_t {
    Unary = 1,
    Binary = 2,
    Compare = 3,
    Field = 4,
    Constant = 5,
    Function = 10,
    ListElement = 11,
};

enum class ExprOperator : std::uint32_t {
    IsNull = 1,
    IsNotNull = 2,
    Equal = 3,
    NotEqual = 4,
    Greater = 5,
    Less = 6,
    GreaterOrEqual = 7,
    LessOrEqual = 8,
    Not = 9,
    And = 10,
    Or = 11,
    Field = 13,
    Constant = 14,
    Negate = 15,
    Add = 16,
    Subtract = 17,
    Multiply = 18,
    Divide = 19,
    Modulo = 20,
    Remainder = 21,
    Like = 30,
    In = 31,
    Upper = 33,
    Lower = 34,
    Function = 35,
    ListElement = 36,
};

// A constant's value; which alternative it holds follows the constant's DataType (texts are
// cp1250 bytes like every text of the framework).
using ExprValue = std::variant<std::monostate, std::string, std::int32_t, double, bool, TDateTime>;

struct ExprNode
{
    ExprNodeClass NodeClass = ExprNodeClass::Constant;
    ExprOperator Operator = ExprOperator::Constant;

    // Unary: the operand. Binary and compare: the left side. List element: the element.
    // Function: the first element of the argument list (none without arguments).
    std::unique_ptr<ExprNode> Left;
    // Binary and compare: the right side (for IN, the first element of the list).
    // List element: the rest of the list (none after the last element).
    std::unique_ptr<ExprNode> Right;

    // Compare nodes: texts are compared upper-cased, and cut to PartialLength characters when
    // that is above 0.
    bool CaseInsensitive = false;
    int PartialLength = 0;

    // Field nodes: the field name as written; function nodes: the function name in upper case.
    std::string Name;

    // Constant nodes: the value's type. Field nodes: the field's type.
    TFieldType DataType = ftUnknown;
    ExprValue Value;

    // Levels from this node down to its deepest leaf; the compiler bounds it so that walking
    // or freeing a tree can never exhaust the stack.
    int Height = 1;
};
