#include "neighbourhood/main_window_model.h"

#include <algorithm>
#include <cctype>

#include "core/errors.h"
#include "neighbourhood/game_location.h"
#include "neighbourhood/listing.h"
#include "neighbourhood/sim_browser.h"
#include "platform/files.h"
#include "wardrobe/sim_file.h"
#include "core/ascii.h"

namespace drapeline::neighbourhood {

MainWindowModel::MainWindowModel(platform::Services& services, shell::GameSession& session)
    : services_(services), session_(session) {}

void MainWindowModel::load() {
    const std::string registryLocation = registryGameLocation(services_.registry);
    registryLocation_ = registryLocation;
    applyFirstStartDefaults(services_.settings, registryLocation);
    backupChecked_ = neighbourhood::backupChecked(services_.settings);
    session_.setGameFolder(override_.empty() ? services_.settings.value(keys::SimsLocation)
                                             : override_);
    session_.forgetNeighbourhood();
    // Ensemble files live here; it usually exists already, and a failure is not fatal here.
    platform::createFolder(platform::joinPath(services_.programFolder, "ENX"));
}

void MainWindowModel::activate() {
    for (const auto& notice : gameLocationNotices(session_.gameFolder()))
        services_.dialogs.message(notice.text, notice.icon, platform::MessageButtons::Ok,
                                  notice.title);
    if (!simsExeFound(session_.gameFolder())) return;
    if (session_.simFiles().empty()) listNeighbourhoods();
}

void MainWindowModel::listNeighbourhoods() {
    folders_ = guarded("frmMain", "msGetUserDataDirs", Stages::None,
                            [&] { return listNeighbourhoodFolders(session_.gameFolder()); });
    lines_ = neighbourhoodLines(folders_);
    selectedLine_.clear();
    const std::string last = services_.settings.value(keys::LastNeighborhoodSelected);
    if (std::find(lines_.begin(), lines_.end(), last) != lines_.end())
        chooseNeighbourhood(last);
}

std::string MainWindowModel::gameStatus() {
    const std::string& folder = session_.gameFolder();
    if (status_.empty() || statusFolder_ != folder) {
        const bool demo = !override_.empty() && folder == override_;
        const std::string source = demo ? std::string() : gameSource(folder, registryLocation_, findInstalls_());
        status_ = gameStatusText(folder, source, demo);
        statusFolder_ = folder;
    }
    return status_;
}

void MainWindowModel::toggleBackup() {
    backupChecked_ = neighbourhood::toggleBackup(services_.settings, backupChecked_);
}

void MainWindowModel::gameFolderChanged() {
    folders_.clear();
    lines_.clear();
    selectedLine_.clear();
    session_.forgetNeighbourhood();
    names_.clear();
    pager_.reset(0);
}

void MainWindowModel::chooseNeighbourhood(const std::string& line) {
    if (line.empty()) return;
    selectedLine_ = line;
    std::string folder = folderOfLine(line);
    auto files = guarded("frmMain", "msGetFileNames", Stages::None,
                         [&] { return listSimFiles(session_.gameFolder(), folder); });
    session_.chooseNeighbourhood(std::move(folder), std::move(files));
    names_.assign(session_.simFiles().size(), std::nullopt);
    pager_.reset(session_.simFiles().size());
    neighbourhoodChosen_.notify();
}

std::optional<std::string> MainWindowModel::selectAt(int x, int y) {
    pager_.press(x, y);
    std::string path = selectedSimPath();
    if (path.empty()) return std::nullopt;
    return path;
}

std::string MainWindowModel::selectedSimPath() const {
    const auto index = pager_.selectedFile();
    return index ? simPath(session_.simFiles()[*index]) : std::string();
}

void MainWindowModel::rememberName(std::size_t file, const std::string& label) {
    if (file >= names_.size()) return;
    names_[file] = label == CanNotLoadLabel ? std::string() : label;
}

namespace {

bool containsIgnoringCase(const std::string& text, const std::string& part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](char a, char b) { return ascii::toLower(a) == ascii::toLower(b); }) != text.end();
}

}  // namespace

