#include "skins/select_skin_model.h"

#include <algorithm>

#include "core/errors.h"
#include "platform/files.h"

namespace drapeline::skins {

SelectSkinModel::SelectSkinModel(platform::Services& services, const shell::GameSession& session,
                                 shell::SkinRequest request)
    : services_(services), session_(session), request_(std::move(request)) {}

void SelectSkinModel::open() {
    if (!request_.hands) {
        showModels();
        return;
    }
    textures_ = guarded("frmSelectSkin", "msGetHandFileNames", Stages::None,
                        [&] { return findHandTextures(session_.gameFolder(), services_.pictures); });
    reportBadFiles();
    pager_.reset(textures_.files.size());
    keepCurrentTexture();
}

void SelectSkinModel::setFiltered(bool filtered) {
    filter_ = filtered;
    showModels();
}

void SelectSkinModel::showModels() {
    const SkinData data{request_.filterCode};
    if (!meshes_) meshes_.emplace(meshListing(session_.gameFolder(), data));
    std::vector<std::string> models =
        filter_ ? guarded("frmSelectSkin", "msGetFilteredModelList", Stages::None,
                          [&] { return findFilteredModels(*meshes_, data); })
                : guarded("frmSelectSkin", "msGetModelList", Stages::None,
                          [&] { return findModels(*meshes_, data); });
    std::stable_sort(models.begin(), models.end(), [](const std::string& a, const std::string& b) {
        return platform::lessIgnoringCase(a, b);
    });
    allModels_ = std::move(models);
    setNameFilter(nameFilter_);
}

void SelectSkinModel::setNameFilter(std::string text) {
    nameFilter_ = std::move(text);
    const std::string wanted = platform::foldCase(nameFilter_);
    modelLines_.clear();
    for (const auto& model : allModels_)
        if (platform::foldCase(model).find(wanted) != std::string::npos) modelLines_.push_back(model);
}

std::optional<TextureSearch> SelectSkinModel::runHere(const Search& search) {
    const StopFlag never{false};
    return search(never);
}

bool SelectSkinModel::chooseModel(const std::string& model, const SearchRunner& run) {
    selectedModel_ = model;
    skinName_.clear();
    previewFile_.reset();
    textures_ = {};
    // The search may run on another thread: it gets copies, and the loader keeps no state.
    const Search search = [game = session_.gameFolder(), model, code = request_.filterCode,
                           &loader = services_.pictures](const StopFlag& stop) {
        return searchSkinFiles(game, model, SkinData{code}, loader, stop);
    };
    auto found = guarded("frmSelectSkin", "msGetSkinFileNames", Stages::None, [&] { return run(search); });
    if (found) textures_ = std::move(*found);
    pager_.reset(textures_.files.size());
    if (!found) return false;
    reportBadFiles();
    if (platform::equalIgnoringCase(model, request_.currentModel)) keepCurrentTexture();
    return true;
}

std::optional<std::size_t> SelectSkinModel::currentModelLine() const {
    for (std::size_t i = 0; i < modelLines_.size(); ++i)
        if (!request_.currentModel.empty() && platform::equalIgnoringCase(modelLines_[i], request_.currentModel))
            return i;
    return std::nullopt;
}

void SelectSkinModel::keepCurrentTexture() {
    if (request_.currentTexture.empty()) return;
    for (std::size_t i = 0; i < textures_.files.size(); ++i) {
        const std::string name = platform::fileNameOf(textures_.files[i]);
        if (name.size() >= 4 && platform::equalIgnoringCase(name.substr(0, name.size() - 4), request_.currentTexture)) {
            keepOnDraw_ = i;
            return;
        }
    }
}

void SelectSkinModel::reportBadFiles() {
    if (textures_.bad.empty()) return;
    services_.dialogs.critical(badSkinFilesMessage(textures_.bad), "Bad Skin Files Detected");
}

bool SelectSkinModel::fillPage() {
    if (textures_.files.empty()) return false;
    if (keepOnDraw_) {
        pager_.select(*keepOnDraw_);
        keepOnDraw_.reset();
    } else {
        pager_.pageDrawn();
    }
    selectFile(*pager_.selectedFile());
    pageText_ = pager_.pageText();
    return true;
}

std::vector<std::size_t> SelectSkinModel::pageFiles() const {
    std::vector<std::size_t> files;
    for (std::size_t i = pager_.firstOnPage(); i < pager_.endOfPage(); ++i) files.push_back(i);
    return files;
}

shell::ThumbPager::Move SelectSkinModel::keyMove(shell::GridKey key) {
    const auto move = pager_.move(key);
    if (!move.moved) return move;
    if (move.pageChanged) keepOnDraw_ = pager_.selectedFile();
    else selectFile(*pager_.selectedFile());
    return move;
}

void SelectSkinModel::selectFile(std::size_t index) {
    previewFile_ = index;
    const std::string name = platform::fileNameOf(textures_.files[index]);
    // The texture's name is its file name without the ".bmp".
    skinName_ = name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

bool SelectSkinModel::selectAt(int x, int y) {
    const auto index = pager_.press(x, y);
    if (!index) return false;
    selectFile(*index);
    return true;
}

std::string SelectSkinModel::tooltipAt(int x, int y) const {
    const auto index = pager_.fileAt(x, y);
    return index ? textures_.files[*index] : std::string();
}

std::optional<shell::SkinChoice> SelectSkinModel::choice() const {
    if (!request_.hands && selectedModel_.empty()) return std::nullopt;
    if (skinName_.empty()) return std::nullopt;
    if (request_.hands) return shell::SkinChoice{skinName_, std::nullopt};
    return shell::SkinChoice{selectedModel_ + "," + skinName_,
                           previewFile_ ? textures_.files[*previewFile_] : std::string()};
}

}  // namespace drapeline::skins
