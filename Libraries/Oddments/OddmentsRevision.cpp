#include "Oddments/OddmentsRevision.h"

const char* OddmentsGetRevision()
{
    return "207";
}

const char* OddmentsGetRevisionDate()
{
    return "2007/07/24 16:08:55";
}
