#pragma once
// The icons of one S16 sprite as both tool views show them: the fields of
// the current icon, one icon zoomed or a collage, paging through the icons,
// and the zoom, collage, mirror and save-as-BMP commands.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/ToolView.h"

struct AppSettings;
class PictureArea;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class S16Image;

// What a view shows of the panel, and the few rules in which the two tools differ.
struct IconPanelStyle {
    // Fields "Width", "Height" first and the record's reserved value beside
    // them; otherwise "Total Width", "Total Height" first.
    bool recordOrder = false;
    // "Draw as : Icon / Collage / Mirror" above the picture.
    bool modeRow = false;
    // The paging buttons, the icon number field and the icon counter below it.
    bool navigation = false;
    // The zoom at start; 0 draws as 1 with no zoom command checked.
    int zoom = 0;
    // Each switch back to the collage returns to zoom x1.
    bool collageResetsZoom = false;
    // A collage is proposed as "<base>_all.bmp", and all icons are named
    // after the current one, "<base>_<n>_001.bmp"; otherwise "<base>_<n>.bmp"
    // and "<base>_001.bmp".
    bool namesWithIconNumber = false;

    static IconPanelStyle DatTool();
    static IconPanelStyle S16Tool();
};

// The sprite whose icons are shown, as the owning view knows it.
struct IconPanelSprite {
    S16Image& image;
    // Whether the view shows a sprite now (an item, a file).
    std::function<bool()> shown;
    // The name the saved bitmaps are named after, without folder or extension.
    std::function<std::string()> baseName;
};

class IconPanel : public QWidget {
    Q_OBJECT
public:
    IconPanel(IconPanelSprite sprite, AppSettings& settings, const IconPanelStyle& style,
              QWidget* parent = nullptr);

    // Selects icon `number` (clamped to the set) and shows it.
    void ShowIcon(int number);
    // No sprite, or one without icons: nothing of the last one stays on
    // screen, and the next starts at icon 1.
    void Clear();
    void Draw();
    // Takes the number typed in the icon number field as the current icon.
    void ReadTypedIcon();

    // Paging, as the four buttons and the icon number field do it.
    void FirstIcon();
    void PreviousIcon();
    void NextIcon();
    void NextPage();
    void SelectTypedIcon();

    // The zoom, collage, mirror and save-icons commands (IconPanelCommands.cpp).
    bool Handles(int command) const;
    // The state of a zoom, collage or mirror command; `otherwise` for the
    // save commands, which are enabled with the view's other commands.
    CommandState StateOf(int command, CommandState otherwise) const;
    void Run(int command);
    void SaveIconOrCollage();
    void SaveAllIcons();

    PictureArea* Picture() const { return picture_; }
    QLabel* IconText() const { return iconText_; }
    QLineEdit* IconField() const { return iconEdit_; }
    // The field texts in the order shown, 0..7.
    QString FieldText(int field) const;
    QString ReservedText() const;
    bool CompressShown() const;
    int IconNumber() const { return iconNumber_; }
    int IconsShown() const { return iconsShown_; }
    int Zoom() const { return zoom_; }
    bool Collage() const { return collage_; }
    bool Mirror() const { return mirror_; }

signals:
    // The counter and the fields show the current icon.
    void Shown();
    // The picture was painted; the image holds the last icon decoded.
    void Drawn();
    // Command states may have changed.
    void StateChanged();

private:
    QWidget* BuildFields();
    QLayout* BuildModeRow();
    QLayout* BuildNavigation();
    void Refresh(bool draw);
    void ShowFields();
    void ClearFields();
    void SetZoom(int zoom);
    void SetCollage(bool collage);
    void SetMirror(bool mirror);
    void SyncModeRow();
    bool Shows() const { return sprite_.shown(); }

    IconPanelSprite sprite_;
    AppSettings& settings_;
    IconPanelStyle style_;
    int iconNumber_ = 1;
    int iconsShown_ = 0;
    bool atEnd_ = false;
    int zoom_;
    bool collage_ = true;
    bool mirror_ = false;

    std::vector<QLabel*> fields_;
    QCheckBox* compress_;
    QLineEdit* reserved_ = nullptr;
    QRadioButton* iconMode_ = nullptr;
    QRadioButton* collageMode_ = nullptr;
    QCheckBox* mirrorBox_ = nullptr;
    PictureArea* picture_;
    QLineEdit* iconEdit_ = nullptr;
    QLabel* iconText_ = nullptr;
};
