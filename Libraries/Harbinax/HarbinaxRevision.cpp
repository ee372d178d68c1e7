#include "Harbinax/HarbinaxRevision.h"

const char* HarbinaxGetRevision()
{
    return "210";
}

const char* HarbinaxGetRevisionDate()
{
    return "2008/03/01 11:06:20";
}
