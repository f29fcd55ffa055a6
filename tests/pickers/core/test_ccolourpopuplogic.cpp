#include "pickers/core/ccolourpopuplogic.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
using L = CColourPopupLogic;

std::string Str(const CGridRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

L::Setup Make(bool withDefault, bool withCustom, bool transparent = false, uint32_t initial = 0x123456)
{
    L::Setup s;
    s.initial = initial;
    s.offerTransparent = transparent;
    s.hasDefault = withDefault;
    s.hasCustom = withCustom;
    s.defaultText = {60, 13};
    s.customText = {40, 13};
    s.margin = 2;
    s.at = {100, 200};
    s.screen = {0, 0, 1920, 1080};
    s.ownerHeight = 400;
    return s;
}
} // namespace

TEST(PopupColours, FortyNamedColoursInTheirPlaces)
{
    const auto& c = PopupColours();
    const struct {
        size_t index;
        const char* name;
        uint32_t colour;
    } cases[] = {{0, "Black", 0x000000},         {1, "Brown", 0x002AA5},       {9, "Orange", 0x2068FF},
                 {14, "Blue-grey", 0xC07B7B},    {15, "Grey - 40", 0x666666},  {29, "Skyblue", 0xFFFFC0},
                 {35, "Pale green ", 0x98FB98},  {37, "Pale blue", 0x8B8368}, {39, "White", 0xFFFFFF}};
    for (const auto& k : cases) {
        EXPECT_EQ(std::string(c[k.index].name), k.name) << k.index;
        EXPECT_EQ(c[k.index].colour, k.colour) << k.index;
    }
    std::set<std::string> names;
    for (const auto& e : c)
        names.insert(e.name);
    EXPECT_EQ(names.size(), 40u);
}

TEST(ColourPopupLogic, BoxSizeWindowAndBoxes)
{
    for (auto [margin, box] : std::vector<std::pair<int, int>>{{1, 18}, {2, 18}, {5, 18}, {6, 19}, {7, 21}})
        EXPECT_EQ(L::BoxSize(margin), box) << margin;

    const struct {
        bool withDefault, withCustom;
        int customWidth;
        CGridPoint at;
        const char *window, *defaultBox, *customBox, *first, *last;
    } cases[] = {
        {false, false, 40, {100, 200}, "100,200,248,294", "0,0,0,0", "0,0,0,0", "2,2,20,20", "128,74,146,92"},
        {false, true, 40, {100, 200}, "100,200,248,323", "0,0,0,0", "2,94,146,119", "2,2,20,20", "128,74,146,92"},
        {true, true, 40, {100, 200}, "100,200,248,352", "2,2,146,27", "2,123,146,148", "2,29,20,47",
         "128,101,146,119"},
        // A text wider than the colours widens the pop-up and both boxes.
        {true, true, 200, {100, 200}, "100,200,304,352", "2,2,202,27", "2,123,202,148", "2,29,20,47",
         "128,101,146,119"},
        // Kept on the screen: pulled left, pushed right, and opened above the owner.
        {false, true, 40, {1850, 100}, "1772,100,1920,223", "0,0,0,0", "2,94,146,119", "2,2,20,20", "128,74,146,92"},
        {false, true, 40, {-20, 100}, "0,100,148,223", "0,0,0,0", "2,94,146,119", "2,2,20,20", "128,74,146,92"},
        {false, true, 40, {100, 1000}, "100,477,248,600", "0,0,0,0", "2,94,146,119", "2,2,20,20", "128,74,146,92"},
    };
    for (const auto& k : cases) {
        L::Setup s = Make(k.withDefault, k.withCustom);
        s.customText.cx = k.customWidth;
        s.at = k.at;
        const L popup(s);
        const std::string what = Str(popup.Window());
        EXPECT_EQ(what, k.window);
        EXPECT_EQ(Str(popup.DefaultRect()), k.defaultBox) << what;
        EXPECT_EQ(Str(popup.CustomRect()), k.customBox) << what;
        EXPECT_EQ(Str(popup.ColourBoxRect(0)), k.first) << what;
        EXPECT_EQ(Str(popup.ColourBoxRect(39)), k.last) << what;
    }
    const L popup(Make(false, true, true));
    EXPECT_EQ(Str(popup.ColourBoxRect(9)), "20,20,38,38");
    EXPECT_EQ(Str(popup.ColourBoxRect(40)), "0,0,0,0");
    EXPECT_EQ(Str(popup.TransparentHalf()), "2,94,72,119");
    EXPECT_EQ(Str(popup.CustomHalf()), "76,94,146,119");
}

