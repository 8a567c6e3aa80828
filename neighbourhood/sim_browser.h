#pragma once
// What the main window shows of a neighbourhood's sims: a thumbnail with the sim's first
// name for each file of a page, and the larger preview of the selected sim. Character
// files are read with the checked reader, so an unreadable file is shown, never fatal.

#include <string>
#include <vector>

#include "core/iff_file.h"
#include "platform/pictures.h"
#include "platform/services.h"

namespace drapeline::neighbourhood {

inline constexpr char CanNotLoadLabel[] = "* ERROR *\r\n Can't Load!!";

struct Thumbnail {
    platform::ShownPicture picture;   // the web image, or a stock picture
    std::string label;                // the sim's first name, or CanNotLoadLabel
};

struct SimPreview {
    bool readable = false;
    std::string name;                       // txtSimName
    platform::ShownPicture webImage;        // painted at (0, 0)
    platform::ShownPicture faces;           // at (0, 64)
    platform::ShownPicture relImages;       // at (0, 128)
    std::vector<std::string> errorLines;    // printed at 48, 60, 72 and 84 when unreadable
};


// The BMP_ chunk that holds the sim's web image, or null.
const IffChunk* webImageChunk(const IffFile& iff);


class SimBrowser {
public:
    explicit SimBrowser(platform::Services& services) : services_(services) {}

    // Reads one character file for its thumbnail: its first name and its web image.
    Thumbnail thumbnail(const std::string& path);

    // Reads one character file for the preview: exports its bitmaps afresh (the previous
    // sim's are deleted first, so no picture of another sim survives) and shows its
    // pictures from memory, whether or not they could be written.
    SimPreview preview(const std::string& path, const std::string& userDataDir);

    // The file most recently read ("" before any).

private:
    platform::Services& services_;
    IffFile iff_;
};

}  // namespace drapeline::neighbourhood
