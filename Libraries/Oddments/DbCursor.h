// The result rows of one statement, as a provider hands them out.
#pragma once

#include "Oddments/DbColumn.h"
#include "Oddments/OleDbTypes.h"

#include <vector>

// The columns are known as soon as the statement ran.
class CDbCursor {
public:
    virtual ~CDbCursor() = default;

    std::vector<CDbColumn>& GetColumns() { return m_columns; }
    const std::vector<CDbColumn>& GetColumns() const { return m_columns; }

    // Fills every column with the next row: S_OK, DB_S_ENDOFROWSET after the last row (the
    // columns are then left as they are), or an error. Text handed to the columns by
    // reference stays valid until the next call.
    virtual HRESULT Fetch() = 0;

protected:
    std::vector<CDbColumn> m_columns;
};
