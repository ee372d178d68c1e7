#include "Harbinax/LibraryVersions.h"

#include "Harbinax/HarbinaxRevision.h"
#include "Polyglotta/PolyglottaRevision.h"
#include "Quillet/LogManager.h"
#include "Quillet/QuilletRevision.h"
#include "Stretchkit/StretchkitRevision.h"

namespace {

// The libraries this one is built with answer for themselves; the others are listed as they are.
const struct {
    const char* label;
    const char* revision;
    const char* date;
} libraries[] = {
    {"RenovixLib:", "213", "2008/03/22 09:49:49"},
    {"Glyphora:", "197", "2007/01/08 15:17:03"},
    {"cvLib:  ", "205", "2007/05/03 17:48:06"},
    {"Dostrel:", "47", "2005/04/01 09:14:05"},
    {"Pagewright:", "208", "2007/08/31 12:24:33"},
    {"Stretchkit:", StretchkitGetRevision(), StretchkitGetRevisionDate()},
    {"Oddments:", "207", "2007/07/24 16:08:55"},
    {"TinyXml:", "56", "2005/08/15 10:49:09"},
    {"Quillet:", QuilletGetRevision(), QuilletGetRevisionDate()},
    {"Polyglotta:", PolyglottaGetRevision(), PolyglottaGetRevisionDate()},
    {"Harbinax:", HarbinaxGetRevision(), HarbinaxGetRevisionDate()},
};

}  // namespace

void cvLogLibraryVersions(const char* loggerName, int level)
{
    CLogger log = CLogManager::GetInstance()->GetLogger(
        loggerName && *loggerName ? loggerName : "cvVersionInfo", LOGLEVEL_PARENT);
    for (const auto& library : libraries)
        log.Log(level, "%s\tRevision: %s\tDate:%s", library.label, library.revision, library.date);
}
