#include "GermanLocale.h"

#include <clocale>

bool GermanLocale::Enter()
{
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

GermanLocale::~GermanLocale()
{
    std::setlocale(LC_ALL, "C");
}
