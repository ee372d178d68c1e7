#include "Harbinax/LibraryVersions.h"

#include "Quillet/LogManager.h"

namespace {

const struct {
    const char* label;
    const char* revision;
    const char* date;
} libraries[] = {
    {"RenovixLib:", "213", "2008/03/22 09:49:49"}, {"Glyphora:", "197", "2007/01/08 15:17:03"},
    {"cvLib:  ", "205", "2007/05/03 17:48:06"},    {"Dostrel:", "47", "2005/04/01 09:14:05"},
    {"Pagewright:", "208", "2007/08/31 12:24:33"}, {"Stretchkit:", "187", "2006/10/16 22:10:31"},
    {"Oddments:", "207", "2007/07/24 16:08:55"},   {"TinyXml:", "56", "2005/08/15 10:49:09"},
    {"Quillet:", "167", "2006/07/18 12:00:55"},    {"Polyglotta:", "210", "2008/03/01 11:06:20"},
    {"Harbinax:", "210", "2008/03/01 11:06:20"},
};

}  // namespace

void cvLogLibraryVersions(const char* loggerName, int level)
{
    CLogger log = CLogManager::GetInstance()->GetLogger(
        loggerName && *loggerName ? loggerName : "cvVersionInfo", LOGLEVEL_PARENT);
    for (const auto& library : libraries)
        log.Log(level, "%s\tRevision: %s\tDate:%s", library.label, library.revision, library.date);
}
