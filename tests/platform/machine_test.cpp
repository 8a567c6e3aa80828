// The program folder and the clock.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "tests/platform/scoped_env.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace drapeline::platform {
namespace {

using testkit::ScopedEnv;

TEST(ProgramFolder, DrapelineHomeIsCreatedAndUsedWithoutTrailingSeparator) {
    testkit::TempFolder root;
    const std::string wanted = root / "portable/Drapeline";
    ScopedEnv home("DRAPELINE_HOME", (wanted + "/").c_str());
    EXPECT_EQ(findProgramFolder(), wanted);
    EXPECT_TRUE(folderExists(wanted));
}

TEST(ProgramFolder, WithoutDrapelineHomeAWritableExecutableFolderIsUsed) {
    ScopedEnv home("DRAPELINE_HOME", nullptr);
    const std::string exe = executableFolder();
#ifdef _WIN32
    EXPECT_TRUE(fileExists(joinPath(exe, "drapeline_platform_tests.exe")));
#else
    EXPECT_TRUE(fileExists(joinPath(exe, "drapeline_platform_tests")));
#endif
    // The build folder is writable, so the program counts as a portable install, and the
    // write probe leaves nothing behind.
    EXPECT_EQ(findProgramFolder(), exe);
    EXPECT_TRUE(listFolder(exe, "*probe*", Listing::FilesAndFolders).empty());
}

TEST(SystemClock, GivesTheCalendarDateAndTime) {
    ScopedEnv tz("TZ", "UTC");
    // The local time below is then UTC, so the calendar can check it.
#ifdef _WIN32
    _tzset();
#else
    tzset();
#endif
    using namespace std::chrono;
    // Retried once in case the date changes between the two readings.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const year_month_day today{floor<days>(system_clock::now())};
        const LocalTime now = SystemClock().now();
        if (year_month_day{floor<days>(system_clock::now())} != today) continue;
        EXPECT_EQ(now.year, static_cast<int>(today.year()));
        EXPECT_EQ(now.month, static_cast<int>(static_cast<unsigned>(today.month())));
        EXPECT_EQ(now.day, static_cast<int>(static_cast<unsigned>(today.day())));
        EXPECT_TRUE(now.hour >= 0 && now.hour < 24 && now.minute >= 0 && now.minute < 60 &&
                    now.second >= 0 && now.second <= 60);
        break;
    }
}

}  // namespace
}  // namespace drapeline::platform
