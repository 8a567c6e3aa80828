#include "ensembles/ensemble_file.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "wardrobe/checked_names.h"
#include "core/ascii.h"

namespace drapeline::ensembles {

namespace {

using wardrobe::HandSlot;
using wardrobe::OutfitKind;
using wardrobe::WardrobeFields;

constexpr std::size_t WithoutWinter = 18;
constexpr std::size_t AllLines = 20;
// Twenty names are a few hundred bytes; anything this large is not an ensemble file and
// is not worth holding in memory.
constexpr std::uintmax_t LargestEnsembleFile = 1 << 20;

// The field of each line, in file order.
template <class Fields>
auto fieldsInFileOrder(Fields& f) -> std::array<decltype(&f.hand(HandSlot::FormalLeft)), AllLines> {
    const auto mesh = [&](OutfitKind k) { return &f.outfit(k).mesh; };
    const auto texture = [&](OutfitKind k) { return &f.outfit(k).texture; };
    const auto hand = [&](HandSlot s) { return &f.hand(s); };
    return {mesh(OutfitKind::Normal),      texture(OutfitKind::Normal),
            mesh(OutfitKind::Swimsuit),    texture(OutfitKind::Swimsuit),
            mesh(OutfitKind::Formal),      texture(OutfitKind::Formal),
            mesh(OutfitKind::Pajamas),     texture(OutfitKind::Pajamas),
            mesh(OutfitKind::Nude),        texture(OutfitKind::Nude),
            hand(HandSlot::FormalLeft),    hand(HandSlot::FormalRight),
            hand(HandSlot::ClosedLeft),    hand(HandSlot::ClosedRight),
            hand(HandSlot::OpenLeft),      hand(HandSlot::OpenRight),
            hand(HandSlot::PointLeft),     hand(HandSlot::PointRight),
            mesh(OutfitKind::Winter),      texture(OutfitKind::Winter)};
}

// At most `wanted` lines, each without its line end, plus whether more text follows.
std::vector<std::string_view> splitLines(std::string_view text, std::size_t wanted, bool& more) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < text.size() && lines.size() < wanted) {
        const auto lf = text.find('\n', at);
        const auto end = lf == std::string_view::npos ? text.size() : lf;
        auto line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r' && lf != std::string_view::npos)
            line.remove_suffix(1);
        lines.push_back(line);
        at = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    more = at < text.size();
    return lines;
}

std::string lineCountProblem(std::size_t count) {
    return "it has " + std::to_string(count) + (count == 1 ? " line" : " lines") +
           ", but an ensemble file has 18 lines, or 20 with the winter outfit";
}

// The outfit each line belongs to; the hands' lines (11 to 18) belong to none, and a
// sim always has hands.
std::optional<OutfitKind> outfitOfLine(std::size_t index) {
    static constexpr std::array<OutfitKind, 5> First{OutfitKind::Normal, OutfitKind::Swimsuit,
                                                     OutfitKind::Formal, OutfitKind::Pajamas,
                                                     OutfitKind::Nude};
    if (index < 10) return First[index / 2];
    if (index >= WithoutWinter) return OutfitKind::Winter;
    return std::nullopt;
}

// The hand of each of the lines 11 to 18.
HandSlot handOfLine(std::size_t index) {
    static constexpr std::array<HandSlot, 8> Hands{
        HandSlot::FormalLeft, HandSlot::FormalRight, HandSlot::ClosedLeft, HandSlot::ClosedRight,
        HandSlot::OpenLeft,   HandSlot::OpenRight,   HandSlot::PointLeft,  HandSlot::PointRight};
    return Hands.at(index - 10);
}

}  // namespace

ByteText ensembleText(const WardrobeFields& f) {
    ByteText text;
    for (const std::string* field : fieldsInFileOrder(f)) {
        text += *field;
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> applyEnsemble(std::string_view content, WardrobeFields& f,
                                         wardrobe::WardrobeLayout layout) {
    bool more = false;
    const auto lines = splitLines(content, AllLines, more);
    if (lines.size() < WithoutWinter || lines.size() == WithoutWinter + 1)
        return lineCountProblem(lines.size());
    const auto lineProblem = [](std::size_t i, const std::string& problem) {
        return "line " + std::to_string(i + 1) + " " + problem;
    };
    // Filled on a copy: a refused file leaves every field as it was.
    WardrobeFields loaded = f;
    const auto fields = fieldsInFileOrder(loaded);
    std::vector<bool> taken(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto kind = outfitOfLine(i);
        if (wardrobe::isPlaceholder(lines[i])) {
            // Never stored: it stands for an entry the source sim had no room for.
            if (kind && !wardrobe::layoutHolds(layout, *kind)) fields[i]->assign(lines[i]);
            continue;
        }
        if (auto problem = wardrobe::nameProblem(lines[i])) return lineProblem(i, *problem);
        fields[i]->assign(lines[i]);
        taken[i] = true;
    }
    // A name left empty must be one the save can write empty; the empty line is at fault.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!taken[i] || !lines[i].empty()) continue;
        const auto kind = outfitOfLine(i);
        auto gap = kind ? wardrobe::outfitGapProblem(loaded, *kind)
                        : wardrobe::handGapProblem(loaded, handOfLine(i));
        if (gap) return lineProblem(i, "is empty: " + *gap);
    }
    f = std::move(loaded);
    return std::nullopt;
}

std::optional<std::string> loadEnsembleFile(const std::string& path, WardrobeFields& f,
                                            wardrobe::WardrobeLayout layout) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > LargestEnsembleFile) return std::string("it is far too large to be an ensemble file");
    ByteText content;
    try {
        content = platform::readFile(path);
    } catch (const RuntimeError& e) {
        return "it can not be read (" + e.text() + ")";
    }
    return applyEnsemble(content, f, layout);
}

std::string ensembleFolder(const std::string& programFolder) {
    return platform::resolvePath(programFolder, "ENX");
}

std::vector<std::string> listEnsembleFiles(const std::string& programFolder) {
    return platform::listFolder(ensembleFolder(programFolder), "*.enx", platform::Listing::FilesOnly);
}

std::string withEnxExtension(const std::string& name) {
    if (name.size() >= 4) {
        if (ascii::upper(std::string_view(name).substr(name.size() - 4)) == ".ENX") return name;
    }
    return name + ".ENX";
}

std::optional<std::string> unsafeNameProblem(const std::string& name) {
    bool unsafe = name.find_first_of("/\\:*?") != std::string::npos ||
                  name.find("..") != std::string::npos;
    for (const char c : name) unsafe = unsafe || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    if (!unsafe) return std::nullopt;
    return "The name " + name +
           " can not be used for an ensemble file. Ensemble files are kept in the ENX folder, "
           "so a name may not hold \\ / : * ? or \"..\", nor control characters.";
}

}  // namespace drapeline::ensembles
