// The project the user works on, once for the whole process: physical data, device-feature
// selection, customer record (with the order-number key) and result list. The pages edit it,
// the project file and the production database read and write it.
#pragma once

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/DeviceConfiguration.h"
#include "CommonFiles/PhysicalData.h"
#include "CommonFiles/ResultData.h"

class CProjectData {
public:
    // Null only while the process ends.
    static CProjectData* GetInstance();

    // Every part emptied: no fluid, no selection, no customer, no results.
    void Reset();
    // Every part replaced by that of loaded, which is left emptied. Cannot fail part-way, so
    // readers fill a project of their own and take it over only once everything was read.
    void TakeFrom(CProjectData& loaded);

    CPhysicalData physical;
    CDeviceConfiguration features;
    CCustomerData customer;
    CResultData results;
};
