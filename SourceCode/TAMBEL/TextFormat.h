// Filling the markers of a translated message text. The format comes from the translation
// tables, so it is never handed to printf: each conversion ("%s", "%.02f", ...) takes the next
// ready-made text in turn, "%%" gives "%", and markers beyond the texts stay empty.
#pragma once

#include <initializer_list>
#include <string>

std::string FillText(const std::string& format, std::initializer_list<std::string> texts);
