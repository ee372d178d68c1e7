#include "CommonFiles/ProjectSnapshot.h"

#include "CommonFiles/ProjectFile.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

std::optional<std::string> CProjectSnapshot::Text(const CProjectData& project)
{
    TiXmlDocument doc;
    if (CProjectFile::Write(project, doc))
        return std::nullopt;
    return CXmlFile::ToText(doc);
}

void CProjectSnapshot::Take(const CProjectData& project)
{
    m_text = Text(project);
}

bool CProjectSnapshot::Differs(const CProjectData& project) const
{
    const std::optional<std::string> now = Text(project);
    return !m_text || !now || *now != *m_text;
}
