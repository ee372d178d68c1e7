// Letter case and blanks of machine text (keys, type names, provider names, number text) by
// the ASCII rules alone. The C library's toupper, tolower, isspace and strcasecmp follow the
// process locale: under a Turkish one toupper('i') stays 'i', so "integer" would no longer
// match "INTEGER".
#pragma once

#include <string>
#include <string_view>

namespace Platform {

char AsciiUpper(char c);
char AsciiLower(char c);
// The text with every ASCII letter in lower case.
std::string AsciiLowerText(std::string_view text);

// Space, tab, line feed, carriage return, form feed and vertical tab.
bool IsAsciiBlank(char c);

// The text without the blanks around it.
std::string_view TrimAsciiBlanks(std::string_view text);

// Equal when upper and lower case ASCII letters are taken as the same.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace Platform
