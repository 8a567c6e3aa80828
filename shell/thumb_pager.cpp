#include "shell/thumb_pager.h"

#include <algorithm>

#include "shell/thumb_grid.h"

namespace drapeline::shell {

void ThumbPager::reset(std::size_t files) {
    files_ = files;
    page_ = 0;
    cell_ = 0;
}

bool ThumbPager::canGoNext() const { return thumbgrid::lastPage(files_) > page_; }

bool ThumbPager::next() {
    if (!canGoNext()) return false;
    ++page_;
    cell_ = 0;
    return true;
}

bool ThumbPager::previous() {
    if (!canGoPrevious()) return false;
    --page_;
    cell_ = 0;
    return true;
}

std::optional<std::size_t> ThumbPager::press(int x, int y) {
    cell_ = thumbgrid::hitCell(x, y);
    return selectedFile();
}

std::optional<std::size_t> ThumbPager::selectedFile() const {
    return thumbgrid::fileIndex(page_, cell_, files_);
}

std::optional<std::size_t> ThumbPager::fileAt(int x, int y) const {
    return thumbgrid::fileIndex(page_, thumbgrid::hitCell(x, y), files_);
}

bool ThumbPager::select(std::size_t file) {
    if (file >= files_) return false;
    const auto page = static_cast<std::int32_t>(file / thumbgrid::CellsPerPage);
    const bool otherPage = page != page_;
    page_ = page;
    cell_ = static_cast<int>(file % thumbgrid::CellsPerPage);
    return otherPage;
}

ThumbPager::Move ThumbPager::move(GridKey key) {
    if (files_ == 0) return {};
    const auto last = static_cast<std::int64_t>(files_) - 1;
    const std::int64_t from =
        std::min<std::int64_t>(static_cast<std::int64_t>(thumbgrid::firstOnPage(page_)) + cell_, last);
    std::int64_t to = from;
    switch (key) {
    case GridKey::Left: to = from - 1; break;
    case GridKey::Right: to = from + 1; break;
    case GridKey::Up: to = from - thumbgrid::Columns; break;
    case GridKey::Down: to = from + thumbgrid::Columns; break;
    case GridKey::PageUp: to = from - thumbgrid::CellsPerPage; break;
    case GridKey::PageDown: to = from + thumbgrid::CellsPerPage; break;
    case GridKey::Home: to = 0; break;
    case GridKey::End: to = last; break;
    }
    to = std::clamp<std::int64_t>(to, 0, last);
    const int cellBefore = cell_;
    const bool pageChanged = select(static_cast<std::size_t>(to));
    return {pageChanged || cell_ != cellBefore, pageChanged};
}

std::size_t ThumbPager::firstOnPage() const { return thumbgrid::firstOnPage(page_); }

std::size_t ThumbPager::endOfPage() const { return thumbgrid::endOfPage(page_, files_); }

std::string ThumbPager::pageText() const { return thumbgrid::pageText(page_, files_); }

}  // namespace drapeline::shell
