#pragma once
// One sim's wardrobe as its character file stores it: which body-strings entry holds
// which outfit and hand, the entry formats, and the rules that derive the identity codes.
// Plain functions of texts; nothing here touches a file.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace drapeline::wardrobe {

enum class OutfitKind { Normal, Swimsuit, Formal, Pajamas, Nude, Winter };
inline constexpr std::array<OutfitKind, 6> AllOutfits{OutfitKind::Normal,  OutfitKind::Swimsuit,
                                                      OutfitKind::Formal,  OutfitKind::Pajamas,
                                                      OutfitKind::Nude,    OutfitKind::Winter};

enum class HandSlot { FormalLeft, FormalRight, OpenLeft, OpenRight, PointLeft, PointRight, ClosedLeft, ClosedRight };
inline constexpr std::array<HandSlot, 8> AllHandSlots{
    HandSlot::FormalLeft, HandSlot::FormalRight, HandSlot::OpenLeft,   HandSlot::OpenRight,
    HandSlot::PointLeft,  HandSlot::PointRight,  HandSlot::ClosedLeft, HandSlot::ClosedRight};

enum class WardrobeLayout { Long, AdultMiddle, Short };
enum class BodyType { None, Fit, Fat, Skinny };

// Body-strings entry numbers, counted from 1. Every rule that asks which entries a set
// holds (the layout, the save, the default rules, the repairs) asks these numbers through
// `holds`, so the entry counts that divide the layouts are written here and nowhere else.
namespace entry {
inline constexpr std::size_t Age = 1, Normal = 2, Head = 3, Gender = 13, SkinTone = 15, Nude = 16,
                             SwimsuitShort = 17, OpenLeft = 18, OpenRight = 19, PointLeft = 20,
                             PointRight = 21, ClosedLeft = 22, ClosedRight = 23, FormalShort = 28,
                             FormalHandLeft = 29, FormalHandRight = 30, FormalLong = 31,
                             SwimsuitLong = 32, Pajamas = 33, Winter = 34;
// Every set has the entries up to the formal hands; a shorter one can not be saved.
inline constexpr std::size_t Fewest = FormalHandRight;
}  // namespace entry

// Whether a set of `count` entries has entry `number`.
constexpr bool holds(std::size_t count, std::size_t number) { return number >= 1 && count >= number; }

// The entry that holds a hand slot (18 to 23, 29 and 30).
std::size_t handEntryNumber(HandSlot slot);

inline constexpr char PajamasPlaceholder[] = "*** HOT DATE/VACATION ONLY ***";
inline constexpr char WinterPlaceholder[] = "*** VACATION ONLY ***";
inline constexpr char AddedMarker[] = "ADDED";

// Which entries hold formal, swimsuit, pajamas and winter, by entry count and age.
WardrobeLayout layoutFor(std::size_t entryCount, std::string_view age);
// Whether the layout has an entry for the outfit: pajamas not in Short, winter only in Long.
bool layoutHolds(WardrobeLayout layout, OutfitKind kind);
// One of the texts shown in place of an outfit the layout does not hold. Never an entry.
bool isPlaceholder(std::string_view text);
// The outfit's page caption: "Normal", "Swimsuit", ..., "Winter".
const char* outfitCaption(OutfitKind kind);
// The hand slot as the messages name it: "Formal left", "Open right", ...
const char* handCaption(HandSlot slot);

struct OutfitNames {
    std::string mesh;
    std::string texture;
    bool operator==(const OutfitNames&) const = default;
};

// Mesh before the first ",", texture after the first "=" (the whole entry when it holds
// no "="). An entry without "," is run-time error 5.
OutfitNames splitOutfitEntry(std::string_view entry);
// The text after the first "=", or the whole text when it holds none (hand and head entries).
std::string textAfterFirstEquals(std::string_view entry);

char genderLetter(std::string_view gender);      // 'f' for exactly "female", else 'm'
char ageLetter(std::string_view age);            // 'a' for exactly "adult", else 'c'
std::string skinToneWord(std::string_view code); // "light", "medium", "dark" or ""
// Characters 7 to 9 of a mesh name (the body type code), letter case kept; shorter or empty
// for a short name. The one reader of the code: the fields, the default rules and the
// repairs all go through it.
std::string bodyTypeText(std::string_view mesh);
BodyType bodyTypeOf(std::string_view normalMesh); // bodyTypeText, any letter case
std::string bodyTypeCode(BodyType type);         // "fit", "fat", else "skn"

// mesh + ",BODY=" + texture
std::string outfitEntry(std::string_view mesh, std::string_view texture);
// 'u' for a child (age not exactly "adult"), else 'f' for exactly "female", else 'm'.
char handGenderLetter(std::string_view age, std::string_view gender);
// "H" + g + side + pose + ",HAND=" + texture; the formal hands use the open pose "O".
std::string handEntry(char g, HandSlot slot, std::string_view texture);

// catalogue name + "  (" + object label + ")"
std::string displayName(std::string_view catalogueName, std::string_view objectLabel);

// The game sub-folders that may hold a texture bitmap, in search order.
inline constexpr std::array<const char*, 3> SkinFolders{"gamedata/skins", "ExpansionPack3/SkinsBuy",
                                                       "ExpansionShared/SkinsBuy"};
inline constexpr std::size_t BaseSkinFolderOnly = 1;
// How many of SkinFolders an outfit's preview searches when the window opens: the base
// folder only for Normal and Nude, all three for the others.
std::size_t previewFolderCountAtOpening(OutfitKind kind);

}  // namespace drapeline::wardrobe
