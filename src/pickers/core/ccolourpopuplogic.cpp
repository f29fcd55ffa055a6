#include "pickers/core/ccolourpopuplogic.h"

#include <algorithm>

namespace {
constexpr int kColourCount = 40;

// Division that rounds toward minus infinity, so a point left of or above the
// first box never counts as that box.
int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
} // namespace

const std::array<CPopupColour, 40>& PopupColours()
{
    static const std::array<CPopupColour, 40> colours{{
        {GridRGB(0, 0, 0), "Black"},
        {GridRGB(165, 42, 0), "Brown"},
        {GridRGB(0, 64, 64), "Dark Olive Green"},
        {GridRGB(0, 85, 0), "Dark Green"},
        {GridRGB(0, 0, 94), "Dark Teal"},
        {GridRGB(0, 0, 139), "Dark blue"},
        {GridRGB(75, 0, 130), "Indigo"},
        {GridRGB(40, 40, 40), "Dark grey"},
        {GridRGB(139, 0, 0), "Dark red"},
        {GridRGB(255, 104, 32), "Orange"},
        {GridRGB(139, 139, 0), "Dark yellow"},
        {GridRGB(0, 147, 0), "Green"},
        {GridRGB(56, 142, 142), "Teal"},
        {GridRGB(0, 0, 255), "Blue"},
        {GridRGB(123, 123, 192), "Blue-grey"},
        {GridRGB(102, 102, 102), "Grey - 40"},
        {GridRGB(255, 0, 0), "Red"},
        {GridRGB(255, 173, 91), "Light orange"},
        {GridRGB(50, 205, 50), "Lime"},
        {GridRGB(60, 179, 113), "Sea green"},
        {GridRGB(127, 255, 212), "Aqua"},
        {GridRGB(125, 158, 192), "Light blue"},
        {GridRGB(128, 0, 128), "Violet"},
        {GridRGB(127, 127, 127), "Grey - 50"},
        {GridRGB(255, 192, 203), "Pink"},
        {GridRGB(255, 215, 0), "Gold"},
        {GridRGB(255, 255, 0), "Yellow"},
        {GridRGB(0, 255, 0), "Bright green"},
        {GridRGB(64, 224, 208), "Turquoise"},
        {GridRGB(192, 255, 255), "Skyblue"},
        {GridRGB(72, 0, 72), "Plum"},
        {GridRGB(192, 192, 192), "Light grey"},
        {GridRGB(255, 228, 225), "Rose"},
        {GridRGB(210, 180, 140), "Tan"},
        {GridRGB(255, 255, 224), "Light yellow"},
        {GridRGB(152, 251, 152), "Pale green "},
        {GridRGB(175, 238, 238), "Pale turquoise"},
        {GridRGB(104, 131, 139), "Pale blue"},
        {GridRGB(230, 230, 250), "Lavender"},
        {GridRGB(255, 255, 255), "White"},
    }};
    return colours;
}

int CColourPopupLogic::BoxSize(int margin)
{
    const int box = 18;
    return box - 2 * margin - 2 < 5 ? 2 * margin + 7 : box;
}

CColourPopupLogic::CColourPopupLogic(const Setup& setup)
    : m_Box(BoxSize(setup.margin)), m_Margin(setup.margin), m_OfferTransparent(setup.offerTransparent),
      m_HasDefault(setup.hasDefault), m_HasCustom(setup.hasCustom), m_Initial(setup.initial),
      m_ChosenColour(setup.initial)
{
    const int m = m_Margin;
    const int textWidth = std::max(setup.defaultText.cx, setup.customText.cx) + 2 * m;
    const int textHeight = std::max(setup.defaultText.cy, setup.customText.cy) + 2 + 4 * m;

    int width = Columns * m_Box + 2 * m;
    int height = Rows * m_Box + 2 * m;
    if (m_HasDefault) {
        width = std::max(width, textWidth);
        m_DefaultRect = {m, m, width - m, 2 * m + textHeight};
        height += m_DefaultRect.Height() + 2 * m;
    }
    if (m_HasCustom) {
        width = std::max(width, textWidth);
        m_CustomRect = {m, height, width - m, height + m + textHeight};
        height += m_CustomRect.Height() + 2 * m;
    }

    CGridRect w{setup.at.x, setup.at.y, setup.at.x + width, setup.at.y + height};
    auto shift = [&w](int dx, int dy) {
        w.left += dx;
        w.right += dx;
        w.top += dy;
        w.bottom += dy;
    };
    if (w.right > setup.screen.right)
        shift(setup.screen.right - w.right, 0);
    if (w.left < setup.screen.left)
        shift(setup.screen.left - w.left, 0);
    // Past the bottom it opens above its owner instead of below.
    if (w.bottom > setup.screen.bottom)
        shift(0, -(height + setup.ownerHeight));
    m_Window = w;

    const auto& colours = PopupColours();
    if (m_Initial == DefaultColour && m_HasDefault) {
        m_ChosenIndex = DefaultBox;
    } else {
        const auto found = std::find_if(colours.begin(), colours.end(),
                                        [this](const CPopupColour& c) { return c.colour == m_Initial; });
        if (found != colours.end())
            m_ChosenIndex = static_cast<int>(found - colours.begin());
        else
            m_ChosenIndex = m_HasCustom ? CustomBox : None;
    }
    m_Hot = m_ChosenIndex;
}

