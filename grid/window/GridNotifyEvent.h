// What the grid window tells its owner, sent synchronously: clicks, selection and editing steps,
// and in virtual mode the requests for cell contents and the cache hints. Vetoing the event is
// the negative reply (an edit that may not begin or end).
#pragma once

#include "grid/CellRange.h"
#include "grid/GridItemInfo.h"

#include <wx/event.h>

class CGridNotifyEvent : public wxNotifyEvent {
public:
    CGridNotifyEvent(wxEventType type, int id, int code, int row, int col);

    int GetCode() const { return m_code; }
    int GetRow() const { return m_row; }
    int GetColumn() const { return m_col; }
    // A reply other than a veto.
    long GetReply() const { return m_reply; }
    void SetReply(long reply) { m_reply = reply; }
    // Virtual mode: the record the owner fills (null otherwise).
    GridItemInfo* GetItemInfo() const { return m_info; }
    void SetItemInfo(GridItemInfo* info) { m_info = info; }
    const CCellRange& GetCacheRange() const { return m_range; }
    void SetCacheRange(const CCellRange& range) { m_range = range; }

    wxEvent* Clone() const override { return new CGridNotifyEvent(*this); }

private:
    int m_code;
    int m_row;
    int m_col;
    long m_reply = 0;
    GridItemInfo* m_info = nullptr;
    CCellRange m_range;
};

wxDECLARE_EVENT(EVT_GRIDCTRL_NOTIFY, CGridNotifyEvent);
