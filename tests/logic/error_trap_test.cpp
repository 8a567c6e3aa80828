#include <gtest/gtest.h>

#include "shell/error_trap.h"
#include "shell/version.h"
#include "core/file_io.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;

namespace {

struct Ended {};

const std::string ExpectedReport =
    "Error: 62\r\n"
    "Input past end of file\r\n"
    "\r\n"
    "Module: modIFFsupport\r\n"
    "Procedure: gsReadIFF\r\n"
    "Location: 2000\r\n"
    "\r\n"
    "The program can not recover from this error.\r\n"
    "\r\n"
    "Please e-mail the file errorlog.txt to the support e-mail address.";

}  // namespace

class ErrorTrapTest : public wardrobe_fixtures::GameFolders {
protected:
    void SetUp() override {
        errorContext() = {.number = 62, .description = "Input past end of file", .module = "modIFFsupport",
                          .procedure = "gsReadIFF", .stage = 2000};
    }
    // Runs the trap; it must end the program once.
    static void expectTheTrapEnds(platform::Services& services) {
        int ended = 0;
        EXPECT_THROW(errortrap::reportAndEnd(services, [&] {
                         ++ended;
                         throw Ended{};
                     }),
                     Ended);
        EXPECT_EQ(ended, 1);
    }
};

TEST_F(ErrorTrapTest, WritesTheLogByteForByteOverAnyEarlierOneShowsTheReportAndEnds) {
    programFolder.write("errorlog.txt", std::string(5000, '#'));   // a longer, earlier report
    expectTheTrapEnds(machine.services);
    EXPECT_EQ(readWholeFile(programFolder / "errorlog.txt"),
              "Drapeline\r\nVersion " + versionText() + "\r\n \r\nInstall Path: " + programFolder.path() +
                  "\r\n \r\n" + ExpectedReport + "\r\n");
    EXPECT_EQ(machine.dialogs.shown, (std::vector<testkit::ScriptedDialogs::Box>{
                                         {ExpectedReport, platform::MessageIcon::Critical,
                                          platform::MessageButtons::Ok, "Unrecoverable Error"}}));
}

TEST_F(ErrorTrapTest, AnUnwritableProgramFolderStillReachesTheUserWhoIsToldWhereTheLogIsNot) {
    testkit::FakeMachine elsewhere(programFolder / "missing/deeper");
    expectTheTrapEnds(elsewhere.services);
    ASSERT_EQ(elsewhere.dialogs.shown.size(), 1u);
    const std::string head = ExpectedReport.substr(0, ExpectedReport.rfind("Please"));
    // The system's own words for the reason follow in parentheses.
    const std::string& text = elsewhere.dialogs.shown[0].text;
    const std::string told = head + "The error log could not be written to " +
                             platform::joinPath(programFolder / "missing/deeper", "errorlog.txt") + " (";
    EXPECT_EQ(text.substr(0, told.size()), told);
    EXPECT_TRUE(text.size() > told.size() + 2 && text.ends_with(")."));
}

TEST_F(ErrorTrapTest, IsWhatAGuardedProcedureRaises) {
    errortrap::installErrorTrap(machine.services, [] { throw ProgramEnded{}; });
    EXPECT_THROW(guarded("frmMain", "msGetFileNames", Stages::None,
                         [] { throw RuntimeError(err::PathNotFound); }),
                 ProgramEnded);
    setErrorTrapHandler(nullptr);
    const ByteText log = readWholeFile(programFolder / "errorlog.txt");
    EXPECT_NE(log.find("Error: 76\r\nPath not found\r\n"), std::string::npos);
    EXPECT_NE(log.find("Module: frmMain\r\nProcedure: msGetFileNames\r\nLocation: 0\r\n"),
              std::string::npos);
}
