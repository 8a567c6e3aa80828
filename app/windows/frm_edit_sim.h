#pragma once
// "Edit Wardrobe": one sim's outfits and hands on seven pages, its pictures, Save and
// Cancel. The rules live in EditSimModel; this window places the controls, shows the
// model's fields and pictures and forwards the clicks.

#include <QDialog>
#include <array>
#include <optional>

#include "wardrobe/edit_sim_model.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace drapeline::app {

class FigureWidget;
class PictureBox;
class PreviewSwitch;

class frmEditSim : public QDialog {
    Q_OBJECT
public:
    // `backupChecked` reads the main window's "Create Backup File" check mark at the
    // moment of saving.
    frmEditSim(platform::Services& services, const shell::GameSession& session,
               std::function<bool()> backupChecked, QWidget* parent);

    wardrobe::EditSimModel& model() { return model_; }

    // Opens the character file at `path` and shows it. False when the wardrobe can not be
    // shown (the user has been told why); the window is then not to be shown. A caller
    // that has read the file already hands it over, so that it is read once.
    bool openSim(const std::string& path, std::optional<IffFile> alreadyRead = std::nullopt,
                   FileIdentity identity = {});

    // Writes every field and picture from the model into the controls, and marks the
    // title while a field differs from what was read.
    void showModel();

    // Cancel, Escape and closing the window: asks before unsaved changes are lost.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct OutfitControls {
        QLineEdit* body = nullptr;
        QLineEdit* skin = nullptr;
        app::PictureBox* preview = nullptr;
        QPushButton* change = nullptr;
        QPushButton* standard = nullptr;   // "Default"; none on the Normal page
        QWidget* previewArea = nullptr;    // the page's place for its previews
        QWidget* flat = nullptr;           // the flat preview with its border
        FigureWidget* figure = nullptr;    // the outfit on the body, in the preview's place
    };
    struct HandControls {
        QLineEdit* texture = nullptr;
        app::PictureBox* preview = nullptr;
        QPushButton* change = nullptr;
    };

    void buildUpperArea();
    void buildOutfitPage(wardrobe::OutfitKind kind, const char* caption, const char* names[], const char* note);
    void buildHandsPage();
    QWidget* buildHandFrame(QWidget* page, const char* frameName, const char* caption, wardrobe::HandSlot left,
                            wardrobe::HandSlot right, const char* names[], const QRect& geometry);
    void bodyTypeClicked();
    void connectActions();
    // The chooser, shown modally: the outfit or hand change buttons.
    void changeOutfit(wardrobe::OutfitKind kind, const char* procedure);
    void changeHand(wardrobe::HandSlot slot, const char* procedure);
    QPushButton* buttonNamed(const char* name);
    // The hands page's view on the body: which pose is worn, and the figure wearing it.
    void buildHandsOnTheBody(QWidget* page);
    // Flat previews or dressed figures, on every page at once.
    void showOnTheBody(bool onTheBody);
    void dressFigures();

    wardrobe::EditSimModel model_;
    std::function<bool()> backupChecked_;

    app::PictureBox* picWebImage;
    app::PictureBox* picFaces;
    app::PictureBox* picRelImages;
    QGroupBox* bodyTypeFrame;
    QRadioButton* optFit;
    QRadioButton* optFat;
    QRadioButton* optSkinny;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QLineEdit* txtName;
    QLineEdit* txtAge;
    QLineEdit* txtGender;
    QLineEdit* txtSkinTone;
    QGroupBox* ensembleFrame;
    QPushButton* cmdEnsLoad;
    QPushButton* cmdEnsSave;
    QTabWidget* tabSkins;
    QPushButton* cmdFocus;
    std::array<OutfitControls, 6> outfits_{};
    std::array<HandControls, 8> hands_{};
    PreviewSwitch* previewSwitch;
    std::array<QWidget*, 4> handFrames_{};
    QWidget* handsOnTheBody;
    std::array<QRadioButton*, 4> poseChoices_{};
    std::array<QLabel*, 4> poseTextures_{};
    FigureWidget* handsFigure;
    wardrobe::HandPose shownPose_ = wardrobe::HandPose::Open;
};

}  // namespace drapeline::app
