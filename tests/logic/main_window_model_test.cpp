#include <gtest/gtest.h>

#include <map>

#include "neighbourhood/game_location.h"
#include "neighbourhood/listing.h"
#include "neighbourhood/main_window_model.h"
#include "neighbourhood/set_path_model.h"
#include "platform/files.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::neighbourhood;
using platform::MessageButtons;
using platform::MessageIcon;
using Box = testkit::ScriptedDialogs::Box;

namespace {

class MainWindow : public wardrobe_fixtures::GameFolders {
protected:
    shell::GameSession session;
    MainWindowModel model{machine.services, session};
    int chosen = 0;

    void SetUp() override {
        model.onNeighbourhoodChosen([this] { ++chosen; });
    }

    void makeGame() {
        game.write("Sims.exe", "MZ");
        game.write("UserData/Characters/User00001.iff", "x");
        game.write("UserData2/Characters/User00001.iff", "x");
        game.write("UserData2/Characters/User00002.iff", "x");
        game.makeFolder("UserData3/Characters");
        machine.settings.setValue(keys::SimsLocation, game.path());
    }
};

}  // namespace

TEST_F(MainWindow, FirstStartStoresTheRegistryLocationLaterStartsUseTheStoredOneOrAnOverride) {
    machine.registry.installPath.reset();   // no entry: the location reads "ERROR"
    model.load();
    EXPECT_EQ(machine.settings.values, (std::map<std::string, std::string>{
                                           {keys::BackupSavedFile, "1"}, {keys::SkipPajamaSave, "1"},
                                           {keys::SimsLocation, "ERROR"}}));
    EXPECT_EQ(session.gameFolder(), "ERROR");
    EXPECT_TRUE(model.backupChecked());
    EXPECT_TRUE(platform::folderExists(programFolder / "ENX"));

    machine.settings.setValue(keys::SimsLocation, game.path());
    machine.settings.setValue(keys::BackupSavedFile, "0");
    machine.registry.installPath = "/somewhere/else";
    MainWindowModel later{machine.services, session};
    later.load();
    EXPECT_EQ(session.gameFolder(), game.path());
    EXPECT_FALSE(later.backupChecked());

    // The demo game's folder is used, but not stored.
    MainWindowModel overridden{machine.services, session};
    overridden.overrideGameFolder("/the/demo/game");
    overridden.load();
    EXPECT_EQ(session.gameFolder(), "/the/demo/game");
    EXPECT_EQ(machine.settings.value(keys::SimsLocation), game.path());
}

TEST_F(MainWindow, ActivationListsNeighbourhoodsAndRestoresTheLastOne) {
    makeGame();
    machine.settings.setValue(keys::LastNeighborhoodSelected, "Neighborhood 02   (UserData2)");
    model.load();
    model.activate();
    EXPECT_TRUE(machine.dialogs.shown.empty());
    EXPECT_EQ(model.listLines(), (std::vector<std::string>{"Neighborhood 01   (UserData)",
                                                           "Neighborhood 02   (UserData2)",
                                                           "Neighborhood 03   (UserData3)"}));
    EXPECT_EQ(model.selectedLine(), "Neighborhood 02   (UserData2)");
    EXPECT_EQ(session.neighbourhood(), "UserData2");
    EXPECT_EQ(session.simFiles(), (std::vector<std::string>{"User00001.iff", "User00002.iff"}));
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(model.simPath("User00002.iff"),
              platform::joinPath(platform::joinPath(game / "UserData2", "Characters"),
                                 "User00002.iff"));
}

TEST_F(MainWindow, ActivationWithFilesListedDoesNotListAgainAndChoosingGoesBackToTheFirstPage) {
    makeGame();
    // A stored line that no longer exists selects nothing.
    machine.settings.setValue(keys::LastNeighborhoodSelected, "Neighborhood 08   (UserData8)");
    model.load();
    model.activate();
    EXPECT_EQ(model.selectedLine(), "");
    EXPECT_TRUE(session.simFiles().empty());
    EXPECT_EQ(chosen, 0);
    model.chooseNeighbourhood("Neighborhood 02   (UserData2)");
    model.selectAt(68 * 5, 0);
    model.chooseNeighbourhood("Neighborhood 01   (UserData)");
    EXPECT_EQ(model.pager().page(), 0);
    EXPECT_EQ(model.pager().cell(), 0);
    EXPECT_EQ(model.pager().files(), 1u);
    EXPECT_EQ(session.simFiles(), std::vector<std::string>{"User00001.iff"});

    game.makeFolder("UserData9");
    model.activate();
    EXPECT_EQ(model.listLines().size(), 3u);
    EXPECT_EQ(session.neighbourhood(), "UserData");

    // A neighbourhood without character files leaves the list to be built again.
    model.chooseNeighbourhood("Neighborhood 03   (UserData3)");
    EXPECT_TRUE(session.simFiles().empty());
    model.activate();
    EXPECT_EQ(model.listLines().size(), 4u);
}

