// Runs a test under the German locale, whose decimal separator is ',': machine text must not
// follow it. The C locale is back at the end of the test.
#pragma once

class GermanLocale {
public:
    // False when the locale is not installed (scripts/install-deps.sh generates it).
    bool Enter();
    ~GermanLocale();
};
