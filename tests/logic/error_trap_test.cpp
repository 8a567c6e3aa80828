#include <gtest/gtest.h>

#include "shell/error_trap.h"
#include "core/file_io.h"
#include "tests/support/doubles.h"
#include "tests/support/temp_folder.h"

using namespace drapeline;

namespace {

struct Ended {};

ErrorContext sampleContext() {
    ErrorContext c;
    c.number = 62;
    c.description = "Input past end of file";
    c.module = "modIFFsupport";
    c.procedure = "gsReadIFF";
    c.stage = 2000;
    return c;
}

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

class ErrorTrapTest : public ::testing::Test {
protected:
    void SetUp() override { errorContext() = sampleContext(); }
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
    testkit::TempFolder folder;
    testkit::FakeMachine machine{folder.path()};
};

TEST_F(ErrorTrapTest, WritesTheLogByteForByteShowsTheReportAndEnds) {
    expectTheTrapEnds(machine.services);
    EXPECT_EQ(readWholeFile(folder / "errorlog.txt"),
              "Drapeline\r\nVersion 2.5.1\r\n \r\nInstall Path: " + folder.path() +
                  "\r\n \r\n" + ExpectedReport + "\r\n");
    ASSERT_EQ(machine.dialogs.shown.size(), 1u);
    EXPECT_EQ(machine.dialogs.shown[0].text, ExpectedReport);
    EXPECT_EQ(machine.dialogs.shown[0].title, "Unrecoverable Error");
    EXPECT_EQ(machine.dialogs.shown[0].icon, platform::MessageIcon::Critical);
}

TEST_F(ErrorTrapTest, ASecondReportReplacesTheFirst) {
    folder.write("errorlog.txt", std::string(5000, '#'));
    errorContext().number = 5;
    expectTheTrapEnds(machine.services);
    const ByteText log = readWholeFile(folder / "errorlog.txt");
    EXPECT_NE(log.find("Error: 5\r\n"), std::string::npos);
    EXPECT_EQ(log.find('#'), std::string::npos);
}

TEST_F(ErrorTrapTest, AnUnwritableProgramFolderStillReachesTheUserAndEnds) {
    testkit::FakeMachine elsewhere(folder / "missing/deeper");
    expectTheTrapEnds(elsewhere.services);
    ASSERT_EQ(elsewhere.dialogs.shown.size(), 1u);
    EXPECT_EQ(elsewhere.dialogs.shown[0].text, ExpectedReport);
}

TEST_F(ErrorTrapTest, IsWhatAGuardedProcedureRaises) {
    errortrap::installErrorTrap(machine.services, [] { throw ProgramEnded{}; });
    EXPECT_THROW(guarded("frmMain", "msGetFileNames", Stages::None,
                         [] { throw RuntimeError(err::PathNotFound); }),
                 ProgramEnded);
    setErrorTrapHandler(nullptr);
    const ByteText log = readWholeFile(folder / "errorlog.txt");
    EXPECT_NE(log.find("Error: 76\r\nPath not found\r\n"), std::string::npos);
    EXPECT_NE(log.find("Module: frmMain\r\nProcedure: msGetFileNames\r\nLocation: 0\r\n"),
              std::string::npos);
}
