#pragma once

#include "app/panels/panelfont.h"

#include <QPoint>
#include <QWidget>

#include <memory>
#include <optional>

class QAbstractScrollArea;
class QFrame;
class QLineEdit;
class QMimeData;
class QPlainTextEdit;
class TPagelette;
struct TPageItem;

// Places control inside the scroll box's client area without changing its size: centred on
// each axis where it fits (an odd pixel of room stays right of or below it), 12 pixels from
// the edge where it does not.
void CentreInScrollBox(const QAbstractScrollArea *box, QWidget *control);

namespace Ui {
class TBlockEditor;
}

// The right side of the Create Page view: one editor panel per block type, of which the one
// of the selected block is in front, and the alignment bar above it. Load copies a block into
// its panel; commit copies the open panel back into the block it was loaded from. The panels
// never write into the document while the user types.
class TBlockEditor : public QWidget
{
    Q_OBJECT

public:
    explicit TBlockEditor(QWidget *parent = nullptr);
    ~TBlockEditor() override;

    // Loads item index of doc into its panel, brings the panel (and, for every block but the
    // page details, the alignment bar) to the front and makes index the current block index.
    // An index out of range loads nothing but still becomes the current block index.
    void loadBlock(TPagelette &doc, int index);

    // Copies the open panel into the block at the current block index. False, and nothing
    // done, when the index is -1; true otherwise (the caller then sets the modified flag, also
    // when nothing changed or the index pointed past the end).
    bool commitBlock(TPagelette &doc);

    // Counts the alignment bar also while it is hidden, so that the window never has to grow
    // when a block that shows it is selected.
    QSize minimumSizeHint() const override;

    int currentBlockIndex() const;
    void setCurrentBlockIndex(int index);

    // "Show Marlowen Logo on page": not part of the document, read by the page generator.
    bool showLogo() const;

    // Sends the alignment bar behind the panels (the page is back to its details block).
    void hideAlignBar();
    bool alignBarVisible() const;

    // Stores the line preview's current width as its width at 100 % (done once at start-up).
    void storeLineReferenceWidth();

    // The folder whose "Upload/images/" holds the pictures of image blocks.
    void setProgramFolder(const QString &folder);

    // The Forms panel's field list: filled from the form after a file is loaded, emptied (with
    // its buttons disabled) when the Forms block is deleted.
    void fillFormFields(const TPagelette &doc);
    void clearFormFields();

    // Tags of the two edit boxes that carry a font, as the font buttons know them.
    enum FontTag { HeadingFont = 0, TextFont = 1 };
    // The font the heading or paragraph edit box shows and its block will record.
    TFontSpec memoFont(int tag) const;
    // What choosing a font does: the edit box shows it and its apply-font flag becomes 1.
    void setChosenFont(int tag, const TFontSpec &font);

    // The preview's designed width: the line preview's width at 100 % until one is stored.
    static constexpr int kDesignedLineWidth = 250;
    // Width in pixels of the line preview for a line of percent % of the page: reference ×
    // percent / 100, rounded to the nearest whole pixel, halves to the even neighbour.
    static int linePreviewWidth(int referenceWidth, int percent);

    // What dragging an entry of the link list carries; the list takes drops of nothing else.
    static QMimeData *linkDragData(const QWidget *list);

    // Where the favourites dialog starts: "~/Favorites" when it exists, else the home folder.
    static QString favoritesFolder();

Q_SIGNALS:
    // "Choose Page Theme (Colors, etc..)" was pressed.
    void themeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpControls();
    void reserveDescriptionLines();
    void alignMetaColumnCaptions();
    void attachHelp();

    void bringToFront(int blockType);
    void loadPageProperties(const TPageItem &item);
    void loadHeading(const TPageItem &item);
    void loadImage(const TPageItem &item);
    void loadLink(const TPageItem &item);
    void loadText(const TPageItem &item);
    void loadBullets(const TPageItem &item);
    void loadLine(const TPageItem &item);
    void loadForms(const TPagelette &doc);
    void commitItem(TPagelette &doc, TPageItem &item);

    TMemoFont &memoFontState(int tag);
    void showMemoFont(int tag);

    void showImagePreview();
    void centreImagePreview();
    void showLineThickness();
    void showLineWidth();
    void centreLinePreview();
    void placeLinePreview();
    void updateDropBoxControls();

    // Link panel, meta tags, link-target import and text import (blockeditor_links.cpp).
    void connectLinkPanel();
    // Tags of the link-target buttons: which edit box they fill.
    enum LinkTargetTag { LinkTarget = 0, ImageLinkTarget = 1 };
    QLineEdit *linkTargetEdit(int tag) const;
    // The drop-box line of the entry editor: optional "mailto:", address, TAB, text.
    QString linkEntryLine() const;
    void addLinkEntry();
    void removeLinkEntry();
    void editLinkEntry();
    void applyLinkEdit();
    void swapLinkEntries(int from, int to);
    // Drag and drop inside the link list; true when the event was handled.
    bool linkListEvent(QEvent *event);
    void browseForLinkTarget(int tag);
    void pickFavorite(int tag);
    void pickBookmark(int tag);
    void updateMetaButtons();
    void addMetaEntry();
    void removeMetaEntry();
    void editMetaEntry();
    void importTextFile(QPlainTextEdit *memo);
    std::optional<QPoint> m_linkDragStart;

    // Image panel: picking a picture (blockeditor_image.cpp).
    void connectImagePanel();
    void btnImagePicClick();
    // Shows the picture at path in the preview and its pixel size in the height and width
    // boxes; false, with the panel unchanged, when it cannot be decoded.
    bool showPickedPicture(const QString &path);

    std::unique_ptr<Ui::TBlockEditor> ui;
    int m_currentBlock = 0;
    TMemoFont m_headingFont;
    TMemoFont m_textFont;
    QFrame *m_bevHR = nullptr;
    int m_lineReferenceWidth = kDesignedLineWidth;
    QString m_programFolder;
    QString m_imagePath; // the picture the image preview shows, or would show if it existed
};
