// Keeps the update server's password from being read at a glance in the stored settings and
// the update list. A keyless, reversible rearrangement: the text keeps its length, and
// characters outside the alphabet keep their code. It protects against casual reading only.
#pragma once

#include <string>

class CTextScrambler {
public:
    virtual ~CTextScrambler() = default;

    static std::string Encode(const std::string& text);
    // Decode(Encode(t)) == t for every t.
    static std::string Decode(const std::string& text);

private:
    // c moved k places along the alphabet, wrapping round; c itself when not in the alphabet.
    static char Shift(char c, int k);
    // Swaps the even positions of the first half with their partners in the second half; its
    // own inverse.
    static void HalfSwap(std::string& text);
};
