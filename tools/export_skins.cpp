// The skin-name export: the head and normal-outfit body texture of every sim of a
// neighbourhood, one line each, into two text files in the program folder.

#include "core/binary_support.h"
#include "platform/files.h"
#include "tools/neighbourhood_tools.h"
#include "tools/sim_pass.h"
#include "wardrobe/wardrobe_record.h"

namespace drapeline::tools {

namespace {

constexpr char HeadFile[] = "headskins.txt";
constexpr char BodyFile[] = "bodyskins.txt";
// The name set's first string starts after the format code, the count and the language.
constexpr std::size_t CtssNameStart = 5;

// The first string of the last CTSS chunk, "" without one; nothing when that string has
// no end.
std::optional<std::string> simName(const IffFile& iff) {
    const IffChunk* last = nullptr;
    for (const auto& c : iff.chunks)
        if (c.typeCode == "CTSS") last = &c;
    if (!last) return std::string();
    const std::string_view data = last->data;
    if (data.size() <= CtssNameStart) return std::nullopt;
    const auto end = data.find('\0', CtssNameStart);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(data.substr(CtssNameStart, end - CtssNameStart));
}

}  // namespace

ExportReport exportSkinNames(const std::string& characterFolder,
                             const std::vector<std::string>& simFiles,
                             const std::string& programFolder) {
    ExportReport report;
    if (simFiles.empty()) return report;
    ByteText head, body;
    for (const std::string& file : simFiles) {
        wardrobe::OpenedSim sim;
        if (auto why = detail::openListedSim(characterFolder, file, sim)) {
            report.skipped.push_back({file, std::move(*why)});
            continue;
        }
        const auto& e = sim.bodyStrings.entries;
        if (e.size() < wardrobe::entry::Head) {
            report.skipped.push_back({file, detail::missingEntry(e.size(), wardrobe::entry::Head, "head")});
            continue;
        }
        const auto name = simName(sim.iff);
        if (!name) {
            report.skipped.push_back({file, "its name set has no end"});
            continue;
        }
        const std::string prefix = file + ";" + *name + ";";
        body += prefix + wardrobe::textAfterFirstEquals(e[wardrobe::entry::Normal - 1].text) + "\r\n";
        head += prefix + wardrobe::textAfterFirstEquals(e[wardrobe::entry::Head - 1].text) + "\r\n";
        ++report.exported;
    }
    report.headPath = platform::resolvePath(programFolder, HeadFile);
    report.bodyPath = platform::resolvePath(programFolder, BodyFile);
    platform::replaceFileAtomically(report.headPath, head);
    platform::replaceFileAtomically(report.bodyPath, body);
    return report;
}

std::string exportMessage(const ExportReport& report) {
    return detail::withSkipped("Exported:\r\n" + report.headPath + "\r\n" + report.bodyPath,
                               report.skipped);
}

}  // namespace drapeline::tools
