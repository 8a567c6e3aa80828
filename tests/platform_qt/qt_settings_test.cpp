#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "platform/files.h"
#include "platform/qt/qt_settings.h"
#include "tests/support/temp_folder.h"

namespace drapeline::platform {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef _WIN32
        // The values go to the user's registry: only a throwaway Wine prefix may take them.
        if (qEnvironmentVariableIsEmpty("DRAPELINE_WINE_REGISTRY"))
            GTEST_SKIP() << "writes the user's registry; run in a throwaway Wine prefix";
#endif
        // Keep the user's own settings out of reach of the test.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder.path()));
    }
    testkit::TempFolder folder;
};

TEST_F(QtSettingsStoreTest, TextsRoundTripByteForByteUnderSeparateKeys) {
    std::string everyAsciiByte;
    for (int b = 1; b < 128; ++b) everyAsciiByte.push_back(static_cast<char>(b));
    const std::string values[] = {
        everyAsciiByte,
        "/home/zoë/Jeux/The Sims/UserData_\xC3\xA9t\xC3\xA9",
        "C:\\Program Files\\Maxis\\The Sims",
        "Neighborhood 02   (UserData2)",
        "  padded, with comma; and # hash = sign  ",
        "@Variant(looks like a type)",
        "line\r\nbreak",
        "1",
    };
    for (const std::string& value : values) {
        QtSettingsStore().setValue("Sims Location", value);
        // A second store, hence a second QSettings: the value went through to the file.
        EXPECT_EQ(QtSettingsStore().value("Sims Location"), value);
    }
#ifndef _WIN32   // Windows keeps them in the registry
    EXPECT_FALSE(listFolder(folder.path(), "*", Listing::FilesAndFolders).empty());
#endif
    // Keys are separate, and one never written reads empty.
    QtSettingsStore().setValue("Skip Pajama Save", "0");
    EXPECT_EQ(QtSettingsStore().value("Sims Location"), "1");
    EXPECT_EQ(QtSettingsStore().value("backup saved file x"), "");
}

TEST_F(QtSettingsStoreTest, PathsAreStoredAsTheTextTheySpellAndOldByteValuesStillRead) {
    const std::string path = "/games/Sims \xC3\xA9t\xC3\xA9/UserData_\xE2\x82\xAC";
    QtSettingsStore().setValue("Sims Location", path);
    // Where other programs expect it: organisation and application "Drapeline", "Settings".
    QSettings raw(QStringLiteral("Drapeline"), QStringLiteral("Drapeline"));
    EXPECT_EQ(raw.value(QStringLiteral("Settings/Sims Location")).toString(),
              QString::fromUtf8("/games/Sims \u00E9t\u00E9/UserData_\u20AC"));
    // Written by an earlier version: one character per byte.
    raw.setValue(QStringLiteral("Settings/Sims Location"),
                 QString::fromLatin1("/games/Sims \xC3\xA9t\xC3\xA9"));
    raw.sync();
    EXPECT_EQ(QtSettingsStore().value("Sims Location"), "/games/Sims \xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace drapeline::platform
