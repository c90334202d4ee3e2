#include "rowdrag.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>

#include <memory>

namespace RowDrag {

QMimeData *data(const QString &mimeType, const QWidget *list)
{
    auto *data = new QMimeData;
    data->setData(mimeType, QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
                                QByteArray::number(quintptr(list), 16));
    return data;
}

bool isFrom(const QMimeData *data, const QString &mimeType, const QWidget *list)
{
    if (!data || !data->hasFormat(mimeType))
        return false;
    const std::unique_ptr<QMimeData> own(RowDrag::data(mimeType, list));
    return data->data(mimeType) == own->data(mimeType);
}

void exec(QWidget *source, QMimeData *data, const QPixmap &cursor)
{
    auto *drag = new QDrag(source);
    drag->setMimeData(data);
    if (!cursor.isNull())
        drag->setDragCursor(cursor, Qt::MoveAction);
    drag->exec(Qt::MoveAction);
}

Tracker::Step Tracker::mouseEvent(const QAbstractItemView *list, const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<const QMouseEvent *>(event);
        m_start = press->button() == Qt::LeftButton ? std::optional(press->position().toPoint()) : std::nullopt;
        return Step::Pass;
    }
    case QEvent::MouseButtonRelease:
        m_start.reset();
        return Step::Pass;
    case QEvent::MouseMove: {
        const auto *move = static_cast<const QMouseEvent *>(event);
        if (!m_start || !(move->buttons() & Qt::LeftButton))
            return Step::Pass;
        if ((move->position().toPoint() - *m_start).manhattanLength() < QApplication::startDragDistance())
            return Step::Used;
        const QPoint start = *m_start;
        m_start.reset();
        return list->indexAt(start).isValid() ? Step::Start : Step::Used;
    }
    default:
        return Step::Pass;
    }
}

} // namespace RowDrag
