// The user-interface languages the programs know, by their own two-letter codes (not all of
// them ISO 639: "cn", "cz", "dk", "gr", "jp", "kr" and "se"). Translation resources and
// satellite resource bundles are named with the same codes.
#pragma once

#include <string>

struct SUiLanguage {
    const char* code;       // "de"
    const char* name;       // English name, "german"
    char decimalSeparator;  // what number formatting and input filtering use for this language
};

// The row whose code or English name equals the text, trimmed of blanks on both sides and
// compared without regard to ASCII case; English for anything else.
const SUiLanguage& FindUiLanguage(const std::string& text);

// The English name of the user's language from the environment (LC_ALL, LC_MESSAGES, LANG,
// as setlocale would read them), for example "german" for de_DE.UTF-8; empty when that
// language is not one of ours or none is set.
std::string SystemLanguageName();

// $LANGUAGE as the desktop set it, empty when it set none, so that it exists before the toolkit
// starts threads of its own: afterwards it is only given new values, never added or removed.
// Called once, at the very start of the program.
void KeepLanguageVariable();

// GTK's own dialogs (file chooser, print dialog) take their texts from gettext, which follows the
// messages category of the C library's locale and, above it, $LANGUAGE. This sets both to the
// language when the system has a locale for it (the desktop's own locale when it is of that
// language, else the language's usual one), English being the "C" locale; otherwise the
// desktop's messages locale and $LANGUAGE stay. The character type category is "C.UTF-8"
// whenever the messages locale is not "C", so that translated texts of the C library and of
// libpq keep their letters, else "C". Numbers are machine text: LC_NUMERIC and every other
// category are left alone. The name of the messages locale now in use. Changes the process
// locale and environment: only on the user-interface thread, at the start and when the user
// changes the language.
std::string UseMessagesLocaleOf(const SUiLanguage& language);
