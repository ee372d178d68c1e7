#include "TAMBEL/Pages/PageConfiguration.h"

#include "TAMBEL/Resource.h"

CPageConfiguration::CPageConfiguration()
    : CTemplatePage("CPageConfiguration")
{
}

bool CPageConfiguration::Create(wxWindow* parent)
{
    return CreateFromResource(parent, IDD_PAGE_CONFIGURATION);
}
