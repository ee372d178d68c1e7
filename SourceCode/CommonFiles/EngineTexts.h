// The engine's user-interface texts (string table entries) come from the application's
// translator, which lives on the window side. The application hands the engine a look-up;
// without one (tools, tests) the English text stands.
#pragma once

#include "Platform/UiTexts.h"

#include <functional>
#include <string>

class CEngineTexts {
public:
    // (string id, language code or empty for the current language) -> the text, empty when
    // the table has none.
    typedef std::function<std::string(int id, const std::string& language)> StringSource;
    // (English text, language code or empty for the current language) -> the text, empty when
    // the tables have none.
    typedef CUiTexts::Source TextSource;

    // An empty source restores the English texts.
    static void SetStringSource(StringSource source);

    // The text of string id in the language; english when there is no source or it has no
    // text for the id.
    static std::string GetString(int id, const std::string& language, const char* english);

    // Texts keyed by their English text (the messages of the string table), the same way; one
    // source with the libraries' texts (CUiTexts).
    static void SetTextSource(TextSource source);
    static std::string Translate(const char* english, const std::string& language);

private:
    static StringSource& Source();
};
