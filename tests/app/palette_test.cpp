#include "app/palette.h"

#include <gtest/gtest.h>

#include "app/site_text.h"

namespace pairweb::app {
namespace {

TEST(Palette, FortyCellsInOrderWithTheirNames) {
    const auto& cells = paletteCells();
    EXPECT_EQ(cells[0].colour, 0x000000u);
    EXPECT_STREQ(cells[0].name, "Black");
    EXPECT_EQ(cells[1].colour, 0x800000u);  // #000080
    EXPECT_EQ(cells[2].colour, 0xFFEAEAu);  // #EAEAFF
    EXPECT_EQ(cells[8].colour, 0xFFCC00u);  // #00CCFF, first of row 2
    EXPECT_EQ(cells[39].colour, 0xFFFFFFu);
    EXPECT_STREQ(cells[39].name, "White");
    for (int k = 1; k < 39; ++k) EXPECT_STREQ(cells[static_cast<std::size_t>(k)].name, "") << k;
}

TEST(Palette, ArrowKeysMoveAndWrapAsTheKeyboardTableSays) {
    const Key L = Key::Left, R = Key::Right, U = Key::Up, D = Key::Down;
    const int def = kDefaultBox, cus = kCustomBox;
    struct Row {
        int from;
        Key key;
        bool d, c;
        int to;
    };
    const Row rows[] = {
        {5, L, true, true, 4},     {8, L, true, true, 7},     {0, L, true, true, def},
        {0, L, false, true, cus},  {0, L, false, false, 39},  {def, L, true, true, cus},
        {def, L, true, false, 39}, {cus, L, true, true, 39},  {4, R, true, true, 5},
        {7, R, true, true, 8},     {39, R, true, true, cus},  {39, R, true, false, def},
        {39, R, false, false, 0},  {def, R, true, true, 0},   {cus, R, true, true, def},
        {cus, R, false, true, 0},  {12, U, true, true, 4},    {3, U, true, true, def},
        {3, U, false, true, cus},  {3, U, false, false, 39},  {def, U, true, true, cus},
        {def, U, true, false, 39}, {cus, U, true, true, 39},  {4, D, true, true, 12},
        {33, D, true, true, cus},  {33, D, true, false, def}, {33, D, false, false, 0},
        {cus, D, true, true, def}, {cus, D, false, true, 0},  {def, D, true, true, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(moveSelection(r.from, r.key, r.d, r.c), r.to)
            << "from " << r.from << " key " << static_cast<int>(r.key) << " boxes " << r.d << r.c;
    }
}

TEST(Palette, InitialSelection) {
    EXPECT_EQ(initialSelection(kAutomaticColour, true, true), kDefaultBox);
    EXPECT_EQ(initialSelection(kAutomaticColour, false, true), kCustomBox);
    EXPECT_EQ(initialSelection(kAutomaticColour, false, false), kNoItem);
    EXPECT_EQ(initialSelection(0xFFFFFF, true, true), 5);  // the first white cell
    EXPECT_EQ(initialSelection(0x123456, true, true), kCustomBox);
    EXPECT_EQ(initialSelection(0x123456, true, false), kNoItem);
}

TEST(Palette, GeometryPlacesBoxesAroundTheGridAndFindsItems) {
    const PaletteGeometry g(2, true, true, 100, 13);
    const int box = 13 + 4 * 2 + 2;
    EXPECT_EQ(g.width(), 8 * 18 + 4);  // the grid is wider than the text
    EXPECT_EQ(g.height(), 5 * 18 + 4 + 2 * box);
    EXPECT_EQ(g.itemRect(kDefaultBox), (Rect{2, 2, g.width() - 4, box}));
    EXPECT_EQ(g.itemRect(0), (Rect{2, 2 + box, 18, 18}));
    EXPECT_EQ(g.itemRect(9), (Rect{20, 20 + box, 18, 18}));
    EXPECT_EQ(g.itemRect(kCustomBox).y, 2 + box + 5 * 18);
    EXPECT_EQ(g.swatchRect(0), (Rect{5, 5 + box, 12, 12}));
    EXPECT_EQ(g.itemAt(25, 25 + box), 9);
    EXPECT_EQ(g.itemAt(5, 5), kDefaultBox);
    EXPECT_EQ(g.itemAt(5, g.height() - 5), kCustomBox);
    EXPECT_EQ(g.itemAt(0, 0), kNoItem);  // the edge

    const PaletteGeometry wide(3, false, true, 300, 10);
    EXPECT_EQ(wide.width(), 306);
    EXPECT_EQ(wide.cellSize(), 18);
    EXPECT_EQ(wide.itemAt(250, 10), kNoItem);                          // right of the grid
    EXPECT_EQ(PaletteGeometry(6, false, false, 0, 0).cellSize(), 19);  // 2 * margin + 7
}

TEST(Palette, PlacementKeepsThePaletteOnTheScreen) {
    const PaletteGeometry g(2, false, false, 0, 0);  // 148 x 94
    const Rect screen{0, 0, 800, 600};
    EXPECT_EQ(g.place(100, 100, 20, screen), std::make_pair(100, 100));
    EXPECT_EQ(g.place(700, 100, 20, screen), std::make_pair(800 - 148, 100));
    EXPECT_EQ(g.place(-30, 100, 20, screen), std::make_pair(0, 100));
    EXPECT_EQ(g.place(100, 550, 20, screen), std::make_pair(100, 550 - 20 - 94));
}

TEST(Palette, SelectionKeysAndEnds) {
    PaletteSelection s(0x000000, true, true);  // black: cell 0
    EXPECT_EQ(s.key(Key::Right), PaletteSelection::KeyAction::Moved);
    EXPECT_EQ(s.colour(), paletteCells()[1].colour);
    EXPECT_EQ(s.key(Key::Other), PaletteSelection::KeyAction::None);
    EXPECT_EQ(s.key(Key::Escape), PaletteSelection::KeyAction::Cancel);
    EXPECT_EQ(s.colour(), 0x000000u);  // Escape restores the initial colour
    const auto never = [](std::uint32_t) -> std::optional<std::uint32_t> {
        ADD_FAILURE() << "no colour dialog";
        return std::nullopt;
    };
    EXPECT_FALSE(s.finish(false, never).accepted);
    EXPECT_TRUE(s.ended());
    EXPECT_FALSE(s.select(3));  // ended: nothing moves

    PaletteSelection d(0x800000, true, false);
    d.select(kDefaultBox);
    const auto accepted = d.finish(true, never);
    EXPECT_TRUE(accepted.accepted);
    EXPECT_EQ(accepted.colour, kAutomaticColour);
}

TEST(Palette, CustomBoxAsksForAColourFromTheInitialOne) {
    std::vector<std::uint32_t> starts;
    const auto answer = [&](std::optional<std::uint32_t> a) {
        return [&starts, a](std::uint32_t start) {
            starts.push_back(start);
            return a;
        };
    };
    PaletteSelection chosen(0x0000FF, true, true);  // not in the palette: the custom box
    EXPECT_EQ(chosen.current(), kCustomBox);
    const auto ok = chosen.finish(true, answer(0x563412u));
    EXPECT_TRUE(ok.accepted);
    EXPECT_EQ(ok.colour, 0x563412u);
    EXPECT_EQ(starts, std::vector<std::uint32_t>{0x0000FFu});

    PaletteSelection cancelled(kAutomaticColour, false, true);
    const auto no = cancelled.finish(true, answer(std::nullopt));
    EXPECT_FALSE(no.accepted);  // the dialog's Cancel cancels the palette
    EXPECT_EQ(no.colour, kAutomaticColour);
    EXPECT_EQ(starts.back(), 0u);  // the automatic colour starts at black
}

TEST(Palette, ButtonStateTakesTheColourAtTheEndAndDraws) {
    ColourButtonState b(0xC0C0C0, 0x0000FF);
    EXPECT_EQ(b.colour(), 0xC0C0C0u);  // the button face first
    EXPECT_EQ(b.customText(), "More Colours...");
    b.dropDown();
    EXPECT_TRUE(b.active());
    EXPECT_EQ(b.colour(), 0xC0C0C0u);  // nothing until the palette ends
    b.selectionEnded(kAutomaticColour);
    EXPECT_FALSE(b.active());
    EXPECT_EQ(b.colour(), kAutomaticColour);
    EXPECT_EQ(b.swatchColour(true), std::nullopt);  // automatic: the button face
    EXPECT_EQ(b.captionColour(), 0u);
    b.setColour(0x00FF00);
    EXPECT_EQ(b.swatchColour(true), 0x00FF00u);
    EXPECT_EQ(b.swatchColour(false), std::nullopt);
    EXPECT_EQ(b.captionColour(), 0x0000FFu);  // the caption keeps the button's text colour
}

TEST(SiteText, ConvertsRefusesAndKeepsLineBreaks) {
    EXPECT_EQ(utf8ToSiteText("K\xC3\xB6ln \xE2\x80\x93 \xC4\x8C"), "K\xF6ln \x96 ?");
    EXPECT_EQ(siteTextToUtf8("K\xF6ln \x96"), "K\xC3\xB6ln \xE2\x80\x93");
    EXPECT_EQ(firstRefused("Open \xE2\x82\xAC \xC4\x8C"), char32_t{0x10C});  // the euro is kept
    EXPECT_EQ(firstRefused("\xFF"), char32_t{0xFFFD});                       // not UTF-8
    EXPECT_EQ(firstRefused("plain"), std::nullopt);
    EXPECT_EQ(withoutRefused("a\xE2\x86\x92z\xE2\x82\xAC"), "az\xE2\x82\xAC");
    EXPECT_EQ(multiLineToControl("a\r\nb", LineBreaks::Lf), "a\nb");
    EXPECT_EQ(multiLineFromControl("a\nb", LineBreaks::Lf), "a\r\nb");
    EXPECT_EQ(multiLineFromControl("a\r\nb", LineBreaks::CrLf), "a\r\nb");
}

}  // namespace
}  // namespace pairweb::app
