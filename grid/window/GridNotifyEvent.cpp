#include "grid/window/GridNotifyEvent.h"

wxDEFINE_EVENT(EVT_GRIDCTRL_NOTIFY, CGridNotifyEvent);

CGridNotifyEvent::CGridNotifyEvent(wxEventType type, int id, int code, int row, int col)
    : wxNotifyEvent(type, id), m_code(code), m_row(row), m_col(col)
{
}
