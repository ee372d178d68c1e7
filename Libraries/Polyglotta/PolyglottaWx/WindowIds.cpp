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

// Resource ids that wx cannot take as they are, and where their windows' ids lie: the program's
// own commands among wx's menu ids (0 to 32766), and control ids in wx's reserved range just
// below the commands.
struct SRange {
    SIds first;
    int count;
};

constexpr int kReservedCount = wxID_HIGHEST - wxID_LOWEST + 1;
constexpr SRange kMovedRanges[] = {
    {{0x8000, 0x6000}, 0x7FFF - 0x6000},
    {{wxID_LOWEST, 0x6000 - kReservedCount}, kReservedCount},
};

int Map(int id, int SIds::*from, int SIds::*to)
{
    for (const SIds& ids : kStandardIds) {
        if (ids.*from == id)
            return ids.*to;
    }
    for (const SRange& range : kMovedRanges) {
        if (id >= range.first.*from && id < range.first.*from + range.count)
            return id - range.first.*from + range.first.*to;
    }
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
