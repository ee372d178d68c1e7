#include "PolyglottaWx/WindowIds.h"

#include <wx/defs.h>

namespace {

struct SIds {
    int resourceId;
    int windowId;
};

const SIds kStandardIds[] = {
    {1, wxID_OK},
    {2, wxID_CANCEL},
    {57601, wxID_OPEN},
    {57603, wxID_SAVE},
    {57606, wxID_PRINT_SETUP},
    {57634, wxID_COPY},
    {57635, wxID_CUT},
    {57637, wxID_PASTE},
    {57642, wxID_SELECTALL},
    {57665, wxID_EXIT},
    {57670, wxID_HELP},
};

// The program's own commands and where they lie among wx's menu ids (0 to 32766).
constexpr SIds kFirstCommand = {0x8000, 0x6000};
constexpr int kCommandCount = 0x7FFF - kFirstCommand.windowId;

int Map(int id, int SIds::*from, int SIds::*to)
{
    for (const SIds& ids : kStandardIds) {
        if (ids.*from == id)
            return ids.*to;
    }
    if (id >= kFirstCommand.*from && id < kFirstCommand.*from + kCommandCount)
        return id - kFirstCommand.*from + kFirstCommand.*to;
    return id;
}

}  // namespace

int CWindowIds::FromResourceId(int resourceId)
{
    return Map(resourceId, &SIds::resourceId, &SIds::windowId);
}

int CWindowIds::ToResourceId(int windowId)
{
    return Map(windowId, &SIds::windowId, &SIds::resourceId);
}
