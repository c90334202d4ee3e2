#include "fieldlist.h"

#include "art/art.h"
#include "forms/formmodel.h"
#include "platform/gui/messages.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

const QString kRowMime = u"application/x-brisko-field-row"_s;
constexpr int kKindRole = Qt::UserRole;

// The lists alive now: a drag names its list by address, which is only taken for one of these.
QSet<const TFieldListView *> &liveLists()
{
    static QSet<const TFieldListView *> lists;
    return lists;
}

// A field row announces its name and kind together, as a sighted user reads the row.
class FieldRow : public QTreeWidgetItem
{
public:
    QVariant data(int column, int role) const override
    {
        if (role == Qt::AccessibleTextRole && column == 0)
            return u"%1, %2"_s.arg(text(0), text(1));
        return QTreeWidgetItem::data(column, role);
    }
};

} // namespace

TFieldListView::TFieldListView(QWidget *parent) : QTreeWidget(parent)
{
    liveLists().insert(this);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setIconSize(QSize(16, 16));
    header()->setSectionsMovable(false);
}

TFieldListView::~TFieldListView()
{
    liveLists().remove(this);
}

QMimeData *TFieldListView::rowDragData(const TFieldListView *list)
{
    auto *data = new QMimeData;
    data->setData(kRowMime, QByteArray::number(QCoreApplication::applicationPid()) + ' '
                                + QByteArray::number(quintptr(list), 16));
    return data;
}

TFieldListView *TFieldListView::dragSource(const QMimeData *data)
{
    if (!data || !data->hasFormat(kRowMime))
        return nullptr;
    const QList<QByteArray> parts = data->data(kRowMime).split(' ');
    if (parts.size() != 2 || parts.at(0) != QByteArray::number(QCoreApplication::applicationPid()))
        return nullptr;
    bool ok = false;
    const quintptr address = parts.at(1).toULongLong(&ok, 16);
    if (!ok)
        return nullptr;
    for (const TFieldListView *list : std::as_const(liveLists())) {
        if (quintptr(list) == address)
            return const_cast<TFieldListView *>(list);
    }
    return nullptr;
}

QTreeWidgetItem *TFieldListView::selectedRow() const
{
    const QList<QTreeWidgetItem *> rows = selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void TFieldListView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    m_pressedOnRow = event->button() == Qt::LeftButton && itemAt(event->position().toPoint());
    m_pressPos = event->position().toPoint();
}

void TFieldListView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressedOnRow || !(event->buttons() & Qt::LeftButton)
        || (event->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance()) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    m_pressedOnRow = false;
    auto *drag = new QDrag(this);
    drag->setMimeData(rowDragData(this));
    const QPixmap cursor = Art::newDragCursor().pixmap();
    if (!cursor.isNull())
        drag->setDragCursor(cursor, Qt::MoveAction);
    drag->exec(Qt::MoveAction);
}

void TFieldListView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT enterPressed();
        event->accept();
        return;
    case Qt::Key_Delete:
        Q_EMIT deletePressed();
        event->accept();
        return;
    default:
        QTreeWidget::keyPressEvent(event);
    }
}

void TFieldListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (dragSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFieldListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (dragSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFieldListView::dropEvent(QDropEvent *event)
{
    TFieldListView *source = dragSource(event->mimeData());
    if (!source) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT rowDropped(source, itemAt(event->position().toPoint()));
}

QTreeWidgetItem *AddFieldRow(QTreeWidget *list, const QString &name, int kind, int at)
{
    auto *row = new FieldRow;
    row->setText(0, name);
    if (kind >= 0 && kind < kFieldKindCount)
        row->setText(1, FieldKindCaptions[kind].toString());
    row->setIcon(0, QIcon(Art::fieldKindIcon(kind)));
    row->setData(0, kKindRole, kind);
    if (at < 0 || at > list->topLevelItemCount())
        list->addTopLevelItem(row);
    else
        list->insertTopLevelItem(at, row);
    return row;
}

int FieldRowKind(const QTreeWidgetItem *row)
{
    return row ? row->data(0, kKindRole).toInt() : -1;
}

void ExchangeRows(QTreeWidget *list, QTreeWidgetItem *row)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    QTreeWidgetItem *from = selected.isEmpty() ? nullptr : selected.first();
    if (!from || !row || from == row)
        return;
    const QString caption = from->text(0), sub = from->text(1);
    const QIcon icon = from->icon(0);
    const QVariant kind = from->data(0, kKindRole);
    from->setText(0, row->text(0));
    from->setText(1, row->text(1));
    from->setIcon(0, row->icon(0));
    from->setData(0, kKindRole, row->data(0, kKindRole));
    row->setText(0, caption);
    row->setText(1, sub);
    row->setIcon(0, icon);
    row->setData(0, kKindRole, kind);
    list->setCurrentItem(row);
    row->setSelected(true);
    list->setFocus();
}

int RemoveSelectedRow(QTreeWidget *list, const QString &what)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return -1;
    if (list->topLevelItemCount() == 1) {
        Messages::information(list, u"There must be at least one %1."_s.arg(what));
        return -1;
    }
    const int index = list->indexOfTopLevelItem(selected.first());
    delete list->takeTopLevelItem(index);
    if (QTreeWidgetItem *focused = list->currentItem())
        focused->setSelected(true);
    return index;
}
