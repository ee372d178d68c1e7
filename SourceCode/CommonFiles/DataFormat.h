// Numbers as short readable texts: rounded to a number of significant digits, without trailing
// zeros, "NaN", "INF" and "-INF" for the non-finite values. A DataFormat object also tracks the
// largest number of decimals over a series of numbers, so a column can share one precision.
//
// Format and FormatWithDecimals make text for people and use the display decimal separator
// (the user-interface language's, set by the application). FormatSql makes machine text (SQL,
// XML) and always uses '.'. Neither depends on the process locale.
#pragma once

#include <string>

class DataFormat {
public:
    DataFormat();
    ~DataFormat();

    int GetDecimals() const;
    // The number of decimals of Format(x, digits, dropPoint). With reset it becomes the
    // stored decimals, otherwise only when larger than them.
    int TrackDecimals(double x, int digits, bool reset, bool dropPoint);

    // x rounded to digits significant digits (none for 0 or less) with ten decimals at most,
    // trailing zeros removed; a trailing decimal point is dropped with dropPoint, else
    // completed with "0" (12 -> "12.0" or "12").
    static std::string Format(double x, int digits, bool dropPoint);
    // Unchanged for digits of 0 or less, for 0 and for non-finite values, and where rounding
    // would carry a finite value beyond the largest double.
    static double RoundToSignificantDigits(double x, int digits);
    // x with the stored number of decimals.
    std::string FormatWithDecimals(double x) const;
    // x with exactly that many decimals (2.5 with 2: "2.50"), for values shown at a fixed
    // precision.
    static std::string FormatFixed(double x, int decimals);
    // A number as the user typed it or Format wrote it, with '.' or ',' as decimal separator;
    // what follows the number is ignored, and text that starts with no number reads as 0.
    static double Parse(const std::string& text);
    // Format with '.' as decimal separator; digits of -1 do not round.
    static std::string FormatSql(double x, int digits, bool dropPoint);

    // The decimal separator of displayed numbers ('.' until the application sets another).
    static void SetDisplayDecimalSeparator(char separator);
    static char GetDisplayDecimalSeparator();

private:
    int m_decimals;
};
