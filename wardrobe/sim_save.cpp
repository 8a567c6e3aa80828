// Writing a sim's wardrobe back: the body-strings entries, the backup copy and the
// replacement of the character file.

#include "core/binary_support.h"
#include "core/file_io.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"
#include "core/ascii.h"

namespace drapeline::wardrobe {

namespace {

constexpr char EmptyOutfit[] = ",BODY=";

// What a child wears when its newer outfit entries are empty; the game would otherwise
// dress it in nothing.
std::string childDefault(std::size_t number, bool female) {
    const char* body = number == entry::SwimsuitLong ? (female ? "s100fcchd" : "s100mcchd")
                       : number == entry::Pajamas    ? (female ? "l100fcchd" : "l100mcchd")
                                                     : (female ? "w100fcchd" : "w100mcchd");
    return std::string(body) + "_original,BODY=" + body + "lgt_original";
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// The folder after the first "\Userdata" of the path, any letter case. Linux paths use
// "/", so either separator counts.
std::string neighbourhoodFolder(const std::string& path) {
    static constexpr std::string_view Marker = "userdata";
    for (std::size_t i = 0; i + Marker.size() < path.size(); ++i) {
        if (!isSeparator(path[i])) continue;
        bool match = true;
        for (std::size_t k = 0; k < Marker.size() && match; ++k)
            match = ascii::toLower(path[i + 1 + k]) == Marker[k];
        if (!match) continue;
        const auto start = i + 1;
        auto end = start;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        return path.substr(start, end - start);
    }
    // Elsewhere the drive stands in; a path without any separator has none.
    std::size_t end = 0;
    while (end < path.size() && !isSeparator(path[end])) ++end;
    return end < path.size() ? path.substr(0, end) : std::string();
}

std::string twoDigits(int value) {
    const std::string digits = std::to_string(value);
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string timeStamp(const platform::LocalTime& t) {
    std::string year = std::to_string(t.year);
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    return year + twoDigits(t.month) + twoDigits(t.day) + "_" + twoDigits(t.hour) +
           twoDigits(t.minute) + twoDigits(t.second);
}

// Restores the caller's stage when the writer's own stages are done with it, so that
// a failure is reported at the caller's stage.
class KeepErrLocation {
public:
    KeepErrLocation() : saved_(errorContext().stage) {}
    ~KeepErrLocation() { markStage(saved_); }
    KeepErrLocation(const KeepErrLocation&) = delete;
    KeepErrLocation& operator=(const KeepErrLocation&) = delete;

private:
    std::int32_t saved_;
};

}  // namespace

void writeFields(StringSet& bodyStrings, const WardrobeFields& fields) {
    auto& e = bodyStrings.entries;
    const std::size_t n = e.size();
    const std::string age = n >= entry::Age ? e[entry::Age - 1].text : std::string();
    const bool adult = age == "adult";
    // Every entry this save writes must exist; checked first so that a refused save leaves
    // the set exactly as read.
    if (!holds(n, entry::Fewest) ||
        (adult && holds(n, entry::FormalLong) && !holds(n, entry::Pajamas)))
        throw RuntimeError(err::SubscriptOutOfRange);
    const bool female = e[entry::Gender - 1].text == "female";
    const auto put = [&](std::size_t number, std::string text) { e[number - 1].text = std::move(text); };
    const auto outfit = [&](OutfitKind kind) {
        return outfitEntry(fields.outfit(kind).mesh, fields.outfit(kind).texture);
    };

    // A placeholder stands for an entry the file does not have: whatever put one into a
    // field, it is never stored, and the outfit's entries keep what they hold.
    const auto putOutfit = [&](std::size_t number, OutfitKind kind, const std::string& text) {
        const OutfitNames& o = fields.outfit(kind);
        if (!isPlaceholder(o.mesh) && !isPlaceholder(o.texture)) put(number, text);
    };
    const std::string swimsuit = outfit(OutfitKind::Swimsuit);
    const std::string formal =
        fields.outfit(OutfitKind::Formal).mesh.empty() ? EmptyOutfit : outfit(OutfitKind::Formal);
    putOutfit(entry::Normal, OutfitKind::Normal, outfit(OutfitKind::Normal));
    putOutfit(entry::SwimsuitShort, OutfitKind::Swimsuit, swimsuit);
    putOutfit(entry::FormalShort, OutfitKind::Formal, formal);
    putOutfit(entry::Nude, OutfitKind::Nude, outfit(OutfitKind::Nude));
    if (!holds(n, entry::Winter)) {
        if (adult && holds(n, entry::FormalLong)) {
            putOutfit(entry::FormalLong, OutfitKind::Formal, formal);
            putOutfit(entry::SwimsuitLong, OutfitKind::Swimsuit, swimsuit);
            putOutfit(entry::Pajamas, OutfitKind::Pajamas, outfit(OutfitKind::Pajamas));
        }
    } else {
        if (adult) putOutfit(entry::FormalLong, OutfitKind::Formal, formal);
        else put(entry::FormalLong, AddedMarker);
        putOutfit(entry::SwimsuitLong, OutfitKind::Swimsuit, swimsuit);
        putOutfit(entry::Pajamas, OutfitKind::Pajamas, outfit(OutfitKind::Pajamas));
        putOutfit(entry::Winter, OutfitKind::Winter, outfit(OutfitKind::Winter));
        if (age == "child")
            for (const std::size_t number : {entry::SwimsuitLong, entry::Pajamas, entry::Winter})
                if (e[number - 1].text == EmptyOutfit) put(number, childDefault(number, female));
    }

    const char g = handGenderLetter(fields.age, fields.gender);
    for (const HandSlot slot : AllHandSlots)
        if (!isPlaceholder(fields.hand(slot)))
            put(handEntryNumber(slot), handEntry(g, slot, fields.hand(slot)));
    // One formal hand alone would give the sim mismatched hands; both empty means the
    // normal hands are worn.
    if (fields.hand(HandSlot::FormalLeft).empty() || fields.hand(HandSlot::FormalRight).empty()) {
        put(handEntryNumber(HandSlot::FormalLeft), {});
        put(handEntryNumber(HandSlot::FormalRight), {});
    }
}

std::string backupNeighbourhood(const std::string& characterPath) {
    return neighbourhoodFolder(characterPath);
}

std::string backupBaseName(const std::string& characterPath, const std::string& displayName,
                           const platform::LocalTime& time) {
    // The sim part starts two characters after the first "-"; without one, at the second
    // character (the name's first character is dropped either way).
    const auto dash = displayName.find('-');
    const std::size_t from = (dash == std::string::npos ? 0 : dash + 1) + 1;
    const std::string simPart = from < displayName.size() ? displayName.substr(from) : std::string();
    return iff::cleanFileName(platform::fileNameOf(characterPath) + "_" + simPart +
                                             "_" + neighbourhoodFolder(characterPath) + "_" +
                                             timeStamp(time));
}

std::string makeUserBackup(const std::string& programFolder, const std::string& characterPath,
                           const std::string& displayName, const platform::LocalTime& time,
                           const ByteText* content, platform::DiskFlush flush) {
    markStage(1000);
    const std::string folder = platform::resolvePath(programFolder, "Backup");
    if (!platform::folderExists(folder) && !platform::createFolder(folder))
        throw RuntimeError(err::PathNotFound);

    markStage(2000);
    const std::string base = backupBaseName(characterPath, displayName, time);

    markStage(3000);
    // A backup is never replaced: two saves within one second get "_2", "_3", ... The
    // write refuses an existing target itself, so no other writer can slip in between, and
    // it goes through a temporary file, so a killed save leaves no empty backup.
    ByteText read;
    if (!content) read = platform::readFile(characterPath);
    const ByteText& original = content ? *content : read;
    for (int k = 1; k <= 9999; ++k) {
        const std::string path =
            platform::joinPath(folder, k == 1 ? base : base + "_" + std::to_string(k));
        if (platform::writeNewFileAtomically(path, original, flush)) return path;
    }
    throw RuntimeError(err::PathFileAccess);
}

CharacterFileChanged::CharacterFileChanged(const std::string& path, FileIdentity now)
    : std::runtime_error(path + " was changed by another program since it was read"), now_(now) {}

void requireUnchanged(const std::string& path, const std::string& characterPath, const FileIdentity& expected) {
    const FileIdentity now = identityOf(platform::readFile(path));
    if (now != expected) throw CharacterFileChanged(characterPath, now);
}

void keepUserCopy(const std::string& programFolder, const ByteText& bytes) {
    const std::string temp = platform::resolvePath(programFolder, "usertemp.iff");
    try {
        const KeepErrLocation keep;
        platform::removeFile(temp);
        platform::writeFile(temp, bytes);
        platform::removeStaleTemporariesOnce(programFolder);
    } catch (const RuntimeError&) {
        platform::removeFile(temp);   // never a stale copy that looks like this save's
    }
}

FileIdentity replaceCharacterFile(IffFile& iff, const std::string& characterPath,
                          const std::string& programFolder,
                          const std::function<void()>& beforeReplace,
                          const std::optional<FileIdentity>& expected) {
    ByteText bytes;
    {
        const KeepErrLocation keep;
        bytes = iff::serialise(iff);
    }
    return replaceCharacterFile(bytes, characterPath, programFolder, beforeReplace, expected);
}

FileIdentity replaceCharacterFile(const ByteText& bytes, const std::string& characterPath,
                          const std::string& programFolder,
                          const std::function<void()>& beforeReplace,
                          const std::optional<FileIdentity>& expected, bool keepCopy) {
    // A player who keeps a neighbourhood elsewhere and links its files into the game
    // keeps the link: the file it names is the one replaced.
    const std::string path = platform::linkTarget(characterPath);
    // A read-only character file is refused before anything, a backup included, is written.
    platform::refuseReadOnlyFile(path);
    const platform::FileLock lock(path);
    if (expected) requireUnchanged(path, characterPath, *expected);
    // The temporary file stays after the save: it is the user's copy of what was written.
    // A program folder that can not take it (read-only, full) costs that copy, not the save:
    // the replacement below writes its own temporary file beside the character file.
    if (keepCopy) keepUserCopy(programFolder, bytes);
    if (beforeReplace) beforeReplace();
    // The character file itself is never deleted: the new content replaces it in one step.
    platform::replaceFileAtomically(path, bytes);
    return identityOf(bytes);
}

}  // namespace drapeline::wardrobe
