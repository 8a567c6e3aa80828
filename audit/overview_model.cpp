#include "audit/overview_model.h"

#include <algorithm>

#include "core/ascii.h"
#include "neighbourhood/listing.h"
#include "platform/files.h"

namespace drapeline::audit {

namespace {

using wardrobe::HandSlot;
using wardrobe::OutfitKind;

std::optional<OutfitKind> outfitOf(Column c) {
    const int i = static_cast<int>(c) - static_cast<int>(Column::Normal);
    if (i < 0 || i >= 6) return std::nullopt;
    return wardrobe::AllOutfits[static_cast<std::size_t>(i)];
}

// The left and right slot of a hand column.
std::optional<std::pair<HandSlot, HandSlot>> handsOf(Column c) {
    switch (c) {
    case Column::FormalHands: return std::pair{HandSlot::FormalLeft, HandSlot::FormalRight};
    case Column::OpenHands: return std::pair{HandSlot::OpenLeft, HandSlot::OpenRight};
    case Column::PointHands: return std::pair{HandSlot::PointLeft, HandSlot::PointRight};
    case Column::ClosedHands: return std::pair{HandSlot::ClosedLeft, HandSlot::ClosedRight};
    default: return std::nullopt;
    }
}

Mark worse(Mark a, Mark b) {
    const auto rank = [](Mark m) { return m == Mark::Problem ? 3 : m == Mark::Ok ? 2 : m == Mark::Empty ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

std::string sims(std::size_t n) { return std::to_string(n) + (n == 1 ? " sim" : " sims"); }

}  // namespace

void OverviewModel::start(const std::string& gameLocation, const std::string& neighbourhood) {
    game_ = gameLocation;
    neighbourhood_ = neighbourhood;
    characters_ = neighbourhood::characterFolder(gameLocation, neighbourhood);
    files_ = neighbourhood::listSimFiles(gameLocation, neighbourhood);
    next_ = 0;
    cancelled_ = false;
    rows_.clear();
    rows_.reserve(files_.size());
    skins_ = skins::InstalledSkins::list(gameLocation);
}

bool OverviewModel::loadMore(std::size_t count) {
    if (!loading() || !skins_) return false;
    const std::size_t first = rows_.size();
    for (std::size_t i = 0; i < count && next_ < files_.size(); ++i, ++next_) {
        rows_.push_back(auditFile(platform::joinPath(characters_, files_[next_]), *skins_, true));
        rows_.back().neighbourhood = neighbourhood_;
    }
    if (rows_.size() > first && rowsAdded) rowsAdded(first, rows_.size() - 1);
    return loading();
}

std::string OverviewModel::status() const {
    if (loading()) return "Loading " + std::to_string(rows_.size()) + " of " + sims(files_.size()) + " ...";
    const auto troubled = std::count_if(rows_.begin(), rows_.end(), [](const SimRow& r) { return !r.problems.empty(); });
    const std::string found = ", " + std::to_string(troubled) + " with problems";
    if (cancelled_ && rows_.size() < files_.size())
        return "Stopped: " + std::to_string(rows_.size()) + " of " + sims(files_.size()) + " loaded" + found;
    return sims(rows_.size()) + found;
}

std::string OverviewModel::header(Column column) {
    switch (column) {
    case Column::Portrait: return "";
    case Column::Name: return "Name";
    case Column::File: return "File";
    case Column::Age: return "Age";
    case Column::Gender: return "Gender";
    case Column::SkinTone: return "Skin Tone";
    case Column::BodyType: return "Body Type";
    case Column::FormalHands: return "Formal Hands";
    case Column::OpenHands: return "Open Hands";
    case Column::PointHands: return "Point Hands";
    case Column::ClosedHands: return "Closed Hands";
    case Column::Problems: return "Problems";
    default: return wardrobe::outfitCaption(*outfitOf(column));
    }
}

std::string OverviewModel::text(std::size_t row, Column column) const {
    const SimRow& r = rows_.at(row);
    if (const auto kind = outfitOf(column)) {
        const Worn& w = r.outfit(*kind);
        if (w.mark == Mark::NotHeld) return "(not held)";
        if (w.mesh.empty() && w.texture.empty()) return "";
        return w.mesh + " / " + w.texture;
    }
    if (const auto hands = handsOf(column)) {
        const std::string& left = r.hand(hands->first).texture;
        const std::string& right = r.hand(hands->second).texture;
        return left == right ? left : left + " / " + right;
    }
    switch (column) {
    case Column::Name: return r.name;
    case Column::File: return r.file;
    case Column::Age: return r.age;
    case Column::Gender: return r.gender;
    case Column::SkinTone: return wardrobe::skinToneWord(r.skinTone).empty() ? r.skinTone : wardrobe::skinToneWord(r.skinTone);
    case Column::BodyType:   // in the edit window's words
        return r.bodyType == "skn" ? std::string("skinny") : r.bodyType;
    case Column::Problems: {
        std::string text;
        for (const auto& p : r.problems) {
            const std::string caption = kindCaption(p.kind);
            if (text.find(caption) == std::string::npos) text += (text.empty() ? "" : ", ") + caption;
        }
        return text;
    }
    default: return "";
    }
}

Mark OverviewModel::mark(std::size_t row, Column column) const {
    const SimRow& r = rows_.at(row);
    if (const auto kind = outfitOf(column)) return r.outfit(*kind).mark;
    if (const auto hands = handsOf(column)) return worse(r.hand(hands->first).mark, r.hand(hands->second).mark);
    if (column == Column::Problems || column == Column::File) return r.problems.empty() ? Mark::Ok : Mark::Problem;
    return Mark::Ok;
}

std::string OverviewModel::tooltip(std::size_t row, Column column) const {
    const SimRow& r = rows_.at(row);
    std::vector<std::string> places;
    if (const auto kind = outfitOf(column)) places.push_back(wardrobe::outfitCaption(*kind));
    if (const auto hands = handsOf(column)) {
        places.push_back(wardrobe::handCaption(hands->first));
        places.push_back(wardrobe::handCaption(hands->second));
    }
    const bool all = column == Column::Problems || column == Column::File || column == Column::Name;
    // The names in full: the cell cuts them short.
    std::string text = places.empty() ? std::string() : this->text(row, column);
    for (const auto& p : r.problems)
        if (all || std::find(places.begin(), places.end(), p.where) != places.end())
            text += (text.empty() ? "" : "\n") + p.text;
    return text;
}

bool OverviewModel::accepts(std::size_t row, const std::string& filter, bool onlyProblems) const {
    const SimRow& r = rows_.at(row);
    if (onlyProblems && r.problems.empty()) return false;
    if (filter.empty()) return true;
    const std::string wanted = ascii::lower(filter);
    const auto holds = [&](const std::string& text) { return ascii::lower(text).find(wanted) != std::string::npos; };
    if (holds(r.name) || holds(r.file)) return true;
    for (const auto& w : r.outfits)
        if (holds(w.mesh) || holds(w.texture)) return true;
    for (const auto& w : r.hands)
        if (holds(w.texture)) return true;
    for (const auto& p : r.problems)
        if (holds(kindCaption(p.kind))) return true;
    return false;
}

std::vector<std::string> OverviewModel::filesWith(ProblemKind kind) const {
    std::vector<std::string> files;
    for (const auto& r : rows_)
        if (r.has(kind)) files.push_back(r.file);
    return files;
}

std::optional<std::size_t> OverviewModel::rowOf(const std::string& file) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].file == file) return i;
    return std::nullopt;
}

void OverviewModel::refresh(const std::vector<std::string>& files) {
    if (!skins_) return;
    for (const auto& file : files)
        if (const auto row = rowOf(file)) {
            rows_[*row] = auditFile(rows_[*row].path, *skins_, true);
            rows_[*row].neighbourhood = neighbourhood_;
            if (rowChanged) rowChanged(*row);
        }
}

}  // namespace drapeline::audit
