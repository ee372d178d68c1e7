#include "Oddments/DbFailureCause.h"

CDbFailureCause::Cause CDbFailureCause::Of(HRESULT result, bool connectionLost)
{
    // A lost connection explains any result, a deadline's included.
    if (connectionLost)
        return ConnectionLost;
    switch (result) {
    case DB_SEC_E_PERMISSIONDENIED:
        return NotWritable;
    case STG_E_MEDIUMFULL:
        return DiskFull;
    case DB_E_TABLEINUSE:
        return Busy;
    case DB_E_NOTABLE:
        return TablesMissing;
    default:
        return Unknown;
    }
}