TEST_F(MainWindow, ChangingTheGameFolderForgetsTheOldOnesNeighbourhoods) {
    makeGame();
    testkit::TempFolder other;
    other.write("SIMS.EXE", "MZ");
    other.makeFolder("UserData5/Characters");
    machine.settings.setValue(keys::LastNeighborhoodSelected, "Neighborhood 02   (UserData2)");
    model.load();
    model.activate();
    ASSERT_FALSE(session.simFiles().empty());

    session.setGameFolder(other.path());
    model.gameFolderChanged();
    model.activate();
    EXPECT_EQ(model.listLines(), std::vector<std::string>{"Neighborhood 05   (UserData5)"});
    EXPECT_EQ(session.neighbourhood(), "");
}

TEST_F(MainWindow, SetPathShowsTheRegistryAndTheStoredLocationAndUseRefusesAnUnusableRegistryValue) {
    session.setGameFolder("unchanged");
    machine.registry.installPath.reset();   // no entry: the location reads "ERROR"
    machine.settings.setValue(keys::SimsLocation, "/stored");
    SetPathModel setPath(machine.services, session);
    setPath.load();
    EXPECT_EQ(setPath.registryLocation(), "ERROR");
    EXPECT_EQ(setPath.location(), "/stored");
    EXPECT_EQ(session.gameFolder(), "unchanged");

    for (const char* value : {"ERROR", ""}) {
        machine.dialogs.shown.clear();
        setPath.setRegistryLocation(value);
        setPath.setLocation("/typed");
        setPath.useRegistry();
        EXPECT_EQ(setPath.location(), "/typed");
        EXPECT_EQ(machine.dialogs.shown, (std::vector<Box>{{"Registry value invalid. Please find the path manually.",
                                                            MessageIcon::Exclamation, MessageButtons::Ok, "Path Invalid"}}));
    }
    setPath.setRegistryLocation("/from/registry");
    setPath.useRegistry();
    EXPECT_EQ(setPath.location(), "/from/registry");
}

TEST_F(MainWindow, SetPathFindTakesTheChosenFolderAndCancelKeepsTheText) {
    SetPathModel setPath(machine.services, session);
    setPath.setLocation("/typed");
    int announced = 0;   // the window redraws on these alone
    setPath.onChange([&] { ++announced; });
    std::vector<platform::GameInstall> installs;
    setPath.setInstallFinder([&] { return installs; });
    machine.dialogs.folders = {std::nullopt, std::string("/chosen")};
    setPath.findPath();
    EXPECT_EQ(setPath.location(), "/typed");
    EXPECT_EQ(announced, 0);
    installs = {{"/pfx/drive_c/The Sims", "registry", "proton", "/pfx"},
                {"/lib/steamapps/common/The Sims Legacy Collection", "steam library", "steam", ""}};
    setPath.findPath();
    EXPECT_EQ(setPath.location(), "/chosen");
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(machine.dialogs.chooserTitles,
              (std::vector<std::string>{"Select the location of The Sims.",
                                        "Select the location of The Sims."}));
    EXPECT_EQ(machine.dialogs.chooserShortcuts,
              (std::vector<std::vector<std::string>>{
                  {}, {"/pfx/drive_c/The Sims", "/lib/steamapps/common/The Sims Legacy Collection"}}));
}

TEST_F(MainWindow, SetPathOkRefusesAFolderWithoutSimsExe) {
    session.setGameFolder("/old");
    SetPathModel setPath(machine.services, session);
    setPath.setLocation(game.path());
    EXPECT_FALSE(setPath.accept());
    EXPECT_EQ(session.gameFolder(), "/old");
    EXPECT_EQ(machine.settings.value(keys::SimsLocation), "");
    EXPECT_EQ(machine.dialogs.shown,
              (std::vector<Box>{{"The Sims was not found in:\r\n" + game.path() + "\r\nThe selected location was invalid",
                                 MessageIcon::Exclamation, MessageButtons::Ok, "Selected Location Invalid"}}));
}

