#include "pickers/core/ccolourpopuplogic.h"
#include "pickers/core/tabletext.h"

#include <gtest/gtest.h>

namespace {
using L = CColourPopupLogic;

// Boxes besides the colours by letter: None, Custom, Default, Transparent.
std::string Name(int box)
{
    return box >= 0 ? std::to_string(box) : std::string(1, "NCDT"[-1 - box]);
}

CGridPoint Point(const std::string& p)
{
    return {std::stoi(p), std::stoi(p.substr(p.find(',') + 1))};
}

int Box(const std::string& name)
{
    const size_t letter = std::string("NCDT").find(name);
    return letter == std::string::npos ? std::stoi(name) : -1 - static_cast<int>(letter);
}

// `flags`: D a default box, C a custom box, T transparent offered, W a custom text wider than the colours.
L::Setup Make(const std::string& flags, uint32_t initial = 0x123456, CGridPoint at = {100, 200})
{
    auto has = [&flags](char flag) { return flags.find(flag) != std::string::npos; };
    // The colour, transparent, default, custom, the two texts, margin, corner, screen and owner height.
    return {initial, has('T'), has('D'), has('C'), {60, 13}, {has('W') ? 200 : 40, 13}, 2, at, {0, 0, 1920, 1080}, 400};
}
} // namespace

TEST(ColourPopupLogic, TheWindowGrowsWithItsBoxesAndStaysOnTheScreen)
{
    // flags | the corner asked for | the window
    for (const auto& row : Rows(R"(
        DCW | 100,200  | 100,200,304,352
        C   | 1850,100 | 1772,100,1920,223
        C   | 100,1000 | 100,477,248,600
    )")) {
        const CGridRect w = L(Make(row[0], 0, Point(row[1]))).Window();
        const std::string text = std::to_string(w.left) + "," + std::to_string(w.top) + "," + std::to_string(w.right) +
                                 "," + std::to_string(w.bottom);
        EXPECT_EQ(text, row[2]) << row[0] << " at " << row[1];
    }
}

TEST(ColourPopupLogic, InitialBoxHitsAndKeys)
{
    // flags | inputs, each "input=box": #colour, the colour it opens with (the box chosen and hot); x,y, a point hit
    // (taken 2 pixels, the margin, in from the corner); or a box and a key (r l u d) moving the hot box from it.
    for (const auto& row : Rows(R"(
        C  | #000000=0 #ffffff=39 #123456=C 2,2=0 1,5=N 19,19=0 22,22=9 145,91=39 148,50=N 10,93=N 50,100=C
        C  | 0r=1 7r=8 5l=4 8l=7 0l=C 12u=4 3u=C 3d=11 Cr=0 Td=0
        -  | #123456=N 39r=0 0l=39 3u=39 33d=0 Nd=0 Nu=39
        DC | #ff000000=D 10,10=D 10,28=D 10,29=0 10,130=C 39r=C 0l=D 3u=D 33d=C
        DC | Dr=0 Dd=0 Dl=C Du=C Cr=D Td=D Cl=39 Tu=39
        D  | 39r=D 33d=D Dl=39 Du=39
        CT | #ff000000=C 50,100=T 76,100=T 77,100=C 140,118=C
    )")) {
        const L popup(Make(row[0]));
        for (const std::string& token : Split(row[1])) {
            const std::string in = token.substr(0, token.find('='));
            std::string box;
            if (in[0] == '#') {
                const L opened(Make(row[0], static_cast<uint32_t>(std::stoul(in.substr(1), nullptr, 16))));
                box = Name(opened.Chosen()) + (opened.Hot() == opened.Chosen() ? "" : " but hot " + Name(opened.Hot()));
            } else if (in.find(',') != std::string::npos) {
                box = Name(popup.HitTest(Point(in)));
            } else {
                const L::Key key = std::array{L::Key::Right, L::Key::Left, L::Key::Up,
                                              L::Key::Down}[std::string("rlud").find(in.back())];
                box = Name(L::NextBox(Box(in.substr(0, in.size() - 1)), key, row[0].find('D') != std::string::npos,
                                      row[0].find('C') != std::string::npos));
            }
            EXPECT_EQ(in + "=" + box, token) << row[0];
        }
    }
}
