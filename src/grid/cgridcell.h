#pragma once
// The stored cell: text plus its own formatting, each value able to say
// "take the default" and so follow the grid's default cell of its kind.

#include "grid/cgridcellbase.h"

#include <memory>

class CGridCell : public CGridCellBase {
public:
    CGridCell();
    ~CGridCell() override;

    void SetText(const std::string& text) override { m_strText = text; }
    const std::string& GetText() const override { return m_strText; }
    void SetImage(int image) override { m_nImage = image; }
    int GetImage() const override { return m_nImage; }
    void SetData(int32_t param) override { m_lParam = param; }
    int32_t GetData() const override { return m_lParam; }
    void SetFormat(uint32_t format) override { m_nFormat = format; }
    uint32_t GetFormat() const override;
    void SetTextClr(uint32_t colour) override { m_crFgClr = colour; }
    uint32_t GetTextClr() const override;
    void SetBackClr(uint32_t colour) override { m_crBkClr = colour; }
    uint32_t GetBackClr() const override;
    void SetClr(uint32_t colour) override { m_crClr = colour; }
    uint32_t GetClr() const override;
    void SetFont(const CGridFont* font) override;
    const CGridFont& GetFont() const override;
    void SetMargin(int margin) override { m_nMargin = margin; }
    int GetMargin() const override;

    void Reset() override;

    bool Edit(int row, int col, CGridRect rect, CGridPoint point, int controlId, unsigned key) override;
    bool IsEditing() const override { return m_bEditing; }
    CGridInPlaceEditor* GetEditWnd() const override { return m_pEditWnd; }
    void EndEdit() override;
    void OnEndEdit() override;

    // The raw values, "take the default" included; for tests and derived cells.
    uint32_t GetOwnFormat() const { return m_nFormat; }
    uint32_t GetOwnTextClr() const { return m_crFgClr; }
    uint32_t GetOwnBackClr() const { return m_crBkClr; }
    bool HasOwnFont() const { return m_pFont != nullptr; }
    int GetOwnMargin() const { return m_nMargin; }

    static constexpr uint32_t kDefaultFormat = 0xFFFFFFFFu;

protected:
    std::string m_strText;
    int32_t m_lParam = 0;
    int m_nImage = -1;
    uint32_t m_nFormat = kDefaultFormat;
    uint32_t m_crFgClr = kGridDefaultColour;
    uint32_t m_crBkClr = kGridDefaultColour;
    uint32_t m_crClr = kGridDefaultColour;
    std::unique_ptr<CGridFont> m_pFont;
    int m_nMargin = -1;
    bool m_bEditing = false;
    CGridInPlaceEditor* m_pEditWnd = nullptr;
};
