// Texts a user reads, looked up by their English text in the application's translator, which
// lives on the window side: the application hands over a look-up, and the libraries below the
// window side take their texts from here. Without one (tools, tests) the English text stands.
#pragma once

#include <functional>
#include <string>

class CUiTexts {
public:
    // (English text, language code or empty for the current language) -> the text, empty when
    // the tables have none.
    typedef std::function<std::string(const std::string& english, const std::string& language)> Source;

    // An empty source restores the English texts.
    static void SetSource(Source source);
    static std::string Translate(const char* english, const std::string& language = std::string());

private:
    static Source& Current();
};
