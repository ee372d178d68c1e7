#include "CommonFiles/ResultFilter.h"

void CResultFilter::Reset()
{
    HideErrors = 1;
    HideLargeFlowRange = 1;
    HideSmallTurndown = 1;
    MinTurndown = 4.0;
    HideSmallFlowRange = 1;
    MaxFlowPercent = 100.0;
    HideSpecialDevices = 1;
}
