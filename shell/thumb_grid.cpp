#include "shell/thumb_grid.h"

#include <algorithm>

namespace drapeline::shell::thumbgrid {

GridPoint cellOrigin(int cell) {
    const GridPoint corner = frameCorner(cell);
    return {corner.x + 2, corner.y + 2};
}

GridPoint frameCorner(int cell) {
    return {(cell % Columns) * Pitch, (cell / Columns) * Pitch};
}

int hitCell(int x, int y) {
    const int column = std::clamp(x < 0 ? 0 : x / Pitch, 0, Columns - 1);
    const int row = std::clamp(y < 0 ? 0 : y / Pitch, 0, Rows - 1);
    return row * Columns + column;
}

std::int32_t pageCount(std::size_t files) {
    return static_cast<std::int32_t>((files + CellsPerPage - 1) / CellsPerPage);
}

std::int32_t lastPage(std::size_t files) {
    return files == 0 ? 0 : static_cast<std::int32_t>((files - 1) / CellsPerPage);
}

std::size_t firstOnPage(std::int32_t page) {
    return static_cast<std::size_t>(std::max<std::int32_t>(page, 0)) * CellsPerPage;
}

std::size_t endOfPage(std::int32_t page, std::size_t files) {
    return std::min(files, firstOnPage(page) + CellsPerPage);
}

std::optional<std::size_t> fileIndex(std::int32_t page, int cell, std::size_t files) {
    if (page < 0 || cell < 0 || cell >= CellsPerPage) return std::nullopt;
    const std::size_t index = firstOnPage(page) + static_cast<std::size_t>(cell);
    if (index >= files) return std::nullopt;
    return index;
}

std::string pageText(std::int32_t page, std::size_t files) {
    return "Page " + std::to_string(page + 1) + " of " + std::to_string(pageCount(files));
}

}  // namespace drapeline::shell::thumbgrid
