#pragma once
// The skin chooser: a body (a model from the list and one of its textures) or a hand
// texture, browsed as pages of thumbnails. SelectSkinModel holds its rules and state.

#include <QDialog>
#include <optional>

#include "figure/dressing.h"
#include "skins/select_skin_model.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace drapeline::app {

class FigureWidget;
class PictureBox;
class ScaledArea;
class PreviewSwitch;

class frmSelectSkin : public QDialog {
    Q_OBJECT
public:
    // `request`: what the edit window asks for, an outfit's textures or the hands'.
    frmSelectSkin(platform::Services& services, const shell::GameSession& session,
                  shell::SkinRequest request, QWidget* parent = nullptr);

    skins::SelectSkinModel& model() { return model_; }
    // What Select handed back; nothing after Cancel or closing the window.
    const std::optional<shell::SkinChoice>& choice() const { return choice_; }

    // The sim whom the chooser dresses in the selected texture (the edit window's); without
    // one only the flat textures are shown.
    void dressOn(figure::DressRequest sim);

    int exec() override;
    // Cancel, Select and closing the window all end here; a texture search still running
    // is stopped.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private slots:
    // Runs the activation for the request; exec() calls it before showing.
    void Form_Activate();
    void picThumbs_MouseDown(int x, int y);
    // A move key on the focused thumbnail grid.
    void picThumbs_KeyDown(shell::GridKey key);
    void Timer1_Timer();

private:
    void buildControls(platform::SettingsStore& settings);
    void growAreas();
    void showModelList();
    void fillPage();
    void showPreview(const platform::PicturePtr& alreadyLoaded = nullptr);
    std::optional<skins::TextureSearch> runStoppable(const skins::SelectSkinModel::Search& search);
    void enablePaging();
    // The sim wearing the selected model and `texture` (the hands wearing it).
    figure::DressRequest wearing(const std::string& texture) const;
    void showOnTheBody(bool onTheBody);
    void paintDressedThumbnails(const std::vector<platform::PicturePtr>& pictures);
    // The page's thumbnails (flat or dressed) with their names, from the pictures kept for it.
    void paintThumbnails();

    skins::SelectSkinModel model_;
    std::optional<shell::SkinChoice> choice_;
    bool activated_ = false;
    bool blink_ = false;
    skins::StopFlag closing_{false};
    bool refreshingList_ = false;
    std::optional<figure::DressRequest> sim_;
    std::vector<std::string> pagePaths_;
    std::vector<platform::PicturePtr> pagePictures_;

    QLabel* lblBody;
    QCheckBox* chkFilter;
    QLineEdit* txtModelFilter;
    QListWidget* lstModels;
    QLabel* skinNameCaption;
    QLineEdit* txtSkinName;
    QLabel* previewCaption;
    app::PictureBox* picSkin;
    app::PictureBox* picThumbs;
    app::ScaledArea* skinArea;
    app::ScaledArea* gridArea;
    QHBoxLayout* previewRow;   // the flat preview, and room beside it
    QPushButton* cmdSelect;
    QPushButton* cmdCancel;
    QPushButton* cmdPrevious;
    QLineEdit* txtPageCount;
    QPushButton* cmdNext;
    QTimer* blinkTimer;
    PreviewSwitch* previewSwitch;
    FigureWidget* picSkinBody;
    QCheckBox* chkThumbsOnBody;
};

}  // namespace drapeline::app
