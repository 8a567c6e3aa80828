#include "shell/window_place.h"

#include <algorithm>
#include <sstream>

namespace drapeline::shell {

std::string placeText(const WindowPlace& place) {
    const PlaceRect& r = place.rect;
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height) + (place.maximised ? " maximised" : "");
}

std::optional<WindowPlace> readPlace(const std::string& text) {
    std::istringstream in(text);
    WindowPlace place;
    PlaceRect& r = place.rect;
    if (!(in >> r.x >> r.y >> r.width >> r.height)) return std::nullopt;
    std::string word;
    if (in >> word) {
        if (word != "maximised") return std::nullopt;
        place.maximised = true;
    }
    if (in >> word) return std::nullopt;
    // Sizes beyond any screen are a damaged setting, not a window.
    constexpr int Largest = 1 << 15;
    if (r.width <= 0 || r.height <= 0 || r.width > Largest || r.height > Largest || r.x < -Largest ||
        r.x > Largest || r.y < -Largest || r.y > Largest)
        return std::nullopt;
    return place;
}

std::optional<WindowPlace> placeOnScreens(const WindowPlace& saved, const std::vector<PlaceRect>& screens,
                                          int minimumWidth, int minimumHeight) {
    const PlaceRect& r = saved.rect;
    // The middle of the window's top edge: what the user grabs to move it.
    const int grabX = r.x + r.width / 2;
    const int grabY = r.y;
    for (const PlaceRect& s : screens) {
        if (grabX < s.x || grabX >= s.x + s.width || grabY < s.y || grabY >= s.y + s.height) continue;
        WindowPlace placed = saved;
        PlaceRect& p = placed.rect;
        p.width = std::max(minimumWidth, std::min(p.width, s.width));
        p.height = std::max(minimumHeight, std::min(p.height, s.height));
        // Pulled back inside the screen where it hangs over an edge.
        p.x = std::max(s.x, std::min(p.x, s.x + s.width - p.width));
        p.y = std::max(s.y, std::min(p.y, s.y + s.height - p.height));
        return placed;
    }
    return std::nullopt;
}

}  // namespace drapeline::shell
