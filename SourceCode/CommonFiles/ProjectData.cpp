#include "CommonFiles/ProjectData.h"

#include "CommonFiles/InstanceHolder.h"

#include <memory>

CProjectData* CProjectData::GetInstance()
{
    return CInstanceHolder<CProjectData>::Get();
}

void CProjectData::Reset()
{
    physical.Reset();
    features.RemoveAll();
    customer.Reset();
    results.RemoveAll();
}

void CProjectData::TakeFrom(CProjectData& loaded)
{
    // The fluid moves over as it is; CopyTo then only copies values and cannot fail.
    std::unique_ptr<CFluid> fluid = std::move(loaded.physical.Fluid);
    loaded.physical.CopyTo(physical);
    physical.Fluid = std::move(fluid);
    features = loaded.features;
    customer = loaded.customer;
    results.RemoveAll();
    for (int i = 0; i < loaded.results.GetCount(); ++i)
        results.Add(loaded.results.GetAt(i));
    loaded.Reset();
}
