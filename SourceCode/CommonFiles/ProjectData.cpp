#include "CommonFiles/ProjectData.h"

#include "CommonFiles/InstanceHolder.h"

#include <memory>

CProjectData* CProjectData::GetInstance()
{
    return CInstanceHolder<CProjectData>::Get();
}

void CProjectData::Reset()
{
    Physical.Reset();
    Devices.RemoveAll();
    Customer.Reset();
    Results.RemoveAll();
}

void CProjectData::TakeFrom(CProjectData& loaded)
{
    // The fluid moves over as it is; CopyTo then only copies values and cannot fail.
    std::unique_ptr<CFluid> fluid = std::move(loaded.Physical.Fluid);
    loaded.Physical.CopyTo(Physical);
    Physical.Fluid = std::move(fluid);
    Devices = loaded.Devices;
    Customer = loaded.Customer;
    Results.RemoveAll();
    for (int i = 0; i < loaded.Results.GetCount(); ++i)
        Results.Add(loaded.Results.GetAt(i));
    loaded.Reset();
}
