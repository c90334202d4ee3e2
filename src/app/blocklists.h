#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPoint>

#include <optional>

class QMimeData;
class QTimer;

// What is being dragged between the palette, the block list and the bin. The drag carries it
// as mime data of our own type, stamped with the process, so drags from elsewhere (the link
// list, another program) are never taken for one of ours.
namespace BlockDrag {

enum class Origin { Palette, Blocks };

struct Payload
{
    Origin origin = Origin::Palette;
    int row = -1; // the palette row or the block-list row that was dragged
};

inline constexpr int kThreshold = 5; // pixels the mouse moves with the button held before a drag starts

QMimeData *makeMimeData(const Payload &payload);
std::optional<Payload> payloadOf(const QMimeData *data);

} // namespace BlockDrag

// The palette: one 40-pixel row per block type that can be added, icon centred above the
// caption. Row i stands for block type i + 1. Rows are dragged into the block list.
class TPaletteList : public QListWidget
{
    Q_OBJECT

public:
    explicit TPaletteList(QWidget *parent = nullptr);

    // The seven block types that can be added, with their icons.
    void fillBlockTypes();
    static constexpr int kRowHeight = 40;

Q_SIGNALS:
    // A row was pressed: its block type becomes the one to insert.
    void blockTypeChosen(int blockType);
    // A drag moved over the palette (the block list hides its insertion marker).
    void dragHovered();
    // Enter, Insert or a double-click on row: add its block type after the selected block.
    void addWanted(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    int m_pressedRow = -1;
    QPoint m_pressPos;
};

// The block list: one 32-pixel row per block of the page, drawn as a raised tile with the
// block type's icon and name. Rows other than the first are dragged to move or delete them;
// palette rows are dropped here to add blocks. The list itself changes nothing in the page:
// it reports what the user did and the main window acts on it.
class TBlockList : public QListWidget
{
    Q_OBJECT

public:
    explicit TBlockList(QWidget *parent = nullptr);

    static constexpr int kRowHeight = 32;

    void addBlockRow(int blockType);
    void insertBlockRow(int row, int blockType);

    // The insertion marker: a sibling widget shown left of the row a drag hovers over.
    void setMarker(QWidget *marker);
    void hideMarker();

    // The drop position under pos (viewport coordinates): the row there, or the row count
    // below the last row; -1 outside the list.
    int dropPosition(const QPoint &pos) const;

    // Empty space kept below the last row, however long the page, to drop a new last block on.
    static constexpr int kDropRoom = kRowHeight;
    // While a drag rests this close to the top or bottom edge, the list scrolls that way.
    static constexpr int kAutoScrollMargin = 16;
    void setAutoScrollInterval(int milliseconds);

Q_SIGNALS:
    // The user picked row (mouse press or keyboard); the main window commits and loads.
    void rowChosen(int row);
    // A drag of ours was dropped at position (a row, or the row count below the last row).
    // Sent from the event loop after the drop, never from inside the drag.
    void dropped(const BlockDrag::Payload &payload, int position);
    void contextMenuWanted(const QPoint &globalPos);
    // Ctrl+Up or Ctrl+Down on row: move it to position, as a drag of the row there would.
    void moveWanted(int row, int position);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void updateGeometries() override;

private:
    bool acceptsDrag(const QMimeData *data) const;
    // Each row announces its block type and place: "Paragraph, 3 of 7".
    void nameRows();
    QPoint currentRowMenuPos() const;
    void placeMarker(int row);
    void autoScrollStep();
    void stopAutoScroll();

    QWidget *m_marker = nullptr;
    QTimer *m_autoScroll = nullptr;
    QPoint m_dragPos;
    int m_pressedRow = -1;
    QPoint m_pressPos;
};

// The bin: blocks dragged from the block list are dropped here to delete them.
class TTrashBin : public QLabel
{
    Q_OBJECT

public:
    explicit TTrashBin(QWidget *parent = nullptr);

Q_SIGNALS:
    void dropped(const BlockDrag::Payload &payload);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

// The insertion marker: a small rectangle in the highlight colour beside the block list.
class TInsertMarker : public QWidget
{
    Q_OBJECT

public:
    explicit TInsertMarker(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