TEST_F(MainWindow, EditThisSimNeedsALineANameAndAReadableFileAndRemembersTheLine) {
    makeGame();
    game.write("UserData2/Characters/User00002.iff", testkit::characterFile().build());
    model.load();
    model.activate();
    EXPECT_FALSE(model.simToEdit(true));   // no neighbourhood chosen

    model.chooseNeighbourhood("Neighborhood 02   (UserData2)");
    EXPECT_FALSE(model.selectAt(68 * 2, 0));   // an empty cell
    EXPECT_FALSE(model.simToEdit(true));
    ASSERT_TRUE(model.selectAt(0, 0));
    EXPECT_FALSE(model.simToEdit(true));   // User00001.iff does not read
    EXPECT_EQ(machine.settings.value(keys::LastNeighborhoodSelected), "");

    ASSERT_EQ(model.selectAt(68, 0), model.simPath("User00002.iff"));
    EXPECT_FALSE(model.simToEdit(false));   // the preview shows no name
    const auto sim = model.simToEdit(true);
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->path, model.simPath("User00002.iff"));
    EXPECT_FALSE(sim->iff.chunks.empty());
    EXPECT_EQ(machine.settings.value(keys::LastNeighborhoodSelected), "Neighborhood 02   (UserData2)");

    EXPECT_FALSE(model.nextPage());
    EXPECT_FALSE(model.previousPage());
}

TEST_F(MainWindow, FindSimGoesRoundTheWholeGameFromTheSelectedSimAndChoosesTheNeighbourhoodItFoundItIn) {
    const auto sim = [&](const char* file, const char* name) {
        testkit::SimOptions options;
        options.names = {name};
        game.write(file, testkit::characterFile(options).build());
    };
    game.write("Sims.exe", "MZ");
    sim("UserData/Characters/User00001.iff", "Ann");
    sim("UserData/Characters/User00002.iff", "Bob");
    sim("UserData2/Characters/User00001.iff", "Cara");
    sim("UserData2/Characters/User00002.iff", "Annie");
    game.write("UserData3/Characters/User00001.iff", "damaged");
    sim("UserData3/Characters/User00002.iff", "Dan");
    machine.settings.setValue(keys::SimsLocation, game.path());
    model.load();
    model.activate();
    model.chooseNeighbourhood("Neighborhood 02   (UserData2)");
    chosen = 0;

    struct Step {
        const char* text;
        const char* where;   // "" for not found
        bool otherNeighbourhood;
        const char* neighbourhood;
        std::size_t file;
    };
    const Step steps[] = {
        {"ANN", "Annie in Neighborhood 02   (UserData2)", false, "UserData2", 1},
        // Past the last match here: on through the next neighbourhoods (a damaged file is
        // passed over), round to the first.
        {"ann", "Ann in Neighborhood 01   (UserData)", true, "UserData", 0},
        {"ann", "Annie in Neighborhood 02   (UserData2)", true, "UserData2", 1},
        {"dan", "Dan in Neighborhood 03   (UserData3)", true, "UserData3", 1},
        // The only match is the selected sim: found again, nothing else changes.
        {"dan", "Dan in Neighborhood 03   (UserData3)", false, "UserData3", 1},
        {"zed", "", false, "UserData3", 1},
    };
    int switches = 0;
    for (const auto& step : steps) {
        const auto found = model.findSim(step.text);
        EXPECT_EQ(found ? found->where : "", step.where) << step.text;
        EXPECT_EQ(found && found->otherNeighbourhood, step.otherNeighbourhood) << step.where;
        switches += step.otherNeighbourhood;
        EXPECT_EQ(chosen, switches) << step.where;
        EXPECT_EQ(session.neighbourhood(), step.neighbourhood) << step.where;
        EXPECT_EQ(model.pager().selectedFile(), std::optional<std::size_t>(step.file)) << step.where;
        EXPECT_EQ(model.selectedLine(), neighbourhoodLine(step.neighbourhood));
    }
}
