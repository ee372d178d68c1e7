// The engine knows no windows: the application hands it the translator for its texts, the
// display decimal separator of the user-interface language, and the wait cursor for long
// calculations.
#pragma once

// After the translation tables are loaded.
void ConnectEngineToApplication();
// The decimal separator of the language the application base chose last.
void ApplyUiLanguageToEngine();
// English texts again; before the translator goes.
void DisconnectEngineFromApplication();
