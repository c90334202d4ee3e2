#pragma once

#include "themes/thememodel.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace Ui {
class TfrmTheme;
}

// The theme dialog "Page Themes": the user picks the theme of the page and adds, edits,
// deletes and reorders the themes of the main window's container. Every change goes into the
// container at once; closing the dialog, by any way, writes the themes file when something
// changed. The caller selects the page's theme before showing it and reads the selection back.
class TfrmTheme : public QDialog
{
    Q_OBJECT

public:
    // The picture chooser: shows the open dialog for pictures in folder with fileName preset
    // and returns the chosen file, or an empty string when the user cancels.
    using PictureChooser = std::function<QString(QWidget *parent, const QString &folder, const QString &fileName)>;
    // The picture decoder: a null image when the file cannot be decoded.
    using PictureDecoder = std::function<QImage(const QString &path)>;

    // themes is the main window's container; it must outlive the dialog. programFolder ends
    // with "/"; empty means the executable's folder.
    explicit TfrmTheme(TWebTheme &themes, const QString &programFolder = {}, QWidget *parent = nullptr);
    ~TfrmTheme() override;

    // Replace the plain open dialog and Qt's image readers, so the window that opens the
    // dialog can share its own picture dialog and decoders.
    void setPictureChooser(PictureChooser chooser) { m_choosePicture = std::move(chooser); }
    void setPictureDecoder(PictureDecoder decoder) { m_decodePicture = std::move(decoder); }

    // Selects the first theme called name, ignoring case, and makes it the top row; selects
    // nothing when there is none.
    void selectTheme(const QString &name);
    // The selected theme's index, -1 for none.
    int selectedIndex() const;
    // Whether the themes were changed (and so written when the dialog closed).
    bool changed() const { return m_changed; }
    bool editing() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class EditMode { Add, Edit };

    void lstEditThemesClick();
    void btnAddClick();
    void btnEditClick();
    void btnRemoveClick();
    void btnBackgroundClick();
    void btnClearClick();
    void btnApplyClick();
    void leaveEditPanel();
    void showEditPanel(const QString &caption);
    // The colour double-click on the swatch or one of the four text labels.
    void editColour(QLabel *label);
    void moveTheme(int from, int to);

    // Shows the picture at path in imgBG; false, leaving the image as it was, when it cannot
    // be decoded.
    bool showPicture(const QString &path);
    void clearPicture();
    void setPicturePath(const QString &path);
    bool nameRefused(const QString &name) const;
    void setRowText(int row, const QString &text);
    void selectRow(int row);

    // The colours the edit buffer holds.
    void showColours(const TThemeItem &theme);
    void readColours(TThemeItem &theme) const;

    std::unique_ptr<Ui::TfrmTheme> ui;
    TWebTheme &m_themes;
    QString m_programFolder;
    PictureChooser m_choosePicture;
    PictureDecoder m_decodePicture;

    EditMode m_editMode = EditMode::Edit;
    bool m_changed = false;
    bool m_newPicture = false;
    // Browse or Clear was used since the theme was shown: Apply takes the picture shown.
    bool m_pictureChosen = false;
    // The user typed into the margin or stepped it since the theme was shown.
    bool m_marginChanged = false;
    QString m_picturePath;
};
