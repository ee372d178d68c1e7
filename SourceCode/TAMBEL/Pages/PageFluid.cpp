#include "TAMBEL/Pages/PageFluid.h"

#include "TAMBEL/Resource.h"

CPageFluid::CPageFluid()
    : CTemplatePage("CPageFluid")
{
}

bool CPageFluid::Create(wxWindow* parent)
{
    return CreateFromResource(parent, IDD_PAGE_FLUID);
}
