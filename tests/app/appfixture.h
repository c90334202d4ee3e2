#pragma once

#include "app/blocklists.h"
#include "app/mainwindow.h"
#include "document/blockedit.h"
#include "document/pagefile.h"
#include "document/pagemodel.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "project/pagedocument.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// A program folder laid out like the installed one, in a temporary folder, with the user's
// settings and desktop files redirected into it as well. Message boxes and file dialogs are
// answered by the tests.
class AppFixture
{
public:
    AppFixture()
    {
        const QString root = m_dir.path() + u'/';
        m_folder = root + u"Brisko/";
        for (const char *sub : {"BriskoFiles", "Templates", "Upload/images", "Upload/backgrounds", "Palettes"})
            QDir().mkpath(m_folder + QString::fromLatin1(sub));
        const QString installed = QStringLiteral(BRISKO_PROGRAM_DIR "/");
        for (const char *file : {"Themes.dat", "Fields.ini", "Tips.txt", "BriskoFiles/Walking Club.mbe"})
            QFile::copy(installed + QString::fromLatin1(file), m_folder + QString::fromLatin1(file));
        useDataFolder(root + u"data");
        SettingsStore::useFile(root + u"settings.ini");
        // A normal window of a known size, so that rows have their places on the screen.
        SettingsStore &store = SettingsStore::instance();
        store.writeString(QStringLiteral("Position"), QStringLiteral("WindowState"), QStringLiteral("Normal"));
        store.writeInteger(QStringLiteral("Position"), QStringLiteral("Width"), 1000);
        store.writeInteger(QStringLiteral("Position"), QStringLiteral("Height"), 700);
        // No tip of the day unless a test asks for it: it would wait for an answer at start-up.
        store.writeString({}, QStringLiteral("TipDay"), QStringLiteral("0"));
        Messages::setTestMode(true);
        Messages::clearHistory();
    }

    QString folder() const { return m_folder; }
    QString root() const { return m_dir.path() + u'/'; }
    QString sample() const { return m_folder + QStringLiteral("BriskoFiles/Walking Club.mbe"); }
    QString recoveryFolder() const { return root() + QStringLiteral("data/Brisko/Recovery/"); }

    // A recovery copy of an unsaved new page named Untitled, left by a run that ended without
    // clean-up, as fileName in the recovery folder; damaged cuts it off inside the page.
    QString leaveRecoveryCopy(const QString &fileName, bool damaged = false) const
    {
        TPagelette page;
        page.AddDefaultBlocks();
        const QByteArray bytes = DocumentBytes(page);
        QDir().mkpath(recoveryFolder());
        QFile file(recoveryFolder() + fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write("Brisko recovery 1\nUntitled\n") < 0 ||
            file.write(damaged ? bytes.left(20) : bytes) < 0)
            qWarning("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

    // The desktop files of the file-type registration go to path. The desktop's cache tools,
    // which registration starts in the background, are kept out of reach: they would still be
    // writing into the folder when it is removed.
    static void useDataFolder(const QString &path)
    {
        qputenv("XDG_DATA_HOME", path.toLocal8Bit());
        qputenv("PATH", "/nonexistent");
    }

    std::unique_ptr<TfrmMain> makeWindow(const QStringList &arguments = {}, bool show = true)
    {
        auto window = std::make_unique<TfrmMain>(m_folder, arguments);
        if (show) {
            window->show();
            QApplication::setActiveWindow(window.get());
            if (!QTest::qWaitForWindowActive(window.get()))
                qWarning("the main window did not become active");
        }
        return window;
    }

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

template<typename T>
T *child(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qWarning("no child %s", name);
    return found;
}

// Sends a whole drag (enter, move, drop) of payload to target at pos, as the drag manager
// would, and lets the window act on it. Returns whether the drop was accepted.
inline bool dragAndDrop(QWidget *target, const QPoint &pos, const QMimeData *data)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(pos), actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return drop.isAccepted();
}

inline bool dragAndDrop(QWidget *target, const QPoint &pos, const BlockDrag::Payload &payload)
{
    std::unique_ptr<QMimeData> data(BlockDrag::makeMimeData(payload));
    return dragAndDrop(target, pos, data.get());
}

// Where to drop on the block list: the middle of a row, or (row -1) below the last row.
inline QPoint rowPoint(TBlockList *list, int row)
{
    if (row < 0)
        return QPoint(list->viewport()->width() / 2, list->viewport()->height() - 4);
    return list->visualItemRect(list->item(row)).center();
}

inline QStringList rowTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// Changes block index of the window's page as a committed panel does.
inline void editBlock(TfrmMain &window, int index, const std::function<void(TBlockEdit &)> &change)
{
    PageDocument &doc = window.pageDocument();
    TBlockEdit edit = BlockEditOf(doc.page(), index);
    change(edit);
    doc.commitBlock(index, edit);
}
