#include "blocklists.h"

#include "art/art.h"
#include "document/pagemodel.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <qdrawutil.h>

using namespace Qt::StringLiterals;

namespace {

const QString kMimeType = u"application/x-brisko-pagelette"_s;
constexpr int kBlockTypeRole = Qt::UserRole;

QListWidgetItem *makeRow(int blockType)
{
    const int type = blockType >= 0 && blockType < kBlockTypeCount ? blockType : btPageProperties;
    auto *item = new QListWidgetItem(BlockTypeNames[size_t(type)].toString());
    item->setData(Qt::DecorationRole, Art::blockIcon(type));
    item->setData(kBlockTypeRole, blockType);
    return item;
}

QPixmap rowIcon(const QModelIndex &index)
{
    return index.data(Qt::DecorationRole).value<QPixmap>();
}

// Palette rows: the icon centred 4 pixels below the top, the caption centred right below it.
class PaletteDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());
        const QPixmap icon = rowIcon(index);
        const QSize iconSize = icon.deviceIndependentSize().toSize();
        const int iconLeft = option.rect.left() + (option.rect.width() - iconSize.width()) / 2;
        painter->drawPixmap(iconLeft, option.rect.top() + 4, icon);
        const QRect textRect(option.rect.left(), option.rect.top() + 4 + iconSize.height(), option.rect.width(),
                             option.fontMetrics.height());
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        painter->drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int textWidth = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {textWidth + 8, TPaletteList::kRowHeight};
    }
};

// Block-list rows: the row in the selection or list colour, a raised button-face tile 2 pixels
// inside it, the icon at (10, 8) and the caption 8 pixels from the top after the icon.
class BlockRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette &pal = option.palette;
        const QRect row = option.rect;
        painter->fillRect(row, selected ? pal.highlight() : pal.base());
        const QRect tile = row.adjusted(2, 2, -2, -2);
        qDrawWinPanel(painter, tile, pal, false, &pal.button());
        const QPixmap icon = rowIcon(index);
        const int iconWidth = icon.deviceIndependentSize().toSize().width();
        painter->drawPixmap(row.left() + 10, row.top() + 8, icon);
        const int textLeft = row.left() + 16 + iconWidth;
        const QRect textRect(textLeft, row.top() + 8, tile.right() - textLeft - 2, row.height() - 8);
        painter->setPen(pal.buttonText().color());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop,
                          option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                        textRect.width()));
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int textWidth = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {16 + 16 + textWidth + 8, TBlockList::kRowHeight};
    }
};

bool beyondThreshold(const QPoint &from, const QPoint &to)
{
    return qAbs(to.x() - from.x()) >= BlockDrag::kThreshold || qAbs(to.y() - from.y()) >= BlockDrag::kThreshold;
}

// The four-arrow cursor of a block being moved; drags take cursors as pictures.
QPixmap moveCursorPicture()
{
    QPixmap pixmap(21, 21);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrows;
    const QPointF c(10.5, 10.5);
    for (int quarter = 0; quarter < 4; ++quarter) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(90 * quarter);
        QPolygonF head({{0, -10}, {-4, -6}, {-1.5, -6}, {-1.5, -1.5}, {1.5, -1.5}, {1.5, -6}, {4, -6}});
        arrows.addPolygon(t.map(head));
        arrows.closeSubpath();
    }
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPath(arrows.simplified());
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(arrows.simplified());
    return pixmap;
}

void beginBlockDrag(QWidget *source, const BlockDrag::Payload &payload)
{
    auto *drag = new QDrag(source);
    drag->setMimeData(BlockDrag::makeMimeData(payload));
    if (payload.origin == BlockDrag::Origin::Palette) {
        const QPixmap cursor = Art::newDragCursor().pixmap();
        if (!cursor.isNull())
            drag->setDragCursor(cursor, Qt::CopyAction);
        drag->exec(Qt::CopyAction);
    } else {
        drag->setDragCursor(moveCursorPicture(), Qt::MoveAction);
        drag->exec(Qt::MoveAction);
    }
}

} // namespace

namespace BlockDrag {

QMimeData *makeMimeData(const Payload &payload)
{
    auto *data = new QMimeData;
    const QString text = u"%1 %2 %3"_s.arg(QApplication::applicationPid())
                             .arg(payload.origin == Origin::Palette ? u"palette"_s : u"blocks"_s)
                             .arg(payload.row);
    data->setData(kMimeType, text.toUtf8());
    return data;
}

std::optional<Payload> payloadOf(const QMimeData *data)
{
    if (!data || !data->hasFormat(kMimeType))
        return std::nullopt;
    const QStringList parts = QString::fromUtf8(data->data(kMimeType)).split(u' ');
    if (parts.size() != 3 || parts[0] != QString::number(QApplication::applicationPid()))
        return std::nullopt;
    bool ok = false;
    Payload payload;
    payload.row = parts[2].toInt(&ok);
    if (!ok || payload.row < 0)
        return std::nullopt;
    if (parts[1] == u"palette")
        payload.origin = Origin::Palette;
    else if (parts[1] == u"blocks")
        payload.origin = Origin::Blocks;
    else
        return std::nullopt;
    return payload;
}

} // namespace BlockDrag

