#pragma once

// The filter-text compiler the memory table builds its filter expression with.

#include "platform/ExprParser.h"

class TztrExprParser : public TExprParser
{
public:
    using TExprParser::TExprParser;
};
