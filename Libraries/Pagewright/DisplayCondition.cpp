#include "Pagewright/DisplayCondition.h"

#include "Pagewright/Report.h"
#include "Pagewright/ReportValues.h"
#include "Platform/NumberText.h"

bool CDisplayCondition::Evaluate(const std::string& condition, const CReport* document)
{
    static const std::string kAnd = " AND ";
    static const std::string kOr = " OR ";
    bool result = true;
    bool pendingOr = false;
    std::string rest = condition;
    while (!rest.empty()) {
        const std::size_t andAt = rest.find(kAnd);
        const std::size_t orAt = rest.find(kOr);
        std::string term;
        bool nextOr = false;
        if (andAt == std::string::npos && orAt == std::string::npos) {
            term.swap(rest);
            rest.clear();
        } else if (orAt != std::string::npos && (andAt == std::string::npos || orAt < andAt)) {
            term = rest.substr(0, orAt);
            rest.erase(0, orAt + kOr.size());
            nextOr = true;
        } else {
            term = rest.substr(0, andAt);
            rest.erase(0, andAt + kAnd.size());
        }
        // No precedence, and a term is only looked at when it can change the result.
        if (pendingOr ? !result : result)
            result = EvaluateTerm(term, document);
        pendingOr = nextOr;
    }
    return result;
}

bool CDisplayCondition::EvaluateTerm(const std::string& term, const CReport* document)
{
    if (term.empty() || document == nullptr)
        return true;
    static const char* const kOperators[] = {"!=", "==", ">=", ">", "<=", "<"};
    std::string name;
    std::string value;
    std::string op;
    bool negate = false;
    for (const char* candidate : kOperators) {
        const std::size_t at = term.find(candidate);
        // An operator at the very start belongs to the name.
        if (at != std::string::npos && at >= 1) {
            op = candidate;
            name = term.substr(0, at);
            value = term.substr(at + op.size());
            break;
        }
    }
    if (op.empty()) {
        negate = term[0] == '!';
        const std::size_t start = term.find_first_not_of('!');
        if (start != std::string::npos)
            name = term.substr(start);
    }
    const std::string actual = document->GetVariable(name);
    bool outcome;
    if (value.empty()) {
        outcome = !actual.empty();
    } else {
        int order;
        if (Pagewright::IsNumericText(actual) && Pagewright::IsNumericText(value)) {
            const double a = Platform::AtoF(actual.c_str());
            const double b = Platform::AtoF(value.c_str());
            order = a < b ? -1 : a > b ? 1 : 0;
        } else {
            const int compared = actual.compare(value);
            order = compared < 0 ? -1 : compared > 0 ? 1 : 0;
        }
        if (op == "!=")
            outcome = order != 0;
        else if (op == "==")
            outcome = order == 0;
        else if (op == ">=")
            outcome = order >= 0;
        else if (op == ">")
            outcome = order > 0;
        else if (op == "<=")
            outcome = order <= 0;
        else
            outcome = order < 0;
    }
    return negate ? !outcome : outcome;
}
