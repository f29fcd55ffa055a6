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

std::string RectText(const CGridRect& r)
{
    return Joined({std::to_string(r.left), std::to_string(r.top), std::to_string(r.right), std::to_string(r.bottom)},
                  ",");
}

int Box(const std::string& name)
{
    const size_t letter = std::string("NCDT").find(name);
    return letter == std::string::npos ? std::stoi(name) : -1 - static_cast<int>(letter);
}

// `flags`: D a default box, C a custom box, T transparent offered, W a custom text wider
// than the colours.
L::Setup Make(const std::string& flags, uint32_t initial = 0x123456, CGridPoint at = {100, 200})
{
    auto has = [&flags](char flag) { return flags.find(flag) != std::string::npos; };
    // The colour, transparent, default, custom, the two texts, margin, corner, screen and owner height.
    return {initial, has('T'), has('D'), has('C'), {60, 13}, {has('W') ? 200 : 40, 13}, 2, at, {0, 0, 1920, 1080}, 400};
}
} // namespace

TEST(ColourPopupLogic, WindowAndBoxes)
{
    // flags | at | window | default box | custom box | colour 0 | colour 39
    for (const auto& row : Rows(R"(
        -   | 100,200  | 100,200,248,294   | 0,0,0,0    | 0,0,0,0       | 2,2,20,20  | 128,74,146,92
        C   | 100,200  | 100,200,248,323   | 0,0,0,0    | 2,94,146,119  | 2,2,20,20  | 128,74,146,92
        DC  | 100,200  | 100,200,248,352   | 2,2,146,27 | 2,123,146,148 | 2,29,20,47 | 128,101,146,119
        DCW | 100,200  | 100,200,304,352   | 2,2,202,27 | 2,123,202,148 | 2,29,20,47 | 128,101,146,119
        C   | 1850,100 | 1772,100,1920,223 | 0,0,0,0    | 2,94,146,119  | 2,2,20,20  | 128,74,146,92
        C   | -20,100  | 0,100,148,223     | 0,0,0,0    | 2,94,146,119  | 2,2,20,20  | 128,74,146,92
        C   | 100,1000 | 100,477,248,600   | 0,0,0,0    | 2,94,146,119  | 2,2,20,20  | 128,74,146,92
    )")) {
        const size_t comma = row[1].find(',');
        const L popup(Make(row[0], 0x123456, {std::stoi(row[1]), std::stoi(row[1].substr(comma + 1))}));
        EXPECT_EQ(Joined({RectText(popup.Window()), RectText(popup.DefaultRect()), RectText(popup.CustomRect()),
                          RectText(popup.ColourBoxRect(0)), RectText(popup.ColourBoxRect(39))},
                         " | "),
                  Joined({row.begin() + 2, row.end()}, " | "))
            << row[0] << " at " << row[1];
    }
    const L popup(Make("CT"));
    EXPECT_EQ(Joined({RectText(popup.ColourBoxRect(9)), RectText(popup.ColourBoxRect(40)),
                      RectText(popup.TransparentHalf()), RectText(popup.CustomHalf())}),
              "20,20,38,38 0,0,0,0 2,94,72,119 76,94,146,119");
}

TEST(ColourPopupLogic, InitialBox)
{
    // flags | initial colour | the box chosen and hot
    for (const auto& row : Rows(R"(
        C  | 000000   | 0
        C  | ffffff   | 39
        C  | 123456   | C
        -  | 123456   | N
        DC | ff000000 | D
        C  | ff000000 | C
    )")) {
        const L popup(Make(row[0], static_cast<uint32_t>(std::stoul(row[1], nullptr, 16))));
        EXPECT_EQ(Name(popup.Chosen()) + " " + Name(popup.Hot()), row[2] + " " + row[2]) << row[1];
    }
}

TEST(ColourPopupLogic, PointerHitTest)
{
    // Points are taken 2 pixels (the margin) in from the corner.
    // flags | points | the boxes they hit
    for (const auto& row : Rows(R"(
        C  | 2,2 1,5 19,19 22,22 145,91 148,50 10,93 50,100 | 0 N 0 9 39 N N C
        CT | 50,100 76,100 77,100 140,118                   | T T C C
        DC | 10,10 10,28 10,29 10,130                       | D D 0 C
    )")) {
        const L popup(Make(row[0]));
        std::vector<std::string> hits;
        for (const std::string& p : Split(row[1]))
            hits.push_back(Name(popup.HitTest({std::stoi(p), std::stoi(p.substr(p.find(',') + 1))})));
        EXPECT_EQ(Joined(hits), row[2]) << row[0] << ": " << row[1];
    }
}

TEST(ColourPopupLogic, KeysMoveTheHotBox)
{
    // flags | moves, each the box it starts from, a key (r l u d) and the box it ends on
    for (const auto& row : Rows(R"(
        C  | 0r1 7r8 5l4 8l7 0lC 12u4 3uC 3d11 Cr0 Td0
        DC | 39rC 0lD 3uD 33dC Dr0 Dd0 DlC DuC CrD TdD Cl39 Tu39
        D  | 39rD 33dD Dl39 Du39
        -  | 39r0 0l39 3u39 33d0 Nd0 Nu39
    )")) {
        for (const std::string& move : Split(row[1])) {
            const size_t k = move.find_first_of("rlud");
            const L::Key key =
                std::array{L::Key::Right, L::Key::Left, L::Key::Up, L::Key::Down}[std::string("rlud").find(move[k])];
            const int to = L::NextBox(Box(move.substr(0, k)), key, row[0].find('D') != std::string::npos,
                                      row[0].find('C') != std::string::npos);
            EXPECT_EQ(move.substr(0, k + 1) + Name(to), move) << row[0];
        }
    }
}
