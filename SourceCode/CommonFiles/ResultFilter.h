// Which result rows the results page hides: rows with errors, rows whose flow range does not
// suit the operating flow, rows with too small a turndown, and special versions of a device
// whose standard version is shown.
#pragma once

class CResultFilter {
public:
    CResultFilter() { Reset(); }

    // Every switch on, minimum turndown 4, flow-range percentage 100.
    void Reset();

    int HideErrors;
    int HideLargeFlowRange;   // the operating flow at or below the minimum flow
    int HideSmallTurndown;
    double MinTurndown;
    int HideSmallFlowRange;   // the operating flow, as a percentage, above the maximum flow
    double MaxFlowPercent;
    int HideSpecialDevices;
};
