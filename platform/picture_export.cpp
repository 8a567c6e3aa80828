#include "platform/picture_export.h"

#include "platform/files.h"

namespace drapeline::platform {

std::vector<std::string> exportAllPictures(const IffFile& iff, const std::string& folder) {
    std::vector<std::string> written;
    for (auto& picture : bitmaps::allPictures(iff)) {
        // Whole-file writes through a rename: a shorter picture never keeps the tail of an
        // older one, and a link planted under the name is replaced, not written through.
        writeFile(joinPath(folder, picture.name), picture.chunk->data);
        written.push_back(std::move(picture.name));
    }
    return written;
}

ExportReport dumpBitmaps(const IffFile& iff, const std::string& folder, std::size_t limit,
                         std::span<const std::string_view> first) {
    return guarded("modIFFsupport", "gsDumpBMPs", Stages::None, [&] {
        const bitmaps::PicturePlan plan = bitmaps::picturesToExport(iff, limit, first);
        ExportReport report;
        report.leftOut = plan.leftOut;
        for (const auto& picture : plan.pictures) {
            try {
                writeFile(joinPath(folder, picture.name), picture.chunk->data);
                report.written.push_back(picture.name);
            } catch (const RuntimeError&) {
                report.failed.push_back(picture.name);
            }
        }
        return report;
    });
}

}  // namespace drapeline::platform
