#pragma once

#include "project/pagedocument.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Keeps a recovery copy of a page with unsaved changes, so that a crash or a power cut loses
// at most the last few seconds of work. Each running program has its own copy, with a name of
// its own, and holds a lock on the copy's lock file while it runs. The system drops that lock
// when the program ends in any way, so a copy whose lock is free belongs to a run that did not
// end normally (whatever process now has that run's id) and is offered back at the next start.
// The folder and the copies are the user's alone: they hold unpublished work.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // A copy left behind by a run that did not end normally.
    struct Orphan
    {
        QString path;
        QString documentName;
    };

    // uncommitted gives the page as the user sees it when the open panel holds edits not yet
    // committed, and nothing otherwise; it leaves the document alone. folder ends with "/";
    // empty means defaultFolder().
    using Uncommitted = std::function<std::optional<TPagelette>()>;
    RecoveryKeeper(PageDocument &document, Uncommitted uncommitted, const QString &folder = {});
    ~RecoveryKeeper() override;

    // "<data folder>/Brisko/Recovery/" of the user.
    static QString defaultFolder();
    QString folder() const { return m_folder; }
    QString copyPath() const;

    // How often the page is looked at; the copy is at most this old.
    void setInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    // Takes this run's lock and starts looking at the page.
    bool start(QString *error = nullptr);
    // Writes the copy now when the page differs from what was saved or opened (the document's
    // history is not at its clean point, or the open panel holds edits) and from the copy
    // already written; false only when a needed write failed.
    bool check(QString *error = nullptr);
    // The page is saved or given up: the copy goes.
    void discard();

    // The copies of runs that did not end normally, oldest first: those whose lock file beside
    // them nobody holds.
    static std::vector<Orphan> orphans(const QString &folder);
    // Loads orphan into document as its own document, unsaved. A damaged copy is renamed aside
    // (".damaged") and the reason returned; the document is not touched then.
    static DocumentOutcome restore(const Orphan &orphan, PageDocument &document);
    // Removes orphan and its lock file.
    static void remove(const Orphan &orphan);

private:
    class RunLock;

    PageDocument &m_document;
    Uncommitted m_uncommitted;
    QString m_folder;
    QString m_copyName;
    std::unique_ptr<RunLock> m_lock;
    QTimer m_timer;
    QByteArray m_written;        // the copy on disk, empty when there is none
    bool m_changedSinceWritten = true;
};
