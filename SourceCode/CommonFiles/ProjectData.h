// The project the program works on: physical data, device selection, customer record and
// result list, one process-wide set. The pages store into it and load from it; the project file
// and production-database commands replace it as a whole.
#pragma once

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"

class CProjectData {
public:
    // Null only while the process ends.
    static CProjectData* GetInstance();

    CProjectData() = default;
    CProjectData(const CProjectData&) = delete;
    CProjectData& operator=(const CProjectData&) = delete;

    // Every part emptied: no fluid, no selection, no customer, no results.
    void Reset();
    // Every part replaced by that of loaded, which is left emptied. Cannot fail part-way, so
    // readers fill a project of their own and take it over only once everything was read.
    void TakeFrom(CProjectData& loaded);

    CPhysicalData Physical;
    CDeviceConfiguration Devices;
    CCustomerData Customer;
    CResultData Results;
};
