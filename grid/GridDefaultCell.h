// The cell that supplies the defaults of one kind of cell (ordinary, fixed row, fixed column,
// both): format, margin, font, colours, and the default size measured from its font.
#pragma once

#include "grid/GridCell.h"

class IGridTextMeasurer;

class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell();

    // Takes the font and measures margin and size with it; null keeps everything.
    void SetFont(const CGridFont* font) override;
    const CGridFont* GetFont() const override { return m_pFont.get(); }
    std::uint32_t GetState() const override { return CGridCell::GetState() | CELLSTATE_READONLY; }
    void SetState(std::uint32_t) override {}
    void SetData(std::intptr_t) override {}

    int GetWidth() const { return m_Size.cx; }
    int GetHeight() const { return m_Size.cy; }
    void SetWidth(int width) { m_Size.cx = width; }
    void SetHeight(int height) { m_Size.cy = height; }

    // Margin and size again from the font, with this measurer (none: 3 and 40 x 16).
    void Measure(IGridTextMeasurer* measurer);

private:
    CGridSize m_Size{30, 10};
};
