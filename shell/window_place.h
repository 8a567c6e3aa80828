#pragma once
// Where a window was left: its rectangle and whether it was maximised, kept as one
// settings text per window, and whether that place is still on a screen of this machine
// (a monitor unplugged since, or a smaller desktop, must not swallow the window).

#include <optional>
#include <string>
#include <vector>

namespace drapeline::shell {

struct PlaceRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PlaceRect&) const = default;
};

struct WindowPlace {
    PlaceRect rect;   // the normal (not maximised) rectangle, frame not included
    bool maximised = false;
    bool operator==(const WindowPlace&) const = default;
};

// "x y width height" and " maximised" when it was.
std::string placeText(const WindowPlace& place);
// Nothing for a text that is not one of ours (an empty setting, a hand-edited one).
std::optional<WindowPlace> readPlace(const std::string& text);

// The place to restore on these screens (their available areas): the saved one when its
// top edge, where the title bar is grabbed, lies on a screen, shrunk to fit that screen
// and never below `minimum`; nothing when no screen holds it any more.
std::optional<WindowPlace> placeOnScreens(const WindowPlace& saved, const std::vector<PlaceRect>& screens,
                                          int minimumWidth, int minimumHeight);

}  // namespace drapeline::shell
