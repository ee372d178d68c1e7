#include "Polyglotta/PolyglottaRevision.h"

const char* PolyglottaGetRevision()
{
    return "210";
}

const char* PolyglottaGetRevisionDate()
{
    return "2008/03/01 11:06:20";
}
