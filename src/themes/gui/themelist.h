#pragma once

#include "platform/gui/listboxhrz.h"
#include "platform/gui/rowdrag.h"

class QMimeData;

// The theme dialog's list. A click below the last entry keeps the selection. A left-button
// drag of an entry, past the platform's drag distance, carries it with the program's drag
// cursor, and the list takes only drags of its own entries. A drop on an entry reports the
// selected entry and the one under the mouse; a drop below the last entry reports nothing.
class TThemeList : public TListBoxHrz
{
    Q_OBJECT

public:
    explicit TThemeList(QWidget *parent = nullptr);

    // What a drag of an entry of list carries.
    static QMimeData *dragData(const QWidget *list);

Q_SIGNALS:
    void entryDropped(int from, int to);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOwnDrag(const QMimeData *data) const;

    RowDrag::Tracker m_rowDrag;
};
