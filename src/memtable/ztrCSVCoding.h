#pragma once

// The codings the CSV data files put values and definition lines through. All texts are bytes
// (cp1250); a quote or escape character of #0 means "none".

#include <string>
#include <string_view>
#include <vector>

// Wraps text in quote with every quote inside doubled; a quote of #0 leaves text as it is.
std::string CSVQuoteText(std::string_view text, char quote);

// The two codings the writer applies to every value, appended to the line being built.
void CSVAppendQuoted(std::string &out, std::string_view text, char quote);
void CSVAppendEscaped(std::string &out, std::string_view text, char escape);

// Reads back a whole quoted text: the characters up to the first single closing quote, a doubled
// quote read as one (the rest of an unclosed text is taken). A text that does not begin with
// quote is empty; a quote of #0 leaves text as it is.
std::string CSVUnquoteText(std::string_view text, char quote);

// Line breaks, #0 and the TAB that separates items cannot stand in a value of the file, so they
// travel escaped: #0 as E"0", LF as E"n", CR as E"c", TAB as E"t", and E itself doubled.
std::string CSVEscapeEncode(std::string_view text, char escape);
// The reverse; an escape as the very last character is dropped, and an escape before any other
// byte yields that byte.
std::string CSVEscapeDecode(std::string_view text, char escape);

// Binary values as printable characters: six bits per character, least significant bits first,
// each character between the blank and the underscore.
std::string CSVSixBitEncode(std::string_view bytes);
std::string CSVSixBitDecode(std::string_view text);

// The items of a comma-separated definition list: blanks and control characters around items are
// skipped and also end an unquoted item; an item in double quotes runs to its closing quote with
// doubled quotes read as one; a comma at the very end adds an empty last item.
std::vector<std::string> CSVSplitCommaText(std::string_view text);
