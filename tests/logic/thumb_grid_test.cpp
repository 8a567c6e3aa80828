#include <gtest/gtest.h>

#include "shell/thumb_grid.h"

using namespace drapeline::app;
using namespace drapeline::app::thumbgrid;

TEST(ThumbGrid, HitTestFollowsThePitchAndStaysOnThePage) {
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
}

TEST(ThumbGrid, CellsAreDrawnTwoPixelsInsideTheirFrame) {
    EXPECT_EQ(cellOrigin(0), (GridPoint{2, 2}));
    EXPECT_EQ(cellOrigin(8), (GridPoint{70, 70}));
    EXPECT_EQ(frameCorner(48), (GridPoint{408, 408}));
}

TEST(ThumbGrid, PagesAndOccupiedCells) {
    EXPECT_EQ(pageCount(0), 0);
    EXPECT_EQ(pageCount(49), 1);
    EXPECT_EQ(pageCount(50), 2);
    EXPECT_EQ(pageCount(98), 2);
    EXPECT_EQ(pageCount(99), 3);
    EXPECT_EQ(lastPage(49), 0);
    EXPECT_EQ(lastPage(50), 1);
    EXPECT_EQ(lastPage(99), 2);
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