// ---- palette ----

TPaletteList::TPaletteList(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new PaletteDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TPaletteList::fillBlockTypes()
{
    clear();
    for (int type = btHeading; type <= btForms; ++type) {
        QListWidgetItem *row = makeRow(type);
        row->setData(Qt::AccessibleTextRole, QString(u"Add "_s + row->text()));
        addItem(row);
    }
}

void TPaletteList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int row = indexAt(event->position().toPoint()).row();
    if (event->button() == Qt::LeftButton && row >= 0)
        Q_EMIT addWanted(row);
}

void TPaletteList::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Insert) && currentRow() >= 0) {
        Q_EMIT addWanted(currentRow());
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT blockTypeChosen(currentRow() + 1);
}

void TPaletteList::mousePressEvent(QMouseEvent *event)
{
    m_pressedRow = -1;
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const int row = indexAt(event->position().toPoint()).row();
    if (row < 0)
        return;
    setCurrentRow(row);
    m_pressedRow = row;
    m_pressPos = event->position().toPoint();
    Q_EMIT blockTypeChosen(row + 1);
}

void TPaletteList::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressedRow < 0 || !(event->buttons() & Qt::LeftButton)
        || !beyondThreshold(m_pressPos, event->position().toPoint()))
        return;
    const int row = m_pressedRow;
    m_pressedRow = -1;
    beginBlockDrag(this, {BlockDrag::Origin::Palette, row});
}

void TPaletteList::mouseReleaseEvent(QMouseEvent *)
{
    m_pressedRow = -1;
}

// Only the palette's own drags may hover over it, and dropping them here does nothing.
void TPaletteList::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void TPaletteList::dragMoveEvent(QDragMoveEvent *event)
{
    Q_EMIT dragHovered();
    const auto payload = BlockDrag::payloadOf(event->mimeData());
    if (payload && payload->origin == BlockDrag::Origin::Palette)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPaletteList::dropEvent(QDropEvent *event)
{
    event->ignore();
}

// ---- block list ----

TBlockList::TBlockList(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new BlockRowDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Pixel scrolling, so that the room below the last row is exactly kDropRoom.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalScrollBar()->setSingleStep(kRowHeight / 2);
    m_autoScroll = new QTimer(this);
    m_autoScroll->setInterval(50);
    connect(m_autoScroll, &QTimer::timeout, this, &TBlockList::autoScrollStep);
    QAbstractItemModel *rows = model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &TBlockList::nameRows);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &TBlockList::nameRows);
    connect(rows, &QAbstractItemModel::rowsMoved, this, &TBlockList::nameRows);
}

void TBlockList::nameRows()
{
    for (int i = 0; i < count(); ++i)
        item(i)->setData(Qt::AccessibleTextRole, u"%1, %2 of %3"_s.arg(item(i)->text()).arg(i + 1).arg(count()));
}

void TBlockList::setAutoScrollInterval(int milliseconds)
{
    m_autoScroll->setInterval(milliseconds);
}

void TBlockList::updateGeometries()
{
    QListWidget::updateGeometries();
    // A page that fills the list still needs a place below its last row to drop a block on,
    // so the list scrolls on past the last row by kDropRoom.
    QScrollBar *bar = verticalScrollBar();
    const int needed = contentsSize().height() + kDropRoom - viewport()->height();
    if (count() > 0 && needed > bar->maximum())
        bar->setRange(0, needed);
}

void TBlockList::autoScrollStep()
{
    QScrollBar *bar = verticalScrollBar();
    const int y = m_dragPos.y();
    if (y < kAutoScrollMargin)
        bar->setValue(bar->value() - bar->singleStep());
    else if (y >= viewport()->height() - kAutoScrollMargin)
        bar->setValue(bar->value() + bar->singleStep());
    else
        return stopAutoScroll();
    placeMarker(indexAt(m_dragPos).row());
}

void TBlockList::stopAutoScroll()
{
    m_autoScroll->stop();
}

void TBlockList::addBlockRow(int blockType)
{
    addItem(makeRow(blockType));
}

void TBlockList::insertBlockRow(int row, int blockType)
{
    insertItem(row, makeRow(blockType));
}

void TBlockList::setMarker(QWidget *marker)
{
    m_marker = marker;
    hideMarker();
}

void TBlockList::hideMarker()
{
    if (m_marker)
        m_marker->hide();
}

int TBlockList::dropPosition(const QPoint &pos) const
{
    if (!viewport()->rect().contains(pos))
        return -1;
    const int row = indexAt(pos).row();
    return row >= 0 ? row : count();
}

