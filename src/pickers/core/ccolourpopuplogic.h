#pragma once
// What the colour pop-up knows without a window: its 40 named colours, where
// every box lies, which box the pointer or a key makes hot, and what colour a
// pop-up ends with. The widget paints these boxes and forwards its input here.

#include "grid/gridtypes.h"

#include <array>
#include <cstdint>
#include <optional>

struct CPopupColour {
    uint32_t colour; // 0x00BBGGRR
    const char* name;
};

// The palette in the order it is shown, 8 to a row.
const std::array<CPopupColour, 40>& PopupColours();

class CColourPopupLogic {
public:
    // Box indices besides the colours 0-39.
    enum Box : int { None = -1, CustomBox = -2, DefaultBox = -3, TransparentBox = -4 };
    enum class Key { Left, Right, Up, Down };

    static constexpr int Columns = 8;
    static constexpr int Rows = 5;
    // The default box reports this as its colour: "whatever the caller's default is".
    static constexpr uint32_t DefaultColour = 0xFF000000u;
    // An OK with the transparent half of the custom box.
    static constexpr uint32_t TransparentColour = 0xFFFFFFFFu;
    // The transparent half and the custom half split the custom box this far
    // either side of its centre line.
    static constexpr int TransparentSplit = 74;

    // Boxes of 18 pixels, unless edges as wide as `margin` would leave less
    // than 5 pixels of colour inside them.
    static int BoxSize(int margin);

    struct Setup {
        uint32_t initial = 0;
        bool offerTransparent = false;
        bool hasDefault = false; // an empty text means no box
        bool hasCustom = false;
        CGridSize defaultText;   // the texts' extents in the pop-up's font
        CGridSize customText;
        int margin = 2;
        CGridPoint at;           // where the caller asks the top-left corner to be
        CGridRect screen;        // all monitors together
        int ownerHeight = 0;     // how far to jump to open above the owner
    };
    explicit CColourPopupLogic(const Setup& setup);

    // Screen coordinates.
    const CGridRect& Window() const { return m_Window; }
    // Client coordinates; empty when the box is absent.
    const CGridRect& DefaultRect() const { return m_DefaultRect; }
    const CGridRect& CustomRect() const { return m_CustomRect; }
    // The two halves of the custom box as they are drawn when transparent is offered.
    CGridRect CustomHalf() const;
    CGridRect TransparentHalf() const;
    CGridRect ColourBoxRect(int index) const;
    int BoxSize() const { return m_Box; }
    int Margin() const { return m_Margin; }
    bool OffersTransparent() const { return m_OfferTransparent; }

    int Hot() const { return m_Hot; }
    int Chosen() const { return m_ChosenIndex; }
    uint32_t Initial() const { return m_Initial; }
    uint32_t ChosenColour() const { return m_ChosenColour; }

    // The box a point of the client area lies on, or None.
    int HitTest(CGridPoint client) const;
    // Moves the hot box; true when it changed, and then SelChangeColour()
    // is what the owner is told.
    bool PointerAt(CGridPoint client);
    bool Press(Key key);
    // Where a key moves the hot box from `from`: the colours wrap row by row,
    // and the default and custom boxes sit before the first and after the last.
    static int NextBox(int from, Key key, bool hasDefault, bool hasCustom);
    // What the owner hears while a box is hot.
    uint32_t SelChangeColour() const;

    enum class Ending { Ok, Cancel, AskCustom };
    // How an OK (or, with ok false, a cancel) ends: AskCustom means the full
    // colour dialog decides, starting at Initial(); the colour is then
    // ChosenColour().
    Ending End(bool ok);
    // The full colour dialog's answer after AskCustom: its colour, or nothing
    // when it was cancelled, which cancels the whole pop-up.
    Ending CustomAnswer(std::optional<uint32_t> colour);

private:
    bool MakeHot(int box);
    int LastColour() const { return static_cast<int>(PopupColours().size()) - 1; }

    int m_Box;
    int m_Margin;
    bool m_OfferTransparent;
    bool m_HasDefault;
    bool m_HasCustom;
    CGridRect m_Window;
    CGridRect m_DefaultRect;
    CGridRect m_CustomRect;
    uint32_t m_Initial;
    uint32_t m_ChosenColour;
    int m_ChosenIndex = None;
    int m_Hot = None;
};
