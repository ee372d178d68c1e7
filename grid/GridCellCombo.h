// A cell whose value is chosen from a list of options: drawn like a text cell with a drop-down
// button while it may be edited, edited in a combo box that either takes free text as well
// (drop-down) or only the options (drop-down list).
#pragma once

#include "grid/GridCell.h"

#include <cstdint>
#include <string>
#include <vector>

// Combo styles: free text or an option (the default), or only an option.
enum : std::uint32_t { CBS_DROPDOWN = 2, CBS_DROPDOWNLIST = 3 };

class CGridCellCombo : public CGridCell {
public:
    void SetOptions(const std::vector<std::string>& options) { m_options = options; }
    const std::vector<std::string>& GetOptions() const { return m_options; }
    void SetStyle(std::uint32_t style) { m_style = style; }
    std::uint32_t GetStyle() const { return m_style; }

    bool Draw(IGridPainter& painter, int row, int col, CGridRect rect, bool erase) override;
    // The text cell's size and room for the button.
    CGridSize GetCellExtent() const override;
    // None in drop-down-list style: only an option can be chosen, nothing typed or pasted.
    IGridEditor* GetEditWnd() const override;

protected:
    void PrepareEditor(CGridEditRequest& request) const override;

private:
    std::vector<std::string> m_options;
    std::uint32_t m_style = CBS_DROPDOWN;
};
