#include "platform/gui/shell.h"

#include "diskfull.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

enum { Move = ShellMove, Copy = ShellCopy, Delete = ShellDelete, Rename = ShellRename };

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Receives the addresses OpenUrl hands to the desktop.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void copyPlacesFiles_data();
    void copyPlacesFiles();
    void moveTakesTheFileAway();
    void deleteRemovesEveryListedFile();
    void renameRefusesAnExistingName();
    void listsEndAtTheFirstEmptyName();
    void refusedOperations_data();
    void refusedOperations();
    void failedCopyLeavesTheOldTargetWhole();
    void openUrlHandsPathsAndAddressesToTheDesktop_data();
    void openUrlHandsPathsAndAddressesToTheDesktop();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // A list of names below the test folder as a list of full paths, as the callers pass them.
    QString absolute(const QString &list) const
    {
        QStringList names = list.split(u',');
        for (QString &name : names) {
            if (!name.isEmpty())
                name = path(name);
        }
        return names.join(u',');
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestShell::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeAll(path(u"a.gif"_s), "picture a"));
    QVERIFY(writeAll(path(u"b.jpg"_s), "picture b"));
    QVERIFY(QDir().mkpath(path(u"Upload/images"_s)));
}

void TestShell::copyPlacesFiles_data()
{
    QTest::addColumn<QString>("sources");
    QTest::addColumn<QString>("targets");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("into a folder") << u"a.gif"_s << u"Upload/images"_s << 0 << QStringList{u"Upload/images/a.gif"_s};
    QTest::newRow("into a folder named with a slash")
        << u"a.gif"_s << u"Upload/new/"_s << 0 << QStringList{u"Upload/new/a.gif"_s};
    QTest::newRow("two into a folder") << u"a.gif,b.jpg"_s << u"Upload/images"_s << 0
                                       << QStringList{u"Upload/images/a.gif"_s, u"Upload/images/b.jpg"_s};
    QTest::newRow("two into a new folder")
        << u"a.gif,b.jpg,"_s << u"Upload/more"_s << 0 << QStringList{u"Upload/more/a.gif"_s, u"Upload/more/b.jpg"_s};
    QTest::newRow("one target each") << u"a.gif,b.jpg"_s << u"x.gif,y.jpg"_s << 1
                                     << QStringList{u"x.gif"_s, u"y.jpg"_s};
}

void TestShell::copyPlacesFiles()
{
    QFETCH(QString, sources);
    QFETCH(QString, targets);
    QFETCH(int, flags);
    QFETCH(QStringList, expected);

    // An older copy already in place is replaced.
    QVERIFY(writeAll(path(u"Upload/images/a.gif"_s), "old"));

    QString error;
    QVERIFY2(ShellFileOperation(absolute(sources), absolute(targets), Copy, flags, &error), qPrintable(error));
    const QStringList from = sources.split(u',', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(readAll(path(expected.at(i))), readAll(path(from.at(i))));
        QVERIFY(QFile::exists(path(from.at(i))));
        QCOMPARE(QFileInfo(path(expected.at(i))).lastModified(), QFileInfo(path(from.at(i))).lastModified());
    }
}

void TestShell::moveTakesTheFileAway()
{
    QVERIFY(writeAll(path(u"Upload/images/a.gif"_s), "older"));
    QString error;
    QVERIFY2(ShellFileOperation(path(u"a.gif"_s), path(u"Upload/images"_s), Move, 0, &error), qPrintable(error));
    QVERIFY(!QFile::exists(path(u"a.gif"_s)));
    QCOMPARE(readAll(path(u"Upload/images/a.gif"_s)), QByteArray("picture a"));

    QVERIFY2(ShellFileOperation(path(u"b.jpg"_s), path(u"c.jpg"_s), Move, 0, &error), qPrintable(error));
    QVERIFY(!QFile::exists(path(u"b.jpg"_s)));
    QCOMPARE(readAll(path(u"c.jpg"_s)), QByteArray("picture b"));
}

void TestShell::deleteRemovesEveryListedFile()
{
    QVERIFY(writeAll(path(u"Upload/images/old.gif"_s), "x"));
    QString error;
    QVERIFY2(ShellFileOperation(path(u"a.gif"_s) + u',' + path(u"Upload/images"_s), {}, Delete, 0, &error),
             qPrintable(error));
    QVERIFY(!QFile::exists(path(u"a.gif"_s)));
    QVERIFY(!QFileInfo::exists(path(u"Upload/images"_s)));
    QVERIFY(QFile::exists(path(u"b.jpg"_s)));
}

