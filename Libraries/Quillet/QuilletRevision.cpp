#include "Quillet/QuilletRevision.h"

const char* QuilletGetRevision()
{
    return "167";
}

const char* QuilletGetRevisionDate()
{
    return "2006/07/18 12:00:55";
}
