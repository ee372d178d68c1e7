// What a project was at one moment, kept as the text of its project file, so that a later look
// tells whether anything in it changed since: physical data, device selection, customer record
// and results alike, without a flag in every place that edits them.
#pragma once

#include <optional>
#include <string>

class CProjectData;

class CProjectSnapshot {
public:
    void Take(const CProjectData& project);
    // True when the project's text is not the one taken, and also when either cannot be made
    // (nothing taken yet, a part that cannot be written): unable to tell, the project counts as
    // changed rather than lost unasked.
    bool Differs(const CProjectData& project) const;

private:
    static std::optional<std::string> Text(const CProjectData& project);

    std::optional<std::string> m_text;
};
