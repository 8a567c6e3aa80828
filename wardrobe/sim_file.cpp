// Reading a sim's wardrobe out of its character file, and telling in advance whether a
// file can be opened and saved at all.

#include "wardrobe/sim_file.h"

#include <algorithm>

#include "core/binary_support.h"
#include "core/ascii.h"

namespace drapeline::wardrobe {

namespace {

constexpr std::size_t GuidOffset = 28;


// Where a read failed, in words for the user. Reading and checking share one code path,
// so the check can never accept a file that the reading then refuses.
class Notes {
public:
    explicit Notes(std::string* problem) : problem_(problem) {}

    [[noreturn]] void fail(std::int32_t number, const std::string& why) const {
        if (problem_) *problem_ = why;
        throw RuntimeError(number);
    }

private:
    std::string* problem_;
};

class EntryReader {
public:
    EntryReader(const StringSet& set, const Notes& notes) : set_(set), notes_(notes) {}

    std::size_t count() const { return set_.entries.size(); }

    const std::string& text(std::size_t number, std::string_view what) const {
        if (number == 0 || number > count())
            notes_.fail(err::SubscriptOutOfRange,
                        "its wardrobe has only " + std::to_string(count()) + " entries, so the " +
                            std::string(what) + " entry " + std::to_string(number) +
                            " is missing");
        return set_.entries[number - 1].text;
    }

    // An entry read without an emptiness check must hold an outfit.
    OutfitNames outfit(std::size_t number, std::string_view what) const {
        const std::string& entry = text(number, what);
        if (entry.find(',') == std::string::npos)
            notes_.fail(err::InvalidCall, "the " + std::string(what) + " entry " +
                                              std::to_string(number) + " is not an outfit");
        return splitOutfitEntry(entry);
    }

