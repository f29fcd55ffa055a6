#include "pickers/core/clinestylerenderer.h"

#include "pickers/core/cpenfile.h"

#include <algorithm>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;

// The operand bytes that follow each opcode.
int OperandCount(uint8_t opcode)
{
    switch (opcode) {
    case 2:
    case 3:
    case 4:
    case 6:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 23: return 1;
    case 18:
    case 19: return 2;
    case 7:
    case 16:
    case 17:
    case 20: return 3;
    default: return 0;
    }
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

int Signed(uint8_t b)
{
    return static_cast<int8_t>(b);
}

struct CPen {
    int width = 0;
    uint32_t colour = 0;
};

// One stroke drawn along the line, repetition after repetition.
class CStrokeRun {
public:
    CStrokeRun(CGridPainter& surface, const std::vector<uint8_t>& code, uint32_t base, int x, int y,
               int right, const CGridRect& clip, const CGridRect& finalClip)
        : m_Surface(surface), m_Code(code), m_Base(base), m_Right(right), m_Y0(y), m_Clip(clip),
          m_FinalClip(finalClip), m_Start(x)
    {
        m_PenColour = m_FillColour = base;
    }

    void Run()
    {
        m_Surface.PushClip(m_Clip);
        while (m_Start < m_Right && !m_Ended) {
            const int next = Repeat();
            // A motif that neither moves on nor ends would repeat for ever.
            if (!m_Ended && next <= m_Start)
                break;
            m_Start = next;
        }
        m_Surface.PopClip();
    }

private:
    // One pass over the instructions from m_Start; where the next one starts.
    int Repeat()
    {
        m_X = m_Start;
        m_Current = {m_Start, m_Y0};
        m_Pen = {0, m_Base};
        m_Mark = 0;
        m_BandTop = m_BandBottom = m_Y0;
        size_t at = 0;
        while (at < m_Code.size()) {
            const uint8_t op = m_Code[at++];
            const size_t count = static_cast<size_t>(OperandCount(op));
            // An instruction cut short by the string's end ends the pass.
            if (at + count > m_Code.size())
                break;
            Execute(op, &m_Code[at]);
            at += count;
        }
        return m_X - m_Mark;
    }

    void Execute(uint8_t op, const uint8_t* a)
    {
        switch (op) {
        case 1:
        case 23:
            Centre(m_X, m_Right);
            ToEnd();
            break;
        case 2:
            Centre(m_X, m_X + a[0]);
            m_X += a[0];
            m_Current = {m_X, m_Y0};
            break;
        case 3:
            m_X += a[0];
            m_Current = {m_X, m_Y0};
            break;
        case 4: Tick({m_X, m_Y0 - (a[0] & 15)}, {m_X, m_Y0 + (a[0] >> 4)}); break;
        case 5: m_Mark = m_X - m_Start; break;
        case 6: SetPen(a[0], m_PenColour); break;
        case 7: SetPen(m_PenWidth, Rgb(a[0], a[1], a[2])); break;
        case 8: SetPen(m_PenWidth, m_Base); break;
        case 9: SetPen(0, m_PenColour); break;
        case 10: SetPen(a[0] == 0 ? 0 : a[0] + 1, m_PenColour); break;
        case 13:
        case 14: {
            const int dir = op == 13 ? 1 : -1;
            const int up = a[0] & 15, down = a[0] >> 4;
            Tick({m_X, m_Y0}, {m_X + dir * up, m_Y0 - up});
            Tick({m_X, m_Y0}, {m_X + dir * down, m_Y0 + down});
            break;
        }
        case 15: ToEnd(); break;
        case 16:
            m_BandTop = m_Y0 - Signed(a[1]);
            m_BandBottom = m_BandTop + Signed(a[2]);
            break;
        case 17: {
            const int w = Signed(a[0]), top = m_Y0 - Signed(a[1]), bottom = top + Signed(a[2]);
            const std::vector<CGridPoint> shape{
                {m_X, m_BandTop}, {m_X + w, top}, {m_X + w, bottom}, {m_X, m_BandBottom}};
            m_Surface.FillPolygon(shape, m_FillColour, std::nullopt);
            std::vector<CGridPoint> outline = shape;
            outline.push_back(shape.front());
            Polyline(outline);
            m_X += w;
            m_BandTop = top;
            m_BandBottom = bottom;
            break;
        }
        case 18: m_Current = {m_X, m_Y0 - Signed(a[1])}; break;
        case 19: {
            const CGridPoint to{m_X + Signed(a[0]), m_Y0 - Signed(a[1])};
            Line(m_Current, to);
            m_Current = to;
            m_X = to.x;
            break;
        }
        case 20: m_FillColour = Rgb(a[0], a[1], a[2]); break;
        case 21: m_FillColour = m_Base; break;
        default: // 0, 11, 12, 22 and 24-255 do nothing
            break;
        }
    }

    // The stroke stops repeating; what follows in this pass draws at the end
    // of the line, where the final clip lets end marks reach past it.
    void ToEnd()
    {
        m_X = m_Right;
        m_Current = {m_X, m_Y0};
        m_Ended = true;
        m_Surface.PopClip();
        m_Surface.PushClip(m_FinalClip);
    }

    void SetPen(int width, uint32_t colour)
    {
        m_PenWidth = width;
        m_PenColour = colour;
        m_Pen = {width, colour};
    }

    // A piece of the centre line covering [from, to): a draw of n pixels and
    // a gap of n alternate evenly.
    void Centre(int from, int to)
    {
        if (to <= from)
            return;
        if (m_Pen.width > 1)
            Polyline({{from, m_Y0}, {to, m_Y0}});
        else if (to - from == 1)
            Polyline({{from, m_Y0}}); // one point: the painter draws its single pixel
        else
            Polyline({{from, m_Y0}, {to - 1, m_Y0}});
    }

    void Line(CGridPoint from, CGridPoint to) { Polyline({from, to}); }

    // A tick or diagonal of length 0 is no stroke at all; the painter would
    // otherwise draw its one point as a dot on the centre line.
    void Tick(CGridPoint from, CGridPoint to)
    {
        if (from != to)
            Line(from, to);
    }

    void Polyline(const std::vector<CGridPoint>& points)
    {
        m_Surface.DrawPolyline(points, m_Pen.width, m_Pen.colour);
    }

    CGridPainter& m_Surface;
    const std::vector<uint8_t>& m_Code;
    const uint32_t m_Base;
    const int m_Right;
    const int m_Y0;
    const CGridRect m_Clip;
    const CGridRect m_FinalClip;

    // Carried from one repetition to the next.
    int m_Start;
    bool m_Ended = false;
    int m_PenWidth = 0;
    uint32_t m_PenColour;
    uint32_t m_FillColour;

    // Set afresh for every repetition.
    int m_X = 0;
    CGridPoint m_Current;
    CPen m_Pen;
    int m_Mark = 0;
    int m_BandTop = 0;
    int m_BandBottom = 0;
};

} // namespace