void TestShell::renameRefusesAnExistingName()
{
    QString error;
    QVERIFY2(ShellFileOperation(path(u"a.gif"_s), path(u"renamed.gif"_s), Rename, 0, &error), qPrintable(error));
    QVERIFY(!QFile::exists(path(u"a.gif"_s)));
    QCOMPARE(readAll(path(u"renamed.gif"_s)), QByteArray("picture a"));

    QVERIFY(!ShellFileOperation(path(u"renamed.gif"_s), path(u"b.jpg"_s), Rename, 0, &error));
    QVERIFY2(error.contains(u"already exists"_s), qPrintable(error));
    QCOMPARE(readAll(path(u"b.jpg"_s)), QByteArray("picture b"));
    QVERIFY(QFile::exists(path(u"renamed.gif"_s)));
}

void TestShell::listsEndAtTheFirstEmptyName()
{
    // "a,,b" reaches the shell as "a", an empty name ending the list, then "b" unread.
    QString error;
    QVERIFY2(ShellFileOperation(path(u"a.gif"_s) + u",,"_s + path(u"b.jpg"_s), {}, Delete, 0, &error),
             qPrintable(error));
    QVERIFY(!QFile::exists(path(u"a.gif"_s)));
    QVERIFY(QFile::exists(path(u"b.jpg"_s)));
}

void TestShell::refusedOperations_data()
{
    QTest::addColumn<QString>("sources");
    QTest::addColumn<QString>("targets");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("reason");

    QTest::newRow("operation 5") << u"a.gif"_s << u"Upload"_s << 5 << u"operation"_s;
    QTest::newRow("no sources") << QString() << u"Upload"_s << int(Copy) << u"No file"_s;
    QTest::newRow("empty first name") << u",a.gif"_s << u"Upload"_s << int(Copy) << u"No file"_s;
    QTest::newRow("no target") << u"a.gif"_s << QString() << int(Copy) << u"No target"_s;
    QTest::newRow("missing source") << u"gone.gif"_s << u"Upload"_s << int(Copy) << u"gone.gif"_s;
    QTest::newRow("missing source to move") << u"gone.gif"_s << u"Upload"_s << int(Move) << u"gone.gif"_s;
    QTest::newRow("target below a file") << u"a.gif"_s << u"b.jpg/sub/a.gif"_s << int(Copy) << u"folder"_s;
    QTest::newRow("folders below a file") << u"a.gif,b.jpg"_s << u"b.jpg/sub"_s << int(Copy) << u"folder"_s;
    QTest::newRow("move below a file") << u"a.gif"_s << u"b.jpg/a.gif"_s << int(Move) << u"folder"_s;
}

void TestShell::refusedOperations()
{
    QFETCH(QString, sources);
    QFETCH(QString, targets);
    QFETCH(int, operation);
    QFETCH(QString, reason);

    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QString error;
    QVERIFY(!ShellFileOperation(absolute(sources), absolute(targets), operation, 0, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(readAll(path(u"a.gif"_s)), QByteArray("picture a"));
}

void TestShell::failedCopyLeavesTheOldTargetWhole()
{
    QVERIFY(writeAll(path(u"big.bmp"_s), QByteArray(256 * 1024, 'p')));
    QVERIFY(writeAll(path(u"Upload/images/big.bmp"_s), "the old picture"));
    QString error;
    bool copied = true;
    {
        DiskFullGuard full(64 * 1024);
        if (!full.active())
            QSKIP("cannot limit the file size here");
        copied = ShellFileOperation(path(u"big.bmp"_s), path(u"Upload/images"_s), Copy, 0, &error);
    }
    QVERIFY(!copied);
    QVERIFY2(error.contains(u"big.bmp"_s), qPrintable(error));
    QCOMPARE(readAll(path(u"Upload/images/big.bmp"_s)), QByteArray("the old picture"));
    QCOMPARE(QDir(path(u"Upload/images"_s)).entryList(QDir::Files | QDir::Hidden), QStringList{u"big.bmp"_s});
}

void TestShell::openUrlHandsPathsAndAddressesToTheDesktop_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("expected");

    QTest::newRow("web address") << u"https://www.example.org/hosting?a=1"_s
                                 << QUrl(u"https://www.example.org/hosting?a=1"_s);
    QTest::newRow("local page with a space") << u"/srv/Brisko/BriskoFiles/~tmp page.html"_s
                                             << QUrl::fromLocalFile(u"/srv/Brisko/BriskoFiles/~tmp page.html"_s);
    QTest::newRow("mail address") << u"mailto:help@example.org"_s << QUrl(u"mailto:help@example.org"_s);
}

void TestShell::openUrlHandsPathsAndAddressesToTheDesktop()
{
    QFETCH(QString, target);
    QFETCH(QUrl, expected);

    UrlCatcher catcher;
    for (const char *scheme : {"https", "file", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    const bool opened = OpenUrl(target);
    for (const char *scheme : {"https", "file", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    QVERIFY(opened);
    QCOMPARE(catcher.urls, QList<QUrl>{expected});
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