    // An entry that the game may leave empty (or mark "ADDED"): left untouched then.
    void outfitUnlessEmpty(std::size_t number, std::string_view what, OutfitNames& into,
                           bool addedMeansEmpty = false) const {
        const std::string& entry = text(number, what);
        if (entry.empty() || (addedMeansEmpty && entry == AddedMarker)) return;
        into = outfit(number, what);
    }

private:
    const StringSet& set_;
    const Notes& notes_;
};

// The one reader of a sim's names, with the two rules the program has always used (see
// readIdentity and listedIdentity).
SimIdentity readIdentityNoting(const IffFile& iff, const Notes& notes, bool listed = false) {
    SimIdentity id;
    bool labelFound = false, nameFound = false;
    // Text up to the NUL that ends it; without one, the listing shows what there is.
    const auto upToNul = [&](std::string_view text, std::size_t from, const std::string& what) {
        const auto nul = text.size() > from ? text.find('\0', from) : std::string_view::npos;
        if (nul == std::string_view::npos && !listed) notes.fail(err::InvalidCall, what + " has no end");
        return std::string(text.substr(std::min(from, text.size()), nul == std::string_view::npos ? std::string_view::npos : nul - from));
    };
    for (std::size_t i = 0; i < iff.chunks.size(); ++i) {
        const IffChunk& c = iff.chunks[i];
        if (c.typeCode == "OBJD" && !(listed && labelFound)) {
            std::string label = upToNul(c.label, 0, "the label of its object chunk " + std::to_string(i + 1));
            if (ascii::lower(std::string_view(label).substr(0, 4)) == "user") {
                id.objectLabel = std::move(label);
                id.guid.reset();
                if (c.data.size() >= GuidOffset + 4)
                    id.guid = static_cast<std::uint32_t>(bytes::int32FromLE(c.data.substr(GuidOffset, 4)));
                labelFound = true;
            }
        } else if (c.typeCode == "CTSS" && !(listed && nameFound)) {
            // The first string: after the format code, the count and the language code.
            id.catalogueName = upToNul(c.data, 5, "the name in its catalogue chunk " + std::to_string(i + 1));
            nameFound = true;
        }
    }
    return id;
}

WardrobeFields readFieldsNoting(const IffFile& iff, const StringSet& set, const Notes& notes) {
    const EntryReader entries(set, notes);
    WardrobeFields f;

    markStage(1000);
    f.outfit(OutfitKind::Normal) = entries.outfit(entry::Normal, "normal outfit");
    f.bodyType = bodyTypeOf(f.outfit(OutfitKind::Normal).mesh);

    const auto layout = layoutFor(entries.count(), entries.text(entry::Age, "age"));
    OutfitNames& swimsuit = f.outfit(OutfitKind::Swimsuit);
    OutfitNames& formal = f.outfit(OutfitKind::Formal);
    OutfitNames& pajamas = f.outfit(OutfitKind::Pajamas);
    OutfitNames& winter = f.outfit(OutfitKind::Winter);

    markStage(1100);
    switch (layout) {
    case WardrobeLayout::Long: entries.outfitUnlessEmpty(entry::SwimsuitLong, "swimsuit", swimsuit); break;
    case WardrobeLayout::AdultMiddle: swimsuit = entries.outfit(entry::SwimsuitLong, "swimsuit"); break;
    case WardrobeLayout::Short: swimsuit = entries.outfit(entry::SwimsuitShort, "swimsuit"); break;
    }

    markStage(1200);
    if (layout == WardrobeLayout::Short)
        entries.outfitUnlessEmpty(entry::FormalShort, "formal", formal);
    else
        entries.outfitUnlessEmpty(entry::FormalLong, "formal", formal,
                                  layout == WardrobeLayout::Long);

    markStage(1300);
    switch (layout) {
    case WardrobeLayout::Long: entries.outfitUnlessEmpty(entry::Pajamas, "pajamas", pajamas); break;
    case WardrobeLayout::AdultMiddle: pajamas = entries.outfit(entry::Pajamas, "pajamas"); break;
    case WardrobeLayout::Short: pajamas = {PajamasPlaceholder, PajamasPlaceholder}; break;
    }
    if (layout == WardrobeLayout::Long)
        winter = entries.outfit(entry::Winter, "winter");
    else
        winter = {WinterPlaceholder, WinterPlaceholder};

    markStage(1400);
    f.outfit(OutfitKind::Nude) = entries.outfit(entry::Nude, "nude");

    markStage(2000);
    for (const HandSlot slot : AllHandSlots)
        f.hand(slot) = textAfterFirstEquals(entries.text(handEntryNumber(slot), "hand"));

    markStage(4000);
    const SimIdentity id = readIdentityNoting(iff, notes);
    f.name = displayName(id.catalogueName, id.objectLabel);
    f.gender = entries.text(entry::Gender, "gender");
    f.age = entries.text(entry::Age, "age");
    f.skinTone = skinToneWord(entries.text(entry::SkinTone, "skin tone"));
    return f;
}

}  // namespace

SimIdentity readIdentity(const IffFile& iff) { return readIdentityNoting(iff, Notes(nullptr)); }

SimIdentity listedIdentity(const IffFile& iff) { return readIdentityNoting(iff, Notes(nullptr), true); }

bool sameSim(const SimIdentity& a, const SimIdentity& b) {
    if (ascii::lower(a.objectLabel) != ascii::lower(b.objectLabel)) return false;
    if (a.guid && b.guid) return *a.guid == *b.guid;
    return a.catalogueName == b.catalogueName;
}

WardrobeFields readFields(const IffFile& iff, const StringSet& bodyStrings) {
    return readFieldsNoting(iff, bodyStrings, Notes(nullptr));
}

std::optional<std::string> decodeWardrobe(const IffFile& iff, StringSet& bodyStrings) {
    const IffChunk* chunk = strings::findStringChunk(iff, WardrobeIdField, false);
    if (!chunk) return "it has no wardrobe strings";
    try {
        bodyStrings = strings::decode(chunk->data);
    } catch (const RuntimeError& e) {
        return "its wardrobe strings can not be read (" + e.text() + ")";
    }
    return std::nullopt;
}

std::optional<std::string> openSim(const std::string& path, OpenedSim& sim) {
    const std::string error = iff::readChecked(sim.iff, path, sim.bytes);
    if (!error.empty()) return "it can not be read (" + error + ")";
    if (auto why = decodeWardrobe(sim.iff, sim.bodyStrings)) return why;
    if (sim.bodyStrings.entries.empty()) return std::string("its wardrobe strings are empty");
    return std::nullopt;
}

namespace {

// `set` is the trial's to change.
std::optional<std::string> trialProblem(const IffFile& iff, StringSet& set, WardrobeFields& fields) {
    std::string problem;
    try {
        fields = readFieldsNoting(iff, set, Notes(&problem));
        // Saving what was read must work too; the set is small, so a trial costs nothing.
        writeFields(set, fields);
        strings::encode(set);
    } catch (const RuntimeError& e) {
        return problem.empty() ? "its wardrobe can not be written back (" + e.text() + ")"
                               : problem;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> wardrobeProblem(const IffFile& iff) {
    StringSet set;
    if (auto why = decodeWardrobe(iff, set)) return why;
    WardrobeFields fields;
    return trialProblem(iff, set, fields);
}

std::optional<std::string> wardrobeProblem(const IffFile& iff, const StringSet& decoded, WardrobeFields& fields) {
    StringSet trial = decoded;
    return trialProblem(iff, trial, fields);
}

std::string unshowableMessage(const std::string& fileName, const std::string& problem) {
    return "The wardrobe of " + fileName + " can not be shown: " + problem +
           ". The file has not been changed.";
}

}  // namespace drapeline::wardrobe