TEST(ColourPopupLogic, InitialBox)
{
    const struct {
        uint32_t initial;
        bool withDefault, withCustom;
        int box;
    } cases[] = {{0x000000, false, true, 0},       {0xFFFFFF, false, true, 39},
                 {GridRGB(152, 251, 152), false, true, 35},
                 {0x123456, false, true, L::CustomBox}, {0x123456, false, false, L::None},
                 {0xFF000000, true, true, L::DefaultBox}, {0xFF000000, false, true, L::CustomBox}};
    for (const auto& k : cases) {
        const L popup(Make(k.withDefault, k.withCustom, false, k.initial));
        EXPECT_EQ(popup.Chosen(), k.box) << std::hex << k.initial;
        EXPECT_EQ(popup.Hot(), k.box) << std::hex << k.initial;
    }
}

TEST(ColourPopupLogic, PointerHitTest)
{
    const struct {
        bool withDefault, transparent;
        CGridPoint at;
        int box;
    } cases[] = {
        // Points are taken 2 pixels (the margin) in from the corner.
        {false, false, {2, 2}, 0},        {false, false, {1, 5}, L::None}, {false, false, {19, 19}, 0},
        {false, false, {22, 22}, 9},      {false, false, {145, 91}, 39},   {false, false, {148, 50}, L::None},
        {false, false, {10, 93}, L::None}, {false, false, {50, 100}, L::CustomBox},
        {false, true, {50, 100}, L::TransparentBox}, {false, true, {76, 100}, L::TransparentBox},
        {false, true, {77, 100}, L::CustomBox},      {false, true, {140, 118}, L::CustomBox},
        {true, false, {10, 10}, L::DefaultBox},     {true, false, {10, 28}, L::DefaultBox},
        {true, false, {10, 29}, 0},                 {true, false, {10, 130}, L::CustomBox},
    };
    for (const auto& k : cases) {
        const L popup(Make(k.withDefault, true, k.transparent));
        EXPECT_EQ(popup.HitTest(k.at), k.box) << k.at.x << "," << k.at.y << " default " << k.withDefault;
    }
}

TEST(ColourPopupLogic, KeysMoveTheHotBox)
{
    using K = L::Key;
    const int C = L::CustomBox, D = L::DefaultBox, T = L::TransparentBox;
    const struct {
        int from;
        K key;
        bool withDefault, withCustom;
        int to;
    } cases[] = {
        {0, K::Right, false, true, 1},   {7, K::Right, false, true, 8},  {39, K::Right, true, true, C},
        {39, K::Right, true, false, D},  {39, K::Right, false, false, 0}, {5, K::Left, false, true, 4},
        {8, K::Left, false, true, 7},    {0, K::Left, true, true, D},   {0, K::Left, false, true, C},
        {0, K::Left, false, false, 39},  {12, K::Up, false, true, 4},   {3, K::Up, true, true, D},
        {3, K::Up, false, true, C},      {3, K::Up, false, false, 39},  {3, K::Down, false, true, 11},
        {33, K::Down, true, true, C},    {33, K::Down, true, false, D}, {33, K::Down, false, false, 0},
        {D, K::Right, true, true, 0},    {D, K::Down, true, true, 0},   {D, K::Left, true, true, C},
        {D, K::Left, true, false, 39},   {D, K::Up, true, true, C},     {D, K::Up, true, false, 39},
        {C, K::Right, true, true, D},    {C, K::Right, false, true, 0}, {T, K::Down, true, true, D},
        {T, K::Down, false, true, 0},    {C, K::Left, true, true, 39},  {T, K::Up, true, true, 39},
        {L::None, K::Down, false, false, 0}, {L::None, K::Up, false, false, 39},
    };
    for (const auto& k : cases)
        EXPECT_EQ(L::NextBox(k.from, k.key, k.withDefault, k.withCustom), k.to)
            << k.from << " key " << static_cast<int>(k.key) << " " << k.withDefault << k.withCustom;
}
