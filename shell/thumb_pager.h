#pragma once
// Where a thumbnail grid stands: which page of its files is shown and which cell is
// selected, moved by the paging buttons, a press in the area or the keyboard. Both
// thumbnail windows keep one; their widgets only forward events and paint.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace drapeline::shell {

enum class GridKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };

class ThumbPager {
public:
    // A new list of files: page 0, cell 0.
    void reset(std::size_t files);
    std::size_t files() const { return files_; }

    std::int32_t page() const { return page_; }
    int cell() const { return cell_; }

    bool canGoNext() const;
    bool canGoPrevious() const { return page_ > 0; }
    // Paging buttons: false (nothing changes) at either end. The page is drawn afresh,
    // which selects its first cell.
    bool next();
    bool previous();
    // A page was drawn: its first cell is selected.
    void pageDrawn() { cell_ = 0; }

    // A press at (x, y) of the area selects the cell under it, occupied or not.
    std::optional<std::size_t> press(int x, int y);
    // The file in the selected cell, or nothing for an empty cell.
    std::optional<std::size_t> selectedFile() const;
    // The file under a point, or nothing over an empty cell.
    std::optional<std::size_t> fileAt(int x, int y) const;

    // Selects a file on its page. True when that page is not the one shown, so the
    // caller draws it.
    bool select(std::size_t file);

    struct Move {
        bool moved = false;         // the selection went to another file
        bool pageChanged = false;   // ... on another page, which must be drawn
    };
    // Arrows step through the files in reading order (left and right wrap to the
    // neighbouring row and page, up and down move a row), Page Up/Down move a whole
    // page, Home and End go to the first and last file. A selection on an empty cell
    // moves from the last file.
    Move move(GridKey key);

    std::size_t firstOnPage() const;
    std::size_t endOfPage() const;
    // "Page 2 of 3"
    std::string pageText() const;

private:
    std::size_t files_ = 0;
    std::int32_t page_ = 0;
    int cell_ = 0;
};

}  // namespace drapeline::shell
