// Display conditions: "NAME", "!NAME" or NAME, an operator (!= == >= > <= <) and a value, joined
// by " AND " and " OR " and read strictly left to right. Names are the document's variables.
#pragma once

#include <string>

class CReport;

class CDisplayCondition {
public:
    // True for an empty condition; without a document every term holds.
    static bool Evaluate(const std::string& condition, const CReport* document);
    static bool EvaluateTerm(const std::string& term, const CReport* document);
};
