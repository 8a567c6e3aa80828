#pragma once
// The Wardrobe Overview's state without widgets: the rows of a neighbourhood loaded a
// few at a time (so a window stays responsive and can stop), the texts and marks of each
// cell, the filter, and the sims a batch works on. The window's table model and its
// sorting and filtering proxy ask everything here.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "audit/audit_rules.h"
#include "audit/batch.h"

namespace drapeline::audit {

enum class Column {
    Portrait, Name, File, Age, Gender, SkinTone, BodyType, Problems,
    Normal, Swimsuit, Formal, Pajamas, Nude, Winter,
    FormalHands, OpenHands, PointHands, ClosedHands
};
inline constexpr int ColumnCount = static_cast<int>(Column::ClosedHands) + 1;

class OverviewModel {
public:
    // Rows [first, last] were added, or row `row` changed.
    std::function<void(std::size_t first, std::size_t last)> rowsAdded;
    std::function<void(std::size_t row)> rowChanged;

    // Forgets the rows and lists the neighbourhood's files and the skin folders.
    void start(const std::string& gameLocation, const std::string& neighbourhood);
    // Audits up to `count` more files; false when none are left.
    bool loadMore(std::size_t count);
    void cancel() { next_ = files_.size(); cancelled_ = true; }
    bool loading() const { return next_ < files_.size(); }
    bool cancelled() const { return cancelled_; }
    // "Loading 120 of 600 sims ...", "600 sims, 14 with problems", "Stopped: 120 of 600 sims"
    std::string status() const;

    const std::vector<SimRow>& rows() const { return rows_; }
    const std::string& gameLocation() const { return game_; }
    const std::string& neighbourhood() const { return neighbourhood_; }

    static std::string header(Column column);
    std::string text(std::size_t row, Column column) const;
    // The worst mark of what the cell shows (Ok for the identity columns).
    Mark mark(std::size_t row, Column column) const;
    // What the cell's outfit or hands wear and their problems, one a line; "" when none.
    std::string tooltip(std::size_t row, Column column) const;
    // Whether a row passes the filter: `filter` (any letter case) in its name, file or any
    // worn name, and with `onlyProblems` only a row that has one.
    bool accepts(std::size_t row, const std::string& filter, bool onlyProblems) const;

    // The files of the rows that have `kind`, in row order.
    std::vector<std::string> filesWith(ProblemKind kind) const;
    // Reads the rows of these files again (after a save or a batch).
    void refresh(const std::vector<std::string>& files);
    std::optional<std::size_t> rowOf(const std::string& file) const;

private:
    std::string game_, neighbourhood_, characters_;
    std::vector<std::string> files_;
    std::size_t next_ = 0;
    bool cancelled_ = false;
    std::optional<skins::InstalledSkins> skins_;
    std::vector<SimRow> rows_;
};

}  // namespace drapeline::audit
