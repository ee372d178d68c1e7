#include "TAMBEL/Report/EmailTemplate.h"
#include "Platform/WholeFile.h"

#include <sstream>

bool CEmailTemplate::Read(const std::string& path, std::string& subject, std::string& body)
{
    std::string text;
    if (!Platform::ReadWholeFile(path, text))
        return false;
    Parse(text, subject, body);
    return true;
}

void CEmailTemplate::Parse(const std::string& text, std::string& subject, std::string& body)
{
    static const std::string kSubject = "SUBJECT:";
    std::istringstream in(text);
    std::string line;
    bool first = true;
    bool anyBodyLine = false;
    body.clear();
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first && line.compare(0, kSubject.size(), kSubject) == 0) {
            subject = line.substr(kSubject.size());
        } else {
            if (anyBodyLine)
                body += "\n";
            body += line;
            anyBodyLine = true;
        }
        first = false;
    }
}
