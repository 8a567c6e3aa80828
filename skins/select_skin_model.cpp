#include "skins/select_skin_model.h"

#include <algorithm>

#include "core/errors.h"
#include "platform/files.h"

namespace drapeline::skins {

SelectSkinModel::SelectSkinModel(platform::Services& services, const std::string& gameLocation)
    : services_(services), gameLocation_(gameLocation) {}

void SelectSkinModel::Form_Activate() {
    if (!HandMode) {
        showModels();
        return;
    }
    textures_ = guarded("frmSelectSkin", "msGetHandFileNames", Stages::None,
                        [&] { return msGetHandFileNames(gameLocation_, services_.pictures); });
    reportBadFiles();
    pager_.reset(textures_.files.size());
}

void SelectSkinModel::chkFilter_Click(bool checked) {
    filter_ = checked;
    showModels();
}

void SelectSkinModel::showModels() {
    const skins::SkinData data{SkinData};
    if (!meshes_) meshes_.emplace(meshListing(gameLocation_, data));
    std::vector<std::string> models =
        filter_ ? guarded("frmSelectSkin", "msGetFilteredModelList", Stages::None,
                          [&] { return msGetFilteredModelList(*meshes_, data); })
                : guarded("frmSelectSkin", "msGetModelList", Stages::None,
                          [&] { return msGetModelList(*meshes_, data); });
    std::stable_sort(models.begin(), models.end(), [](const std::string& a, const std::string& b) {
        return platform::lessIgnoringCase(a, b);
    });
    modelLines_ = std::move(models);
}

std::optional<TextureSearch> SelectSkinModel::runHere(const Search& search) {
    const StopFlag never{false};
    return search(never);
}

bool SelectSkinModel::lstModels_Click(const std::string& model, const SearchRunner& run) {
    selectedModel_ = model;
    txtSkinName.clear();
    previewFile.reset();
    textures_ = {};
    // The search may run on another thread: it gets copies, and the loader keeps no state.
    const Search search = [gameLocation = gameLocation_, model, code = SkinData,
                           &loader = services_.pictures](const StopFlag& stop) {
        return searchSkinFiles(gameLocation, model, skins::SkinData{code}, loader, stop);
    };
    auto found = guarded("frmSelectSkin", "msGetSkinFileNames", Stages::None, [&] { return run(search); });
    if (found) textures_ = std::move(*found);
    pager_.reset(textures_.files.size());
    if (!found) return false;
    reportBadFiles();
    return true;
}

void SelectSkinModel::reportBadFiles() {
    if (textures_.bad.empty()) return;
    services_.dialogs.critical(badSkinFilesMessage(textures_.bad), "Bad Skin Files Detected");
}

bool SelectSkinModel::msFillThumbs() {
    if (textures_.files.empty()) return false;
    if (keepOnDraw_) {
        pager_.select(*keepOnDraw_);
        keepOnDraw_.reset();
    } else {
        pager_.pageDrawn();
    }
    selectFile(*pager_.selectedFile());
    txtPageCount = pager_.pageText();
    return true;
}

std::vector<std::size_t> SelectSkinModel::pageFiles() const {
    std::vector<std::size_t> files;
    for (std::size_t i = pager_.firstOnPage(); i < pager_.endOfPage(); ++i) files.push_back(i);
    return files;
}

app::ThumbPager::Move SelectSkinModel::keyMove(app::GridKey key) {
    const auto move = pager_.move(key);
    if (!move.moved) return move;
    if (move.pageChanged) keepOnDraw_ = pager_.selectedFile();
    else selectFile(*pager_.selectedFile());
    return move;
}

void SelectSkinModel::selectFile(std::size_t index) {
    previewFile = index;
    const std::string name = platform::fileNameOf(textures_.files[index]);
    // The texture's name is its file name without the ".bmp".
    txtSkinName = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

bool SelectSkinModel::picThumbs_MouseDown(int x, int y) {
    const auto index = pager_.press(x, y);
    if (!index) return false;
    selectFile(*index);
    return true;
}

std::string SelectSkinModel::tooltipAt(int x, int y) const {
    const auto index = pager_.fileAt(x, y);
    return index ? textures_.files[*index] : std::string();
}

std::optional<SelectSkinModel::Choice> SelectSkinModel::cmdSelect_Click() const {
    if (!HandMode && selectedModel_.empty()) return std::nullopt;
    if (txtSkinName.empty()) return std::nullopt;
    if (HandMode) return Choice{txtSkinName, std::nullopt};
    return Choice{selectedModel_ + "," + txtSkinName,
                  previewFile ? textures_.files[*previewFile] : std::string()};
}

}  // namespace drapeline::skins
