#include <gtest/gtest.h>

#include <algorithm>

#include "shell/thumb_grid.h"
#include "shell/thumb_pager.h"
#include "shell/window_place.h"

using namespace drapeline::shell;
using namespace drapeline::shell::thumbgrid;

TEST(ThumbGrid, HitTestAndDrawingFollowThePitchAndStayOnThePage) {
    struct Case {
        int x, y, cell;
    };
    const Case cases[] = {
        {0, 0, 0},    {67, 67, 0},   {68, 0, 1},     {0, 68, 7},   {135, 135, 8},
        {475, 475, 48},
        // The area is 481 pixels: its last five pixels belong to the last column and row.
        {480, 0, 6},  {0, 480, 42},  {480, 480, 48}, {-3, -3, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(hitCell(c.x, c.y), c.cell) << c.x << "," << c.y;
    // Cells are drawn two pixels inside their frame.
    EXPECT_EQ(cellOrigin(0), (GridPoint{2, 2}));
    EXPECT_EQ(cellOrigin(8), (GridPoint{70, 70}));
    EXPECT_EQ(frameCorner(48), (GridPoint{408, 408}));
}

TEST(ThumbGrid, PagesAndOccupiedCells) {
    for (const auto& [files, pages] : {std::pair<std::size_t, int>{0, 0}, {49, 1}, {50, 2}, {98, 2}, {99, 3}}) {
        EXPECT_EQ(pageCount(files), pages) << files;
        EXPECT_EQ(lastPage(files), std::max(pages - 1, 0)) << files;   // an empty list still shows page 1
    }
    EXPECT_EQ(pageText(0, 49), "Page 1 of 1");
    EXPECT_EQ(pageText(1, 50), "Page 2 of 2");

    EXPECT_EQ(fileIndex(1, 0, 50), std::optional<std::size_t>(49));
    EXPECT_EQ(fileIndex(1, 1, 50), std::nullopt);
    EXPECT_EQ(fileIndex(0, 48, 49), std::optional<std::size_t>(48));
    EXPECT_EQ(fileIndex(0, 49, 200), std::nullopt);
    EXPECT_EQ(firstOnPage(2), 98u);
    EXPECT_EQ(endOfPage(2, 99), 99u);
    EXPECT_EQ(endOfPage(0, 99), 49u);
}

TEST(ThumbPager, KeysMoveThroughTheFilesAcrossPages) {
    struct Case {
        std::size_t files;
        std::size_t from;   // the selected file before the key
        GridKey key;
        std::size_t to;
        bool pageChanged;
    };
    const Case cases[] = {
        {100, 0, GridKey::Right, 1, false},
        {100, 48, GridKey::Right, 49, true},    // last cell of a page to the next page
        {100, 49, GridKey::Left, 48, true},
        {100, 0, GridKey::Left, 0, false},      // nothing before the first
        {100, 99, GridKey::Right, 99, false},   // nor after the last
        {100, 6, GridKey::Down, 13, false},
        {100, 45, GridKey::Down, 52, true},     // bottom row to the next page's top row
        {100, 52, GridKey::Up, 45, true},
        {100, 3, GridKey::Up, 0, false},      // above the top row: the first file
        {95, 90, GridKey::Down, 94, false},     // below the last file: the last file
        {100, 10, GridKey::PageDown, 59, true},
        {100, 60, GridKey::PageDown, 99, true},
        {100, 60, GridKey::PageUp, 11, true},
        {100, 20, GridKey::PageUp, 0, false},
        {100, 70, GridKey::Home, 0, true},
        {100, 2, GridKey::End, 99, true},
    };
    for (const auto& c : cases) {
        ThumbPager pager;
        pager.reset(c.files);
        pager.select(c.from);
        const auto move = pager.move(c.key);
        EXPECT_EQ(pager.selectedFile(), std::optional<std::size_t>(c.to)) << c.from << " key " << static_cast<int>(c.key);
        EXPECT_EQ(move.pageChanged, c.pageChanged) << c.from << " key " << static_cast<int>(c.key);
        EXPECT_EQ(move.moved, c.to != c.from) << c.from;
        EXPECT_EQ(pager.page(), static_cast<std::int32_t>(c.to / 49));
    }
}

TEST(ThumbPager, PagingButtonsStopAtTheEndsAndAnEmptyCellMovesFromTheLastFile) {
    ThumbPager pager;
    pager.reset(50);
    EXPECT_FALSE(pager.canGoPrevious());
    EXPECT_TRUE(pager.canGoNext());
    EXPECT_TRUE(pager.next());
    EXPECT_FALSE(pager.canGoNext());
    EXPECT_FALSE(pager.next());
    EXPECT_EQ(pager.pageText(), "Page 2 of 2");

    EXPECT_EQ(pager.press(68 * 3, 68 * 3), std::nullopt);   // cell 24 of the last page: empty
    EXPECT_EQ(pager.cell(), 24);
    pager.move(GridKey::Left);
    EXPECT_EQ(pager.selectedFile(), std::optional<std::size_t>(48));

    ThumbPager none;
    none.reset(0);
    EXPECT_FALSE(none.move(GridKey::End).moved);
    EXPECT_FALSE(none.canGoNext());
}

TEST(WindowPlace, ReadsItsOwnTextOnlyAndRestoresOnlyOntoAScreenThatIsThere) {
    const WindowPlace maximised{{100, 50, 900, 700}, true};
    EXPECT_EQ(readPlace(placeText(maximised)), maximised);
    for (const char* bad : {"", "1 2 3", "1 2 3 4 minimised", "1 2 0 4", "1 2 3 4 maximised x", "a b c d",
                            "1 2 99999999 4"})
        EXPECT_EQ(readPlace(bad), std::nullopt) << bad;

    const std::vector<PlaceRect> twoScreens{{0, 0, 1920, 1040}, {1920, 0, 1280, 1000}};
    const std::vector<PlaceRect> leftOnly{twoScreens[0]};
    const WindowPlace onSecond{{2000, 100, 800, 600}, false};
    EXPECT_EQ(placeOnScreens(onSecond, twoScreens, 300, 200), onSecond);
    // The second monitor was unplugged: the window is not restored out of sight.
    EXPECT_EQ(placeOnScreens(onSecond, leftOnly, 300, 200), std::nullopt);
    // Larger than the screen now: shrunk to it, never below the window's minimum, and
    // pulled back inside.
    const auto shrunk = placeOnScreens({{1500, 10, 3000, 2000}, false}, twoScreens, 300, 200);
    ASSERT_TRUE(shrunk);
    EXPECT_EQ(shrunk->rect, (PlaceRect{1920, 0, 1280, 1000}));
    EXPECT_EQ(placeOnScreens({{10, 10, 100, 50}, false}, leftOnly, 300, 200)->rect, (PlaceRect{10, 10, 300, 200}));
}
