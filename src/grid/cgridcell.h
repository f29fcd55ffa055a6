#pragma once
// The stored cell: text plus its own formatting, each value able to say
// "take the default" and so follow the grid's default cell of its kind.

#include "grid/cgridcellbase.h"

#include <memory>

class CGridCell : public CGridCellBase {
public:
    CGridCell();
    ~CGridCell() override;

    void SetText(const std::string& text) override { m_Text = text; }
    const std::string& GetText() const override { return m_Text; }
    void SetImage(int image) override { m_Image = image; }
    int GetImage() const override { return m_Image; }
    void SetData(int32_t param) override { m_Data = param; }
    int32_t GetData() const override { return m_Data; }
    void SetFormat(uint32_t format) override { m_Format = format; }
    uint32_t GetFormat() const override;
    void SetTextClr(uint32_t colour) override { m_TextColour = colour; }
    uint32_t GetTextClr() const override;
    void SetBackClr(uint32_t colour) override { m_BackColour = colour; }
    uint32_t GetBackClr() const override;
    void SetClr(uint32_t colour) override { m_Colour = colour; }
    uint32_t GetClr() const override;
    void SetFont(const CGridFont* font) override;
    const CGridFont& GetFont() const override;
    void SetMargin(int margin) override { m_Margin = margin; }
    int GetMargin() const override;

    void Reset() override;

    bool Edit(int row, int col, CGridRect rect, CGridPoint point, int controlId, unsigned key) override;
    bool IsEditing() const override { return m_Editing; }
    CGridInPlaceEditor* GetEditWnd() const override { return m_Editor; }
    void EndEdit() override;
    void OnEndEdit() override;

    // The raw values, "take the default" included; for tests and derived cells.
    uint32_t GetOwnFormat() const { return m_Format; }
    uint32_t GetOwnTextClr() const { return m_TextColour; }
    uint32_t GetOwnBackClr() const { return m_BackColour; }
    bool HasOwnFont() const { return m_OwnFont != nullptr; }
    int GetOwnMargin() const { return m_Margin; }

    static constexpr uint32_t kDefaultFormat = 0xFFFFFFFFu;

protected:
    std::string m_Text;
    int32_t m_Data = 0;
    int m_Image = -1;
    uint32_t m_Format = kDefaultFormat;
    uint32_t m_TextColour = kGridDefaultColour;
    uint32_t m_BackColour = kGridDefaultColour;
    uint32_t m_Colour = kGridDefaultColour;
    std::unique_ptr<CGridFont> m_OwnFont;
    int m_Margin = -1;
    bool m_Editing = false;
    CGridInPlaceEditor* m_Editor = nullptr;
};
