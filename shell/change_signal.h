#pragma once
// How a model tells its views that it changed: each view subscribes once and redraws from
// the model when told, so no view is refreshed by hand from elsewhere. Plain C++; a Qt
// window subscribes a lambda that calls its own drawing.

#include <functional>
#include <utility>
#include <vector>

namespace drapeline::shell {

class ChangeSignal {
public:
    using Handler = std::function<void()>;

    // The handler lives as long as the model; views are owned with their model (the
    // window that owns the edit model owns every view of it).
    void subscribe(Handler handler) { handlers_.push_back(std::move(handler)); }
    void notify() const {
        for (const auto& handler : handlers_) handler();
    }

private:
    std::vector<Handler> handlers_;
};

}  // namespace drapeline::shell
