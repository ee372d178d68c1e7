// The numbers a page or dialog shows rounded to its digits, kept with the exact values they stand
// for. A field whose text is still the one shown reads back as the exact value, so that a page
// stored without an edit leaves every digit of what it was filled from.
#pragma once

#include <map>
#include <string>

class CShownNumbers {
public:
    // The text of field id showing value with that many significant digits; remembered.
    std::string Show(int id, double value, int digits);
    // The same with that many decimals.
    std::string ShowFixed(int id, double value, int decimals);
    // The field shows a text of another origin (emptied, typed, a message).
    void Forget(int id);
    void Clear();
    // The exact value shown while the field's text is the one shown, else typed, the number read
    // from the edited text.
    double Stored(int id, const std::string& text, double typed) const;

private:
    std::string Remember(int id, std::string text, double value);

    struct SShown {
        std::string text;
        double value;
    };
    std::map<int, SShown> m_shown;
};
