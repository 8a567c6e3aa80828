#pragma once
// The main window's state and the rules of its loading and activation, without widgets:
// settings defaults, the game location checks, the neighbourhood list and the chosen
// neighbourhood's character files. The window forwards its events here and shows what
// this holds.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/iff_file.h"
#include "shell/change_signal.h"
#include "shell/game_session.h"
#include "shell/thumb_pager.h"
#include "platform/game_discovery.h"
#include "platform/services.h"

namespace drapeline::neighbourhood {

class MainWindowModel {
public:
    // `session` is the game the other windows work on: loading sets its folder, choosing a
    // neighbourhood its neighbourhood and character files.
    MainWindowModel(platform::Services& services, shell::GameSession& session);

    // Loading, once: registry location, first-start defaults, the backup check mark, the
    // game location from the settings, and the ensemble folder.
    void load();

    // Makes loading use this game folder instead of the stored one, without storing it
    // (the demo game).
    void overrideGameFolder(std::string folder) { override_ = std::move(folder); }

    // Every activation: the game location messages, then, while no character file is
    // listed, the neighbourhood list and the last neighbourhood used.
    void activate();

    // The status line's game: its folder and where that came from.
    std::string gameStatus();
    using InstallFinder = std::function<std::vector<platform::GameInstall>()>;
    void setInstallFinder(InstallFinder finder) { findInstalls_ = std::move(finder); }

    bool backupChecked() const { return backupChecked_; }
    void toggleBackup();

    // Set Path chose another game folder: what was listed belongs to the old one.
    void gameFolderChanged();

    const shell::GameSession& session() const { return session_; }
    // The neighbourhood list's lines in the order shown.
    const std::vector<std::string>& listLines() const { return lines_; }
    // The selected line; empty when none is selected.
    const std::string& selectedLine() const { return selectedLine_; }

    // A click on a neighbourhood line (or the restore of the last one).
    void chooseNeighbourhood(const std::string& line);

    // Full path of a listed character file.
    std::string simPath(const std::string& fileName) const;

    // A press on the thumbnail grid at (x, y): selects the cell under it and gives the
    // path of its sim, or nothing for an empty cell.
    std::optional<std::string> selectAt(int x, int y);
    // The path of the sim in the selected cell, "" when the cell is empty.
    std::string selectedSimPath() const;
    // Paging: false (nothing changes) at either end.
    bool nextPage() { return pager_.next(); }
    bool previousPage() { return pager_.previous(); }
    // The page shown and the selected cell.
    shell::ThumbPager& pager() { return pager_; }
    const shell::ThumbPager& pager() const { return pager_; }

    // The grid's label of a listed sim, as drawn; finding a sim reuses these.
    void rememberName(std::size_t file, const std::string& label);
    // "Find Sim": the first sim after the selected one whose first name holds `text`,
    // letter case ignored: in the chosen neighbourhood (round to its start), then in each
    // other neighbourhood in the list's order after it. A sim found elsewhere makes its
    // neighbourhood the chosen one (as a click on its line would); either way the sim is
    // selected. Names are read once and kept.
    struct FoundSim {
        std::size_t file = 0;            // in the chosen neighbourhood's files
        bool otherNeighbourhood = false;
        bool pageChanged = false;        // the page shown is not the one drawn before
        std::string where;               // "Sim3 in Neighborhood 02   (UserData2)"
    };
    std::optional<FoundSim> findSim(const std::string& text);

    // "Edit This Sim": the selected sim, read, when a neighbourhood line is selected, the
    // preview shows a name and the cell holds a readable file; the neighbourhood line is
    // then stored as the last one used. Nothing otherwise; an unreadable file is
    // explained in a message as well as in the preview.
    struct SimToEdit {
        std::string path;
        IffFile iff;
        FileIdentity identity;   // of the bytes read, compared before a save
    };
    std::optional<SimToEdit> simToEdit(bool previewShowsAName);

    // Told after a neighbourhood was chosen and its files listed: the window clears the
    // preview and draws the first page.
    void onNeighbourhoodChosen(shell::ChangeSignal::Handler handler) {
        neighbourhoodChosen_.subscribe(std::move(handler));
    }

private:
    void listNeighbourhoods();
    // The first name of each sim of a neighbourhood, read as they are asked for.
    const std::string& nameOf(const std::string& folder, const std::vector<std::string>& files, std::size_t i);

    platform::Services& services_;
    shell::GameSession& session_;
    bool backupChecked_ = false;   // "Create Backup File": the menu item shows it, saves read it
    shell::ChangeSignal neighbourhoodChosen_;
    std::string override_;
    std::string registryLocation_;
    InstallFinder findInstalls_ = platform::findInstalledGames;
    // Looking through the machine's prefixes takes a moment: once per game folder.
    std::string statusFolder_;
    std::string status_;
    std::vector<std::string> folders_;
    std::vector<std::string> lines_;
    std::string selectedLine_;
    // The first name of each listed sim once known ("" for none or an unreadable file).
    std::vector<std::optional<std::string>> names_;
    // The same for the neighbourhoods not chosen, once a search has been through them.
    std::map<std::string, std::vector<std::optional<std::string>>> otherNames_;
    shell::ThumbPager pager_;
};

}  // namespace drapeline::neighbourhood
