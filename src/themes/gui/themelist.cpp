#include "themelist.h"

#include "art/art.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kThemeEntryMime = u"application/x-brisko-theme-entry"_s;

} // namespace

TThemeList::TThemeList(QWidget *parent) : TListBoxHrz(parent)
{
    setDragEnabled(false);
    viewport()->setAcceptDrops(true);
    viewport()->installEventFilter(this);
}

QMimeData *TThemeList::dragData(const QWidget *list)
{
    auto *data = new QMimeData;
    data->setData(kThemeEntryMime, QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
                                       QByteArray::number(quintptr(list), 16));
    return data;
}

bool TThemeList::isOwnDrag(const QMimeData *data) const
{
    const std::unique_ptr<QMimeData> own(dragData(this));
    return data && data->hasFormat(kThemeEntryMime) && data->data(kThemeEntryMime) == own->data(kThemeEntryMime);
}

bool TThemeList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != viewport())
        return TListBoxHrz::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        // A click below the last entry keeps the selection, as the platform's list does.
        if (!itemAt(press->position().toPoint())) {
            m_dragStart.reset();
            setFocus(Qt::MouseFocusReason);
            return true;
        }
        m_dragStart = press->button() == Qt::LeftButton ? std::optional(press->position().toPoint()) : std::nullopt;
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_dragStart.reset();
        return false;
    case QEvent::MouseMove: {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!m_dragStart || !(move->buttons() & Qt::LeftButton))
            return false;
        if ((move->position().toPoint() - *m_dragStart).manhattanLength() < QApplication::startDragDistance())
            return true;
        const QPoint start = *m_dragStart;
        m_dragStart.reset();
        if (!itemAt(start))
            return true;
        auto *drag = new QDrag(this);
        drag->setMimeData(dragData(this));
        const QPixmap cursor = Art::newDragCursor().pixmap();
        if (!cursor.isNull())
            drag->setDragCursor(cursor, Qt::MoveAction);
        drag->exec(Qt::MoveAction);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!isOwnDrag(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (event->type() != QEvent::Drop)
            return true;
        const QList<QListWidgetItem *> selected = selectedItems();
        QListWidgetItem *target = itemAt(drop->position().toPoint());
        if (target && !selected.isEmpty())
            Q_EMIT entryDropped(row(selected.constFirst()), row(target));
        return true;
    }
    default:
        return false;
    }
}
