#pragma once
// The 7 x 7 thumbnail grid shared by the main window and the skin chooser: cell
// geometry, hit test, paging and the page text. Pure arithmetic.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace drapeline::shell {

struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint&) const = default;
};

namespace thumbgrid {

inline constexpr int Columns = 7;
inline constexpr int Rows = 7;
inline constexpr int CellsPerPage = Columns * Rows;   // 49
inline constexpr int Pitch = 68;
inline constexpr int AreaSize = 481;

// Where a cell's picture is drawn: (column * 68 + 2, row * 68 + 2).
GridPoint cellOrigin(int cell);
// The corner of a cell's selection frame: (column * 68, row * 68); the frame is two
// unfilled rectangles, corner to corner + 67 and corner + 1 to corner + 66.
GridPoint frameCorner(int cell);

// The cell under a point of the area. The area is a few pixels wider and higher than
// seven cells; points there belong to the last column or row, never to a cell beyond.
int hitCell(int x, int y);

// Pages needed for n files (0 for none).
std::int32_t pageCount(std::size_t files);
// The last page's index for n files (0 for none).
std::int32_t lastPage(std::size_t files);
// The 0-based index of the file in a cell of a page, or nothing for an empty cell.
std::optional<std::size_t> fileIndex(std::int32_t page, int cell, std::size_t files);
// The first and one-past-last file index drawn on a page.
std::size_t firstOnPage(std::int32_t page);
std::size_t endOfPage(std::int32_t page, std::size_t files);

// "Page 2 of 3"
std::string pageText(std::int32_t page, std::size_t files);

}  // namespace thumbgrid

}  // namespace drapeline::shell