bool LineStyleHasOwnColours(const std::vector<std::vector<uint8_t>>& strokes)
{
    for (const std::vector<uint8_t>& code : strokes) {
        for (size_t at = 0; at < code.size();
             at += 1 + static_cast<size_t>(OperandCount(code[at]))) {
            if (code[at] == 7 || code[at] == 20)
                return true;
        }
    }
    return false;
}

void DrawLineStyle(CGridPainter& surface, int32_t style, const CPenFile& pen, int x, int y,
                   int width, int height, uint32_t colour)
{
    const int right = x + width - 10;
    const int top = y - height / 2, bottom = y + height / 2;
    if (style == 0 || style == 1) {
        const CGridFont font;
        const CGridRect box{x, top, right, bottom};
        const CGridSize extent = surface.TextExtent(font, "N");
        const int left = x + (box.Width() - extent.cx) / 2,
                  textTop = top + (box.Height() - extent.cy) / 2;
        surface.FillRect({left, textTop, left + extent.cx, textTop + extent.cy}, kWhite);
        surface.DrawText(box, "N",
                         GridText::Center | GridText::VCenter | GridText::SingleLine |
                             GridText::NoPrefix,
                         kBlack, font);
        return;
    }
    const std::vector<std::vector<uint8_t>>& strokes = pen.Strokes(style);
    if (strokes.empty())
        return;
    const uint32_t base = LineStyleHasOwnColours(strokes) ? kRed : colour;
    const CGridRect clip{x - 50, top - 20, right, bottom};
    const CGridRect finalClip{x, top - 20, right + 10, bottom};
    for (const std::vector<uint8_t>& code : strokes)
        CStrokeRun(surface, code, base, x, y, right, clip, finalClip).Run();
}

void DrawLineStyle(CGridPainter& surface, int32_t style, const std::string& penFile, int x, int y,
                   int width, int height, uint32_t colour)
{
    // Styles 0 and 1 are "no line" whether or not the file can be read.
    if (style == 0 || style == 1) {
        DrawLineStyle(surface, style, CPenFile(), x, y, width, height, colour);
        return;
    }
    DrawLineStyle(surface, style, *CPenFile::Cached(penFile), x, y, width, height, colour);
}
