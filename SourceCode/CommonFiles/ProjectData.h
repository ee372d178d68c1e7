// The project the program works on: one physical-data record and one customer record for the
// whole process. The pages keep nothing of their own; they load from and store into these.
#pragma once

#include "CommonFiles/CustomerData.h"
#include "CommonFiles/PhysicalData.h"

class CProjectData {
public:
    // Made on the first call, deleted at process end; null when called after that.
    static CProjectData* GetInstance();

    CPhysicalData PhysicalData;
    CCustomerData CustomerData;
};
