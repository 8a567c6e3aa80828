#pragma once
// What the windows share about the game being worked on: its folder, the neighbourhood
// chosen in the main window and that neighbourhood's character files. The application
// owns one and hands it by reference to the windows and models that need it, so that a
// folder chosen in Set Path is the one every later window uses.

#include <string>
#include <utility>
#include <vector>

namespace drapeline::shell {

class GameSession {
public:
    GameSession() = default;
    explicit GameSession(std::string gameFolder) : gameFolder_(std::move(gameFolder)) {}

    // The game folder in use ("" before loading, "ERROR" when neither the settings nor the registry know it).
    const std::string& gameFolder() const { return gameFolder_; }
    void setGameFolder(std::string folder) { gameFolder_ = std::move(folder); }

    // The chosen neighbourhood's folder name ("" when none is chosen) and its character
    // files in the order listed.
    const std::string& neighbourhood() const { return neighbourhood_; }
    const std::vector<std::string>& simFiles() const { return simFiles_; }
    void chooseNeighbourhood(std::string folder, std::vector<std::string> simFiles) {
        neighbourhood_ = std::move(folder);
        simFiles_ = std::move(simFiles);
    }
    void forgetNeighbourhood() { chooseNeighbourhood({}, {}); }

private:
    std::string gameFolder_;
    std::string neighbourhood_;
    std::vector<std::string> simFiles_;
};

}  // namespace drapeline::shell
