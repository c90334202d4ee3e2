#pragma once

#include <QPoint>

#include <optional>

class QAbstractItemView;
class QEvent;
class QMimeData;
class QPixmap;
class QString;
class QWidget;

// Rows of a list moved by dragging them within the list. A drag carries, under the list's own
// MIME type, the process and the list it started from, so that a list takes only its own rows.
namespace RowDrag {

// What a drag of a row of list carries.
QMimeData *data(const QString &mimeType, const QWidget *list);
// Whether data is a drag of a row of list.
bool isFrom(const QMimeData *data, const QString &mimeType, const QWidget *list);
// Carries data from source as a move, with cursor when it has one; returns when dropped.
void exec(QWidget *source, QMimeData *data, const QPixmap &cursor);

// Follows the left button over a list's viewport: once the mouse has moved the platform's drag
// distance from a press on a row, the drag of that row is due.
class Tracker
{
public:
    enum class Step { Pass, Used, Start }; // not for us / used up / start the drag now

    // Press, release and move events of the list's viewport.
    Step mouseEvent(const QAbstractItemView *list, const QEvent *event);
    void reset() { m_start.reset(); }

private:
    std::optional<QPoint> m_start;
};

} // namespace RowDrag
