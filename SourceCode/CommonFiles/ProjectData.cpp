#include "CommonFiles/ProjectData.h"

#include "CommonFiles/InstanceHolder.h"

CProjectData* CProjectData::GetInstance()
{
    return CInstanceHolder<CProjectData>::Get();
}
