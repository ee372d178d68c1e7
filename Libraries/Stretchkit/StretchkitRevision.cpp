#include "Stretchkit/StretchkitRevision.h"

const char* StretchkitGetRevision()
{
    return "187";
}

const char* StretchkitGetRevisionDate()
{
    return "2006/10/16 22:10:31";
}
