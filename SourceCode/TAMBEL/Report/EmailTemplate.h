// The e-mail body template of a language: an optional first line "SUBJECT:" followed by the
// subject (kept as written), then the body's lines.
#pragma once

#include <string>

class CEmailTemplate {
public:
    // False, with subject and body untouched, when the file cannot be read. Line ends of either
    // system are accepted; the body's lines are joined with "\n".
    static bool Read(const std::string& path, std::string& subject, std::string& body);
    static void Parse(const std::string& text, std::string& subject, std::string& body);
};