const std::string& MainWindowModel::nameOf(const std::string& folder, const std::vector<std::string>& files,
                                            std::size_t i) {
    auto& names = folder == session_.neighbourhood() ? names_ : otherNames_[folder];
    if (names.size() != files.size()) names.assign(files.size(), std::nullopt);
    if (!names[i]) {
        IffFile iff;
        const std::string path = platform::joinPath(characterFolder(session_.gameFolder(), folder), files[i]);
        const bool read = iff::readIffChecked(iff, path).empty();
        names[i] = read ? wardrobe::listedIdentity(iff).catalogueName : std::string();
    }
    return *names[i];
}

std::optional<MainWindowModel::FoundSim> MainWindowModel::findSim(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const std::vector<std::string>& files = session_.simFiles();
    const auto matchHere = [&](std::size_t from, std::size_t to) -> std::optional<FoundSim> {
        for (std::size_t i = from; i < to; ++i) {
            const std::string& name = nameOf(session_.neighbourhood(), files, i);
            if (containsIgnoringCase(name, text))
                return FoundSim{i, false, pager_.select(i), name + " in " + selectedLine_};
        }
        return std::nullopt;
    };
    // A round through the game: the chosen neighbourhood after the selected sim, every
    // other neighbourhood in the list's order after it, then the chosen one from its start.
    const std::size_t selected = pager_.selectedFile().value_or(pager_.firstOnPage());
    const bool anySelected = !files.empty() && selected < files.size();
    if (anySelected)
        if (auto found = matchHere(selected + 1, files.size())) return found;
    const auto chosen = std::find(lines_.begin(), lines_.end(), selectedLine_);
    const std::size_t first = chosen == lines_.end() ? 0 : std::size_t(chosen - lines_.begin()) + 1;
    for (std::size_t step = 0; step < lines_.size(); ++step) {
        const std::string& line = lines_[(first + step) % lines_.size()];
        if (line == selectedLine_) continue;
        const std::string folder = folderOfLine(line);
        if (!isPlainName(folder)) continue;
        const std::vector<std::string> others = listSimFiles(session_.gameFolder(), folder);
        for (std::size_t i = 0; i < others.size(); ++i) {
            const std::string name = nameOf(folder, others, i);
            if (!containsIgnoringCase(name, text)) continue;
            // The names read on the way belong to the neighbourhood about to be chosen.
            auto known = std::move(otherNames_[folder]);
            otherNames_.erase(folder);
            chooseNeighbourhood(line);
            if (known.size() == names_.size()) names_ = std::move(known);
            return FoundSim{i, true, pager_.select(i), name + " in " + line};
        }
    }
    return matchHere(0, anySelected ? selected + 1 : files.size());
}

std::optional<MainWindowModel::SimToEdit> MainWindowModel::simToEdit(bool previewShowsAName) {
    if (selectedLine_.empty() || !previewShowsAName) return std::nullopt;
    const auto index = pager_.selectedFile();
    if (!index) return std::nullopt;
    SimToEdit sim{simPath(session_.simFiles()[*index]), {}, {}};
    ByteText bytes;
    if (const std::string error = iff::readChecked(sim.iff, sim.path, bytes); !error.empty()) {
        services_.dialogs.warn("The sim file " + session_.simFiles()[*index] + " can not be opened.\r\n" +
                                   "The error returned was:\r\n" + error,
                               "Can Not Open Sim");
        return std::nullopt;
    }
    sim.identity = identityOf(bytes);
    services_.settings.setValue(keys::LastNeighborhoodSelected, selectedLine_);
    return sim;
}

std::string MainWindowModel::simPath(const std::string& fileName) const {
    return platform::joinPath(characterFolder(session_.gameFolder(), session_.neighbourhood()), fileName);
}

}  // namespace drapeline::neighbourhood