CGridRect CColourPopupLogic::CustomHalf() const
{
    CGridRect r = m_CustomRect;
    r.left += TransparentSplit;
    return r;
}

CGridRect CColourPopupLogic::TransparentHalf() const
{
    CGridRect r = m_CustomRect;
    r.right -= TransparentSplit;
    return r;
}

CGridRect CColourPopupLogic::ColourBoxRect(int index) const
{
    if (index < 0 || index >= kColourCount)
        return {};
    const int left = (index % Columns) * m_Box + m_Margin;
    int top = (index / Columns) * m_Box + m_Margin;
    if (m_HasDefault)
        top += m_DefaultRect.Height() + m_Margin;
    return {left, top, left + m_Box, top + m_Box};
}

int CColourPopupLogic::HitTest(CGridPoint client) const
{
    CGridPoint p{client.x - m_Margin, client.y - m_Margin};
    if (m_HasCustom && m_CustomRect.Contains(p))
        return m_OfferTransparent && p.x <= (m_CustomRect.left + m_CustomRect.right) / 2 ? TransparentBox
                                                                                         : CustomBox;
    if (m_HasDefault && m_DefaultRect.Contains(p))
        return DefaultBox;
    if (m_HasDefault)
        p.y -= m_DefaultRect.Height();
    const int row = FloorDiv(p.y, m_Box);
    const int col = FloorDiv(p.x, m_Box);
    if (row < 0 || col < 0 || col >= Columns || row >= Rows)
        return None;
    const int index = row * Columns + col;
    return index < kColourCount ? index : None;
}

bool CColourPopupLogic::MakeHot(int box)
{
    if (box == m_Hot)
        return false;
    m_Hot = box;
    m_ChosenColour = SelChangeColour();
    return true;
}

bool CColourPopupLogic::PointerAt(CGridPoint client)
{
    const int box = HitTest(client);
    return box != None && MakeHot(box);
}

int CColourPopupLogic::NextBox(int from, Key key, bool hasDefault, bool hasCustom)
{
    const int last = kColourCount - 1;
    const bool custom = from == CustomBox || from == TransparentBox;
    if (from == DefaultBox) {
        if (key == Key::Right || key == Key::Down)
            return 0;
        return hasCustom ? CustomBox : last;
    }
    if (custom) {
        if (key == Key::Left || key == Key::Up)
            return last;
        return hasDefault ? DefaultBox : 0;
    }
    if (from < 0 || from > last) // nothing hot yet: start at either end
        return key == Key::Right || key == Key::Down ? 0 : last;
    auto afterLast = [&] { return hasCustom ? CustomBox : hasDefault ? DefaultBox : 0; };
    auto beforeFirst = [&] { return hasDefault ? DefaultBox : hasCustom ? CustomBox : last; };
    switch (key) {
    case Key::Right: return from < last ? from + 1 : afterLast();
    case Key::Left: return from > 0 ? from - 1 : beforeFirst();
    case Key::Up: return from >= Columns ? from - Columns : beforeFirst();
    case Key::Down: return from + Columns <= last ? from + Columns : afterLast();
    }
    return from;
}

bool CColourPopupLogic::Press(Key key)
{
    return MakeHot(NextBox(m_Hot, key, m_HasDefault, m_HasCustom));
}

uint32_t CColourPopupLogic::SelChangeColour() const
{
    if (m_Hot >= 0 && m_Hot < kColourCount)
        return PopupColours()[static_cast<size_t>(m_Hot)].colour;
    if (m_Hot == DefaultBox)
        return DefaultColour;
    return m_Initial;
}

CColourPopupLogic::Ending CColourPopupLogic::End(bool ok)
{
    if (!ok) {
        m_ChosenColour = m_Initial;
        return Ending::Cancel;
    }
    if (m_Hot == CustomBox)
        return Ending::AskCustom;
    if (m_Hot == TransparentBox)
        m_ChosenColour = TransparentColour;
    return Ending::Ok;
}

CColourPopupLogic::Ending CColourPopupLogic::CustomAnswer(std::optional<uint32_t> colour)
{
    if (!colour)
        return End(false);
    m_ChosenColour = *colour;
    return Ending::Ok;
}