void TBlockList::placeMarker(int row)
{
    if (!m_marker)
        return;
    QListWidgetItem *rowItem = item(row);
    if (row < 1 || !rowItem) {
        m_marker->hide();
        return;
    }
    QWidget *parent = m_marker->parentWidget();
    const QPoint rowTop = viewport()->mapTo(parent, visualItemRect(rowItem).topLeft());
    const int left = mapTo(parent, QPoint(0, 0)).x() - m_marker->width() - 2;
    m_marker->move(left, rowTop.y() + m_marker->height());
    m_marker->raise();
    m_marker->show();
}

void TBlockList::mousePressEvent(QMouseEvent *event)
{
    m_pressedRow = -1;
    const bool left = event->button() == Qt::LeftButton;
    // The right button selects the row under the mouse too, so that the menu acts on it.
    if (!left && event->button() != Qt::RightButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const int row = indexAt(event->position().toPoint()).row();
    if (row < 0)
        return;
    setCurrentRow(row);
    if (left && row > 0) {
        m_pressedRow = row;
        m_pressPos = event->position().toPoint();
    }
    Q_EMIT rowChosen(row);
}

void TBlockList::mouseMoveEvent(QMouseEvent *event)
{
    hideMarker();
    if (m_pressedRow < 0 || !(event->buttons() & Qt::LeftButton)
        || !beyondThreshold(m_pressPos, event->position().toPoint()))
        return;
    const int row = m_pressedRow;
    m_pressedRow = -1;
    beginBlockDrag(this, {BlockDrag::Origin::Blocks, row});
}

void TBlockList::mouseReleaseEvent(QMouseEvent *)
{
    m_pressedRow = -1;
}

void TBlockList::keyPressEvent(QKeyEvent *event)
{
    const int row = currentRow();
    const int key = event->key();
    if (event->modifiers() == Qt::ControlModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        // The page-details row stays first: nothing moves onto it, or off it.
        const int position = key == Qt::Key_Up ? row - 1 : row + 1;
        if (row > 0 && position > 0 && position < count())
            Q_EMIT moveWanted(row, position);
        return;
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        Q_EMIT contextMenuWanted(currentRowMenuPos());
        return;
    }
    const int before = row;
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT rowChosen(currentRow());
}

void TBlockList::contextMenuEvent(QContextMenuEvent *event)
{
    Q_EMIT contextMenuWanted(event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : currentRowMenuPos());
}

// A menu opened from the keyboard opens over the selected row, not wherever the mouse is.
QPoint TBlockList::currentRowMenuPos() const
{
    const QListWidgetItem *row = currentItem();
    const QRect rect = row ? visualItemRect(row) : QRect();
    return viewport()->mapToGlobal(rect.isValid() ? rect.center() : QPoint(0, 0));
}

bool TBlockList::acceptsDrag(const QMimeData *data) const
{
    return BlockDrag::payloadOf(data).has_value();
}

void TBlockList::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void TBlockList::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrag(event->mimeData())) {
        stopAutoScroll();
        hideMarker();
        event->ignore();
        return;
    }
    m_dragPos = event->position().toPoint();
    placeMarker(indexAt(m_dragPos).row());
    const bool nearEdge = m_dragPos.y() < kAutoScrollMargin || m_dragPos.y() >= viewport()->height() - kAutoScrollMargin;
    if (nearEdge && !m_autoScroll->isActive())
        m_autoScroll->start();
    event->acceptProposedAction();
}

void TBlockList::dragLeaveEvent(QDragLeaveEvent *)
{
    stopAutoScroll();
    hideMarker();
}

void TBlockList::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    const auto payload = BlockDrag::payloadOf(event->mimeData());
    const int position = dropPosition(event->position().toPoint());
    hideMarker();
    if (!payload || position < 0) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Acted on once the drag has ended: the drop may ask questions, and the drag holds the
    // mouse until it returns.
    QTimer::singleShot(0, this, [this, payload = *payload, position] { Q_EMIT dropped(payload, position); });
}

// ---- bin ----

TTrashBin::TTrashBin(QWidget *parent) : QLabel(parent)
{
    setAcceptDrops(true);
}

void TTrashBin::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void TTrashBin::dragMoveEvent(QDragMoveEvent *event)
{
    const auto payload = BlockDrag::payloadOf(event->mimeData());
    if (payload && payload->origin == BlockDrag::Origin::Blocks)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TTrashBin::dropEvent(QDropEvent *event)
{
    const auto payload = BlockDrag::payloadOf(event->mimeData());
    if (!payload || payload->origin != BlockDrag::Origin::Blocks) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, payload = *payload] { Q_EMIT dropped(payload); });
}

// ---- marker ----

TInsertMarker::TInsertMarker(QWidget *parent) : QWidget(parent)
{
    setFixedSize(5, 10);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void TInsertMarker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().highlight());
}
