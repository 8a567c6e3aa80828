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
        // Keep the user's own settings out of reach of the test.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder.path()));
    }
    testkit::TempFolder folder;
};

TEST_F(QtSettingsStoreTest, TextsRoundTripByteForByte) {
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
    const std::string values[] = {
        everyByte,
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
    EXPECT_FALSE(listFolder(folder.path(), "*", Listing::FilesAndFolders).empty());
}

TEST_F(QtSettingsStoreTest, KeysAreSeparateAndMissingOnesReadEmpty) {
    QtSettingsStore store;
    EXPECT_EQ(store.value("Backup Saved File"), "");
    store.setValue("Backup Saved File", "1");
    store.setValue("Skip Pajama Save", "0");
    EXPECT_EQ(store.value("Backup Saved File"), "1");
    EXPECT_EQ(store.value("Skip Pajama Save"), "0");
    EXPECT_EQ(store.value("backup saved file x"), "");

    // Where other programs expect it: organisation and application "Drapeline", "Settings".
    QSettings raw(QStringLiteral("Drapeline"), QStringLiteral("Drapeline"));
    EXPECT_EQ(raw.value(QStringLiteral("Settings/Backup Saved File")).toString(), QStringLiteral("1"));
}

}  // namespace
}  // namespace drapeline::platform
