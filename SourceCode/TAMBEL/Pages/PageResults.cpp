#include "TAMBEL/Pages/PageResults.h"

#include "TAMBEL/Resource.h"

CPageResults::CPageResults()
    : CTemplatePage("CPageResults")
{
}

bool CPageResults::Create(wxWindow* parent)
{
    return CreateFromResource(parent, IDD_PAGE_RESULTS);
}
