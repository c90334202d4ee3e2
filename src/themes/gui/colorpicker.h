#pragma once

#include "themes/palettefile.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QScrollBar;

namespace Ui {
class TfrmColor;
}

// The colour picker: a palette grid, three scroll bars and decimal and hexadecimal edits for
// red, green and blue. The caller sets PickedColor, shows the dialog modally and reads
// PickedColor back after OK.
class TfrmColor : public QDialog
{
    Q_OBJECT

public:
    // Palettes are read from "Palettes/" under programFolder; an empty folder means the
    // program's own folder.
    explicit TfrmColor(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~TfrmColor() override;

    // The starting colour before the dialog is shown; after it has closed, by either button
    // or the close box, the colour of the sample.
    TColor PickedColor() const { return m_pickedColor; }
    void setPickedColor(TColor color) { m_pickedColor = color; }

    // The colour the sample shows.
    TColor previewColor() const { return m_preview; }

    // The palette shared by every picker for the whole run, and whether one has been loaded.
    static const Palette::Table &paletteTable();
    static bool paletteLoaded();
    // Forgets the loaded palette, so that tests start from a fresh program run.
    static void resetPalette();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Channel
    {
        QLineEdit *dec;
        QLineEdit *hex;
        QScrollBar *bar;
    };

    void FormShow();
    // Reads the palette file fileName of the palettes folder into the shared table.
    void loadPalette(const QString &fileName);
    void cbPaletteChange();
    void pbPaletteMouseDown(QPoint pos);
    void hsbChange(int channel);
    void txtChange(int channel);
    void txtHChange(int channel);
    void txtHExit(int channel);
    void setPreview(TColor color);
    TColor scrollBarColor() const;
    // True when key may reach the edit; hexadecimal edits also take the letters A to F.
    bool keyAccepted(QObject *edit, const QKeyEvent *key) const;

    std::unique_ptr<Ui::TfrmColor> ui;
    QWidget *m_picker = nullptr;
    QString m_palettesFolder;
    std::array<Channel, 3> m_channels{};
    TColor m_pickedColor = 0xFFFFFF;
    TColor m_preview = 0xFFFFFF;
};
