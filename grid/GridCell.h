// The ordinary text cell: stores every attribute the base reads, and the input restrictions
// its in-place editor gets each time editing starts.
#pragma once

#include "grid/GridCellBase.h"

#include <memory>

class CInputFilter;
struct CGridEditRequest;

class CGridCell : public CGridCellBase {
public:
    CGridCell();

    void SetText(const std::string& text) override { m_strText = text; }
    void SetImage(int image) override { m_nImage = image; }
    void SetData(std::intptr_t data) override { m_lData = data; }
    void SetFormat(std::uint32_t format) override { m_nFormat = format; }
    void SetTextClr(GridColour colour) override { m_crText = colour; }
    void SetBackClr(GridColour colour) override { m_crBack = colour; }
    void SetFont(const CGridFont* font) override;
    void SetMargin(std::uint32_t margin) override { m_nMargin = margin; }
    void SetGrid(CGridCtrl* grid) override { m_pGrid = grid; }
    void SetCoords(int, int) override {}

    const std::string& GetText() const override { return m_strText; }
    int GetImage() const override { return m_nImage; }
    std::intptr_t GetData() const override { return m_lData; }
    std::uint32_t GetFormat() const override;
    GridColour GetTextClr() const override { return m_crText; }
    GridColour GetBackClr() const override { return m_crBack; }
    const CGridFont* GetFont() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    std::uint32_t GetMargin() const override;
    bool IsDefaultFont() const override { return !m_pFont; }
    bool IsEditing() const override { return m_bEditing; }

    void Reset() override;
    bool Edit(int row, int col, const CGridRect& rect, unsigned controlId, unsigned firstChar) override;
    void EndEdit() override;
    void OnEndEdit() override { m_bEditing = false; }

    virtual void SetIntegerInput(bool on) { m_bIntegerInput = on; }
    virtual void SetDecimalInput(bool on) { m_bDecimalInput = on; }
    virtual void SetMaxTextLength(int length) { m_nMaxTextLength = length; }
    virtual void SetUpperCase(bool on) { m_bUpperCase = on; }
    virtual void SetAllowedChars(const std::wstring& characters) { m_strAllowedChars = characters; }

    // Gives the editor's filter this cell's restrictions, in the order that decides between
    // them: integer, decimal (both separators), length, allowed set (numeric mode off), case.
    void ApplyRestrictions(CInputFilter& filter) const;

protected:
    // What the editor of this cell is like: alignment, input filter, kind and options.
    virtual void PrepareEditor(CGridEditRequest& request) const;

    std::unique_ptr<CGridFont> m_pFont;

private:
    std::string m_strText;
    // Set only by the owner; zero until then.
    std::intptr_t m_lData = 0;
    int m_nImage = -1;
    std::uint32_t m_nFormat = kGridDefaultFormat;
    GridColour m_crText = kGridDefaultColour;
    GridColour m_crBack = kGridDefaultColour;
    std::uint32_t m_nMargin = kGridDefaultMargin;
    bool m_bEditing = false;
    CGridCtrl* m_pGrid = nullptr;
    bool m_bIntegerInput = false;
    bool m_bDecimalInput = false;
    int m_nMaxTextLength = 0;
    bool m_bUpperCase = false;
    std::wstring m_strAllowedChars;
};
