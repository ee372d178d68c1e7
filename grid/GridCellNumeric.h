// A text cell whose editor takes digits only, whatever restrictions the cell was given, and
// edits left-aligned.
#pragma once

#include "grid/GridCell.h"

class CGridCellNumeric : public CGridCell {
protected:
    void PrepareEditor(CGridEditRequest& request) const override;
};
