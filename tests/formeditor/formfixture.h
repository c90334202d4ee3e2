#pragma once

#include "blockeditor/editorfixture.h"
#include "forms/gui/fieldlist.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

#include <functional>

// Runs act on the modal dialog of type T once it is open; fails the run when another window or
// none is in front by then.
template<typename T>
void whenShown(QObject *context, std::function<void(T *)> act)
{
    QTimer::singleShot(0, context, [act] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the expected dialog did not open");
        act(dialog);
    });
}

inline QStringList rowTexts(const QTreeWidget *list, int column = 0)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

inline void selectRow(QTreeWidget *list, int row)
{
    QTreeWidgetItem *item = list->topLevelItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// A row of source dragged onto row of target (-1: below the last row): the press that selects
// it, then the drop.
inline void dragRow(TFieldListView *source, int row, TFieldListView *target, int targetRow)
{
    selectRow(source, row);
    const QPoint pos = targetRow >= 0
        ? target->visualItemRect(target->topLevelItem(targetRow)).center()
        : QPoint(target->viewport()->width() / 2, target->viewport()->height() - 4);
    std::unique_ptr<QMimeData> data(TFieldListView::rowDragData(source));
    QDragEnterEvent enter(pos, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target->viewport(), &enter);
    QDropEvent drop(QPointF(pos), Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target->viewport(), &drop);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
