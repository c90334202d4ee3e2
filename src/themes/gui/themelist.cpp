#include "themelist.h"

#include "art/art.h"
#include "platform/gui/rowdrag.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>


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
    return RowDrag::data(kThemeEntryMime, list);
}

bool TThemeList::isOwnDrag(const QMimeData *data) const
{
    return RowDrag::isFrom(data, kThemeEntryMime, this);
}

bool TThemeList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != viewport())
        return TListBoxHrz::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A click below the last entry keeps the selection, as the platform's list does.
        if (!itemAt(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            m_rowDrag.reset();
            setFocus(Qt::MouseFocusReason);
            return true;
        }
        [[fallthrough]];
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        switch (m_rowDrag.mouseEvent(this, event)) {
        case RowDrag::Tracker::Step::Pass:
            return false;
        case RowDrag::Tracker::Step::Start:
            RowDrag::exec(this, dragData(this), Art::newDragCursor().pixmap());
            break;
        case RowDrag::Tracker::Step::Used:
            break;
        }
        return true;
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
