#pragma once
// The skin chooser's state without widgets: the model list, the textures of the chosen
// model (or the hand textures), paging through them 49 to a page, the selected cell and
// texture, and the hand-back to the edit window.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "shell/game_session.h"
#include "shell/skin_request.h"
#include "shell/thumb_pager.h"
#include "skins/skin_catalogue.h"

namespace drapeline::skins {

class SelectSkinModel {
public:
    // `request`: the textures of one outfit (by its filter code) or the hand textures.
    SelectSkinModel(platform::Services& services, const shell::GameSession& session,
                    shell::SkinRequest request);

    const shell::SkinRequest& request() const { return request_; }

    // Opening: the model list (outfits), or the hand textures and their first page.
    void open();
    // The filter check box: only the models of the outfit being changed, or all six.
    void setFiltered(bool filtered);
    // The model list's lines in the order shown: sorted without regard to case.
    const std::vector<std::string>& modelLines() const { return modelLines_; }
    // Typing in the box above the list: only the models whose name holds the text
    // (letter case ignored) are listed.
    void setNameFilter(std::string text);
    // The line of the model the sim wears now (letter case ignored), if it is listed.
    std::optional<std::size_t> currentModelLine() const;

    // A model chosen in the list: its textures in the sim's skin tone, from page 0. The
    // search is handed to `run`, which may run it on another thread and set its stop flag
    // (the window does, so that Cancel stops it); false, with no textures, when it was
    // stopped.
    using Search = std::function<std::optional<TextureSearch>(const StopFlag& stop)>;
    using SearchRunner = std::function<std::optional<TextureSearch>(const Search& search)>;
    static std::optional<TextureSearch> runHere(const Search& search);
    bool chooseModel(const std::string& model, const SearchRunner& run = runHere);

    const TextureSearch& textures() const { return textures_; }
    std::size_t fileCount() const { return textures_.files.size(); }
    const platform::PictureLoader& pictures() const { return services_.pictures; }

    // Prepares the current page for drawing: selects its first cell and texture and sets
    // the page text. False (nothing changes) when there are no textures.
    bool fillPage();
    // The files of the current page, as indexes into textures(), in cell order.
    std::vector<std::size_t> pageFiles() const;

    // False when there is no further page (nothing changes).
    bool nextPage() { return pager_.next(); }
    bool previousPage() { return pager_.previous(); }
    const shell::ThumbPager& pager() const { return pager_; }

    // A press in the thumbnail area selects the cell under it; an occupied cell also
    // selects its texture (true), an empty one keeps the previous texture (false).
    bool selectAt(int x, int y);
    // A key moves the selection through the textures; see shell::ThumbPager::move. When
    // the page changes, the caller draws it with fillPage and the moved-to texture
    // stays selected.
    shell::ThumbPager::Move keyMove(shell::GridKey key);
    // The full path under a point, "" over an empty cell.
    std::string tooltipAt(int x, int y) const;

    // Select: "model,texture" and the previewed bitmap for an outfit, the texture alone
    // for a hand. Nothing without a chosen model (outfits) or without a texture name.
    std::optional<shell::SkinChoice> choice() const;

    // The selected texture's name, and the page text as the last page filled left it.
    const std::string& skinName() const { return skinName_; }
    // The model chosen from the list ("" for hands or before one is chosen).
    const std::string& selectedModel() const { return selectedModel_; }
    const shell::GameSession& session() const { return session_; }
    const std::string& pageText() const { return pageText_; }
    // The texture shown in the preview (an index into textures()), if any.
    std::optional<std::size_t> previewFile() const { return previewFile_; }

private:
    void showModels();
    void selectFile(std::size_t index);
    void reportBadFiles();
    // The texture the sim wears now is the one the first page drawn selects.
    void keepCurrentTexture();

    platform::Services& services_;
    const shell::GameSession& session_;
    shell::SkinRequest request_;
    // Listed at the first model search and kept for the filter clicks of this opening.
    std::optional<FolderListing> meshes_;
    bool filter_ = false;
    std::vector<std::string> allModels_;
    std::string nameFilter_;
    std::vector<std::string> modelLines_;
    std::string selectedModel_;
    TextureSearch textures_;
    shell::ThumbPager pager_;
    // A keyboard move across pages selects its own cell, not the page's first.
    std::optional<std::size_t> keepOnDraw_;
    std::string skinName_;
    std::string pageText_;
    std::optional<std::size_t> previewFile_;
};

}  // namespace drapeline::skins
