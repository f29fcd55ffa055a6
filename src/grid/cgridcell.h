#pragma once
// The stored cell: text plus its own formatting, each value able to say
// "take the default" and so follow the grid's default cell of its kind.

#include "grid/cgridcellbase.h"

#include <memory>

class CGridCell : public CGridCellBase {
public:
    CGridCell();
    ~CGridCell() override;

    void SetText(const std::string& text) override { m_text = text; }
    const std::string& GetText() const override { return m_text; }
    void SetImage(int image) override { m_image = image; }
    int GetImage() const override { return m_image; }
    void SetData(int32_t param) override { m_data = param; }
    int32_t GetData() const override { return m_data; }
    void SetFormat(uint32_t format) override { m_format = format; }
    uint32_t GetFormat() const override;
    void SetTextClr(uint32_t colour) override { m_textColour = colour; }
    uint32_t GetTextClr() const override;
    void SetBackClr(uint32_t colour) override { m_backColour = colour; }
    uint32_t GetBackClr() const override;
    void SetClr(uint32_t colour) override { m_colour = colour; }
    uint32_t GetClr() const override;
    void SetFont(const CGridFont* font) override;
    const CGridFont& GetFont() const override;
    void SetMargin(int margin) override { m_margin = margin; }
    int GetMargin() const override;

    void Reset() override;

    bool Edit(int row, int col, CGridRect rect, CGridPoint point, int controlId, unsigned key) override;
    bool IsEditing() const override { return m_editing; }
    CGridInPlaceEditor* GetEditWnd() const override { return m_editor; }
    void EndEdit() override;
    void OnEndEdit() override;

    // The raw values, "take the default" included; for tests and derived cells.
    uint32_t GetOwnFormat() const { return m_format; }
    uint32_t GetOwnTextClr() const { return m_textColour; }
    uint32_t GetOwnBackClr() const { return m_backColour; }
    bool HasOwnFont() const { return m_ownFont != nullptr; }
    int GetOwnMargin() const { return m_margin; }

    static constexpr uint32_t kDefaultFormat = 0xFFFFFFFFu;

protected:
    std::string m_text;
    int32_t m_data = 0;
    int m_image = -1;
    uint32_t m_format = kDefaultFormat;
    uint32_t m_textColour = kGridDefaultColour;
    uint32_t m_backColour = kGridDefaultColour;
    uint32_t m_colour = kGridDefaultColour;
    std::unique_ptr<CGridFont> m_ownFont;
    int m_margin = -1;
    bool m_editing = false;
    CGridInPlaceEditor* m_editor = nullptr;
};
