#pragma once

#include "app/panels/linepanel.h"
#include "html/markup.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class PageDocument;
class QMimeData;
class TPagelette;
struct TBlockEdit;
struct TPageItem;

namespace Ui {
class TBlockEditor;
}

// The right side of the Create Page view: one editor panel per block type, of which the one
// of the selected block is in front, and the alignment bar above it. Load copies a block into
// its panel; the edited copy hands the open panel back as the block it was loaded from, for the
// document to commit. The panels never write into the document.
class TBlockEditor : public QWidget
{
    Q_OBJECT

public:
    explicit TBlockEditor(QWidget *parent = nullptr);
    ~TBlockEditor() override;

    // Loads item index of doc into its panel, brings the panel (and, for every block but the
    // page details, the alignment bar) to the front and makes index the current block index.
    // An index out of range loads nothing but still becomes the current block index.
    void loadBlock(const TPagelette &doc, int index);

    // The block at the current block index as the open panel shows it: a copy with the
    // panel's controls written into it. Nothing when the index is -1 or past the end.
    std::optional<TBlockEdit> editedBlock(const TPagelette &doc);
    // The open panel shows something its block does not hold yet.
    bool hasUncommittedEdits(const TPagelette &doc);

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

    // The folder whose "Upload/images/" holds the pictures of image blocks and whose
    // "Fields.ini" holds the form field bank.
    void setProgramFolder(const QString &folder);

    // The document whose form the Forms panel edits and shows.
    void setDocument(PageDocument *document);

    // Tags of the two edit boxes that carry a font, as the font buttons know them.
    enum FontTag { HeadingFont = 0, TextFont = 1 };
    // The font the heading or paragraph edit box shows and its block will record.
    TFontSpec memoFont(int tag) const;
    // What choosing a font does: the edit box shows it and its apply-font flag becomes 1.
    void setChosenFont(int tag, const TFontSpec &font);

    // The preview's designed width: the line preview's width at 100 % until one is stored.
    static constexpr int kDesignedLineWidth = TLinePanel::kDesignedLineWidth;
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

private:
    void reserveDescriptionLines();

    std::unique_ptr<Ui::TBlockEditor> ui;
    // The panels by block type, in the order the stack holds them.
    std::array<TBlockPanel *, kBlockTypeCount> m_panels{};
    int m_currentBlock = 0;
};
