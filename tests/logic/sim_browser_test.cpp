#include <gtest/gtest.h>

#include <filesystem>

#include "neighbourhood/sim_browser.h"
#include "platform/files.h"
#include "tests/logic/wardrobe_fixtures.h"

using namespace drapeline;
using namespace drapeline::neighbourhood;
using platform::StockPicture;

namespace {

class Browser : public wardrobe_fixtures::GameFolders {
protected:
    SimBrowser browser{machine.services};

    std::string sim(const std::string& file, testkit::IffBuilder builder) {
        return game.write("UserData/Characters/" + file, builder.build());
    }
};

}  // namespace

TEST_F(Browser, ThumbnailShowsTheWebImageAndTheFirstNameOfTheFirstNameSet) {
    testkit::SimOptions options;
    options.names = {"Ann", "Ann Other"};
    options.webImage = {90, 60};
    const std::string path = sim("User00001.iff", testkit::characterFile(options).ctss(2001, {"Zed"}));
    const Thumbnail thumb = browser.thumbnail(path);
    EXPECT_EQ(thumb.label, "Ann");
    ASSERT_TRUE(thumb.picture.picture);
    EXPECT_EQ(thumb.picture.picture->width(), 90);
    EXPECT_EQ(thumb.picture.picture->height(), 60);

    // Without pictures or names: stand-ins.
    const Thumbnail bare = browser.thumbnail(sim("User00002.iff", testkit::IffBuilder().strings(200, {"adult"}).map()));
    EXPECT_EQ(bare.label, "");
    EXPECT_FALSE(bare.picture.picture);
    EXPECT_EQ(bare.picture.stock, StockPicture::NotFound);
}

TEST_F(Browser, AnUnreadableFileIsShownNotFatal) {
    ByteText bytes = testkit::characterFile().build();
    bytes.resize(bytes.size() / 2);
    const std::string path = game.write("UserData2/Characters/User00003.iff", bytes);
    const Thumbnail thumb = browser.thumbnail(path);
    EXPECT_EQ(thumb.label, "* ERROR *\r\n Can't Load!!");
    EXPECT_EQ(thumb.picture.stock, StockPicture::CanNotLoad);

    const SimPreview preview = browser.preview(path, "UserData2");
    EXPECT_FALSE(preview.readable);
    EXPECT_EQ(preview.name, "* ERROR * Can not load User00003.iff");
    EXPECT_EQ(preview.webImage.stock, StockPicture::CanNotLoad);
    EXPECT_EQ(preview.errorLines,
              (std::vector<std::string>{"The selected sim file",
                                        platform::joinPath(platform::joinPath("UserData2", "characters"), "User00003.iff"),
                                        "can not be loaded. The error returned was:",
                                        "Error 62 - Input past end of file"}));

    // Sparse: a file far past any character file is refused unread.
    std::filesystem::resize_file(path, (std::uint64_t{64} << 20) + 1);
    EXPECT_EQ(browser.thumbnail(path).picture.stock, StockPicture::CanNotLoad);
    EXPECT_EQ(browser.preview(path, "UserData2").errorLines.back(),
              "Error 6 - Overflow (too large to be a character file)");
}

TEST_F(Browser, PreviewExportsThePicturesAndNeverShowsAnEarlierSimsOnes) {
    testkit::SimOptions first;
    first.objectLabel = "user00007";
    const std::string withPictures = sim("User00007.iff", testkit::characterFile(first));
    const std::string without = sim("User00008.iff", testkit::IffBuilder()
                                                         .chunk("OBJD", 1, "x", "Neighbour")
                                                         .chunk("OBJD", 2, "x", "USER00008")
                                                         .chunk("OBJD", 3, "x", "user00005")
                                                         .bitmap("web_image", 1, testkit::solidBitmap(4, 4, {1, 2, 3}))
                                                         .map());
    SimPreview preview = browser.preview(withPictures, "UserData");
    EXPECT_TRUE(preview.readable);
    EXPECT_EQ(preview.name, "user00007");
    EXPECT_TRUE(preview.faces.picture);
    EXPECT_TRUE(preview.relImages.picture);
    EXPECT_EQ(preview.faces.path, programFolder / "SimPictures/faces.BMP");
    EXPECT_TRUE(platform::fileExists(preview.faces.path));

    programFolder.write("SimPictures/WEB_IMAGE.bmp", testkit::solidBitmap(9, 9, {}));   // left by anything
    preview = browser.preview(without, "UserData");
    EXPECT_EQ(preview.name, "USER00008");   // the first user label, in any case
    // Listed, not probed: where letter case is ignored the stale file would keep its own
    // spelling had it been rewritten rather than removed.
    EXPECT_EQ(platform::listFolder(programFolder / "SimPictures", "*", platform::Listing::FilesOnly),
              std::vector<std::string>{"web_image.BMP"});
    EXPECT_EQ(platform::readFile(programFolder / "SimPictures/web_image.BMP"), testkit::solidBitmap(4, 4, {1, 2, 3}));
    ASSERT_TRUE(preview.webImage.picture);
    EXPECT_EQ(preview.webImage.picture->width(), 4);
    EXPECT_EQ(preview.faces.stock, StockPicture::NotFound);
    EXPECT_EQ(preview.relImages.stock, StockPicture::NotFound);

    // Without a user label the name falls back to the file name.
    const std::string neighbour = sim("User00009.iff", testkit::IffBuilder().chunk("OBJD", 128, "x", "neighbour").map());
    EXPECT_EQ(browser.preview(neighbour, "UserData").name, "User00009.iff");
}
