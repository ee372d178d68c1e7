// Why a statement failed, in terms the user can act on: taken from the provider's result and
// from whether the connection it ran on can still be used.
#pragma once

#include "Oddments/OleDbTypes.h"

class CDbFailureCause {
public:
    enum Cause {
        Unknown,
        // The connection broke off or was given up: nothing of an open transaction was kept.
        ConnectionLost,
        // The database, its folder or a side file of it refuses to be written.
        NotWritable,
        DiskFull,
        // Another program held the database for longer than the statement waits.
        Busy,
        // The statement names a table that the database does not have.
        TablesMissing,
    };

    static Cause Of(HRESULT result, bool connectionLost);
};
