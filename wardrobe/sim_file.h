#pragma once
// Opening a character file's wardrobe and writing it back. The edit window, the
// command-line tool and the neighbourhood repair tools all go through these.

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "core/string_set.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "wardrobe/wardrobe_fields.h"

namespace drapeline::wardrobe {

// A sim's names. There is one reader with two rules, both the program's since its start:
// - readIdentity, the edit window's (and the backups', the restore's, the skin-name
//   export's): the object label of the last OBJD chunk whose label starts with "user" (any
//   case) and the catalogue name, the first string of the last CTSS chunk; a label or name
//   set without the NUL that ends it is RuntimeError 5;
// - listedIdentity, the main window's thumbnail labels and preview: the first of each in
//   file order, and a text without its NUL shown as far as it goes, never an error.
// Empty where the chunk is missing.
// The GUID is the object definition's (its 32-bit number at byte 28), when it is that long.
struct SimIdentity {
    std::string objectLabel;
    std::string catalogueName;
    std::optional<std::uint32_t> guid;
};
SimIdentity readIdentity(const IffFile& iff);
SimIdentity listedIdentity(const IffFile& iff);

// Whether two files hold the same sim: the same object label (letter case aside) and the
// same GUID; where either file has no GUID, the same catalogue name. File numbers repeat
// from one neighbourhood or game to the next, so the label alone does not tell.
bool sameSim(const SimIdentity& a, const SimIdentity& b);

// The fields as the edit window shows them after opening, from the decoded body strings:
// outfits by layout (with the placeholders), hands, identity, body type. Sets stage
// at each stage (1000 ... 4000) and throws RuntimeError where an entry can not be read.
WardrobeFields readFields(const IffFile& iff, const StringSet& bodyStrings);

// The wardrobe strings of a file read: nothing, or why they can not be had ("it has no
// wardrobe strings", "its wardrobe strings can not be read (...)").
std::optional<std::string> decodeWardrobe(const IffFile& iff, StringSet& bodyStrings);

// A character file opened for a pass over a neighbourhood, every failure a reason instead
// of an error: read with the checked reader and its wardrobe strings decoded.
struct OpenedSim {
    ByteText bytes;   // the file as read, so that an unchanged rewrite can be left out
    IffFile iff;
    StringSet bodyStrings;
};
std::optional<std::string> openSim(const std::string& path, OpenedSim& sim);

// Why a wardrobe can not be shown or saved, in a few plain words ("it has no wardrobe
// strings", "its wardrobe has only 12 entries, so the swimsuit entry 17 is missing", "the
// swimsuit entry 17 is not an outfit", ...), or nothing when it can. It runs the same
// reading as readFields, a trial writeFields on a copy of the set, and checks the picture
// labels that opening cuts, so a file it accepts opens and saves without error. The edit
// window and the command-line tool refuse such a sim with a message instead of ending the
// program. Sets stage as readFields does.
std::optional<std::string> wardrobeProblem(const IffFile& iff);
// The same for the wardrobe strings already decoded from `iff` (by openSim), without
// decoding them again; without a problem, `fields` holds what readFields reads.
std::optional<std::string> wardrobeProblem(const IffFile& iff, const StringSet& decoded, WardrobeFields& fields);

// The message shown for such a sim: names the file and what is wrong.
std::string unshowableMessage(const std::string& fileName, const std::string& problem);

// Writes the fields into the body strings as Save does: outfit entries by entry count and
// age (with "ADDED" and the child defaults), hand entries with keys rebuilt from the age
// and gender fields, every other entry, language code and comment untouched. Throws
// RuntimeError 9, before changing anything, when the set lacks an entry it must write.
void writeFields(StringSet& bodyStrings, const WardrobeFields& fields);

// File name, sim part, neighbourhood folder and time stamp (with seconds), cleaned to a
// safe file name: ".../UserData2/Characters/User00012.iff" and "Bella  (user00012)" at
// 14:05:07 on 30 March 2002 give "User00012iff_ellauser00012_UserData2_20020330_140507".
// The neighbourhood folder follows the first "\Userdata" or "/Userdata" (any case).
std::string backupBaseName(const std::string& characterPath, const std::string& displayName,
                           const platform::LocalTime& time);

// The neighbourhood part of a backup's name: the folder after the first "\Userdata" or
// "/Userdata" of the path (any case); elsewhere the path's first component (the drive).
std::string backupNeighbourhood(const std::string& characterPath);

// Copies the character file as it is on disk into programFolder/Backup (created when
// missing) under backupBaseName, adding "_2", "_3", ... rather than replacing an existing
// backup. Returns the backup's path. Sets stage 1000 (folder), 2000 (name) and 3000
// (copy). Throws RuntimeError.
// `content`, when given, is what the file holds, read by the caller under its lock (a
// batch has it in hand): it is written instead of reading the file again. A batch forces
// its backups to disk itself, all at once (`flush` ByCaller).
std::string makeUserBackup(const std::string& programFolder, const std::string& characterPath,
                           const std::string& displayName, const platform::LocalTime& time,
                           const ByteText* content = nullptr,
                           platform::DiskFlush flush = platform::DiskFlush::Now);

// The character file is no longer what was read: another program (perhaps the game)
// wrote it meanwhile. `now` is the identity of what it holds now.
class CharacterFileChanged : public std::runtime_error {
public:
    CharacterFileChanged(const std::string& path, FileIdentity now);
    FileIdentity now() const noexcept { return now_; }

private:
    FileIdentity now_;
};

// Throws CharacterFileChanged (naming `characterPath`) unless the file at `path` still
// holds the bytes `expected` identifies. The caller holds the file's lock.
void requireUnchanged(const std::string& path, const std::string& characterPath, const FileIdentity& expected);

// Writes `bytes` to programFolder/usertemp.iff, the user's copy of the last file written;
// a program folder that can not take it costs that copy and nothing else.
void keepUserCopy(const std::string& programFolder, const ByteText& bytes);

// The one way a character file is replaced (a batch of many files takes the same steps
// in two rounds, sharing the folder syncs: tools' runBatch). A link is followed and the file it names is
// replaced, the link kept. The file is locked (platform::FileLock: waits at most two
// seconds for another holder, then throws platform::FileBusy), and when `expected` is
// given the file must still hold the bytes it identifies, or CharacterFileChanged is
// thrown. Then the new content is written whole to programFolder/usertemp.iff (which
// stays there), `beforeReplace` runs (the backup) and the same bytes are put at the
// character file's path with the durable atomic replace, so that the character file is at
// every moment the complete old or the complete new file; the lock is held throughout.
// The caller's stage is kept through the writer's own stages. Returns the identity of what
// was written. Throws RuntimeError; the character file is then unchanged.
FileIdentity replaceCharacterFile(IffFile& iff, const std::string& characterPath,
                          const std::string& programFolder,
                          const std::function<void()>& beforeReplace = {},
                          const std::optional<FileIdentity>& expected = {});
// The same with the new file's bytes already made (a batch run compares them with the
// file's; a restore takes them from a backup).
// A batch of many files passes keepCopy false: usertemp.iff would only ever hold its last
// file, and the batch keeps every file's backup and its record instead.
FileIdentity replaceCharacterFile(const ByteText& bytes, const std::string& characterPath,
                          const std::string& programFolder,
                          const std::function<void()>& beforeReplace = {},
                          const std::optional<FileIdentity>& expected = {}, bool keepCopy = true);

}  // namespace drapeline::wardrobe
