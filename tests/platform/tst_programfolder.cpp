#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry below folder, folders ending in "/" and links in " -> target".
QStringList listing(const QString &folder)
{
    QStringList names;
    const QDir root(folder);
    const auto walk = [&](const auto &self, const QString &path) -> void {
        const QFileInfoList entries =
            QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo &entry : entries) {
            const QString name = root.relativeFilePath(entry.filePath());
            if (entry.isSymLink()) {
                names << name + u" -> "_s + QFile::symLinkTarget(entry.filePath()).section(u'/', -1);
            } else if (entry.isDir()) {
                names << name + u'/';
                self(self, entry.filePath());
            } else {
                names << name;
            }
        }
    };
    walk(walk, folder);
    return names;
}

} // namespace

// Where the program keeps its files: beside the executable in the build's folder, in a folder of
// the user's own when installed.
class TestProgramFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void executablesFolderWhenItHoldsTheDataOrNothingIsShipped_data();
    void executablesFolderWhenItHoldsTheDataOrNothingIsShipped();
    void installedProgramFillsTheUsersFolder();
    void laterStartsReplaceNothingAndRestoreOnlyTheProgramsData();
    void folderThatCannotBeMadeLeavesTheShippedDataReadOnly();

private:
    QString bin() const { return m_dir.filePath(u"usr/bin"_s); }
    QString shared() const { return m_dir.filePath(u"usr/share/brisko/"_s); }
    QString home() const { return m_dir.filePath(u"home/.local/share"_s); }
    QString user() const { return home() + u"/Brisko/"_s; }
    void shipData();

    QTemporaryDir m_dir;
};

void TestProgramFolder::init()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(bin()));
}

// The shipped data as the install lays it out, read-only as the system keeps it.
void TestProgramFolder::shipData()
{
    for (const auto &[name, text] : {std::pair{"Themes.dat", "themes"},
                                     {"Fields.ini", "fields"},
                                     {"Tips.txt", "tips"},
                                     {"Palettes/Web Palette.pal", "palette"},
                                     {"BriskoFiles/Walking Club.mbe", "sample"},
                                     {"Upload/WalkingClub.html", "page"}}) {
        const QString path = shared() + QLatin1StringView(name);
        QVERIFY(writeAll(path, text));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
    for (const char *folder : {"Templates", "Upload/images", "Upload/backgrounds"})
        QVERIFY(QDir().mkpath(shared() + QLatin1StringView(folder)));
    QVERIFY(QFile::link(u"images"_s, shared() + u"Upload/Images"_s));
    QVERIFY(QFile::link(u"backgrounds"_s, shared() + u"Upload/Backgrounds"_s));
}

void TestProgramFolder::executablesFolderWhenItHoldsTheDataOrNothingIsShipped_data()
{
    QTest::addColumn<bool>("dataBeside");
    QTest::newRow("the build's program folder") << true;
    QTest::newRow("no data anywhere") << false;
}

void TestProgramFolder::executablesFolderWhenItHoldsTheDataOrNothingIsShipped()
{
    QFETCH(bool, dataBeside);
    if (dataBeside)
        QVERIFY(writeAll(bin() + u"/Themes.dat"_s, "themes"));

    const ProgramFolderSetup setup = SetUpProgramFolder(bin(), home());
    QCOMPARE(setup.folder, bin() + u'/');
    QVERIFY(!setup.perUser);
    QCOMPARE(setup.error, QString());
    QVERIFY(!QFileInfo::exists(user()));
}

void TestProgramFolder::installedProgramFillsTheUsersFolder()
{
    shipData();
    // An executable beside the data, as in a program folder on a read-only medium, stays there.
    QVERIFY(writeAll(shared() + u"brisko"_s, "program"));
    QVERIFY(QFile::setPermissions(shared() + u"brisko"_s, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const ProgramFolderSetup setup = SetUpProgramFolder(bin(), home());
    QCOMPARE(setup.error, QString());
    QVERIFY(setup.perUser);
    QCOMPARE(setup.folder, user());
    QCOMPARE(setup.sharedData, shared());

    const QStringList expected = {
        u"BriskoFiles/"_s,
        u"BriskoFiles/Walking Club.mbe"_s,
        u"Fields.ini"_s,
        u"Palettes/"_s,
        u"Palettes/Web Palette.pal"_s,
        u"Templates/"_s,
        u"Themes.dat"_s,
        u"Tips.txt"_s,
        u"Upload/"_s,
        u"Upload/Backgrounds -> backgrounds"_s,
        u"Upload/Images -> images"_s,
        u"Upload/WalkingClub.html"_s,
        u"Upload/backgrounds/"_s,
        u"Upload/images/"_s,
    };
    QCOMPARE(listing(user()), expected);
    QCOMPARE(readAll(user() + u"Themes.dat"_s), QByteArray("themes"));
    // The copies are the user's to change, though the shipped files are read-only.
    QVERIFY(QFileInfo(user() + u"Fields.ini"_s).permissions() & QFileDevice::WriteOwner);
    QVERIFY(QFileInfo(user() + u"Upload/Images"_s).isDir());
}

void TestProgramFolder::laterStartsReplaceNothingAndRestoreOnlyTheProgramsData()
{
    shipData();
    QCOMPARE(SetUpProgramFolder(bin(), home()).error, QString());

    // The user changes the field bank, deletes the sample and a picture folder; the data file
    // and a link go missing; an upgrade ships a new palette and a new sample page.
    QVERIFY(QFile::setPermissions(user() + u"Fields.ini"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(writeAll(user() + u"Fields.ini"_s, "my fields"));
    QVERIFY(QFile::remove(user() + u"BriskoFiles/Walking Club.mbe"_s));
    QVERIFY(QDir(user() + u"Upload/images"_s).removeRecursively());
    QVERIFY(QFile::remove(user() + u"Upload/Images"_s));
    QVERIFY(QFile::remove(user() + u"Themes.dat"_s));
    QVERIFY(writeAll(shared() + u"Palettes/Pastels.pal"_s, "pastels"));
    QVERIFY(writeAll(shared() + u"BriskoFiles/Garden Club.mbe"_s, "garden"));

    const ProgramFolderSetup setup = SetUpProgramFolder(bin(), home());
    QCOMPARE(setup.error, QString());
    QCOMPARE(readAll(user() + u"Fields.ini"_s), QByteArray("my fields"));
    QVERIFY(!QFileInfo::exists(user() + u"BriskoFiles/Walking Club.mbe"_s));
    QVERIFY(!QFileInfo::exists(user() + u"BriskoFiles/Garden Club.mbe"_s));
    QCOMPARE(readAll(user() + u"Themes.dat"_s), QByteArray("themes"));
    QCOMPARE(readAll(user() + u"Palettes/Pastels.pal"_s), QByteArray("pastels"));
    QVERIFY(QFileInfo(user() + u"Upload/images"_s).isDir());
    QVERIFY(QFileInfo(user() + u"Upload/Images"_s).isSymLink());
}

void TestProgramFolder::folderThatCannotBeMadeLeavesTheShippedDataReadOnly()
{
    shipData();
    // A file where the data home should be: no folder can be made below it, not even by root.
    QVERIFY(writeAll(home(), "in the way"));

    const ProgramFolderSetup setup = SetUpProgramFolder(bin(), home());
    QVERIFY(!setup.perUser);
    QCOMPARE(setup.folder, shared());
    QVERIFY2(setup.error.startsWith(u"Cannot create the folder \""_s + user().chopped(1) + u"\": "_s),
             qPrintable(setup.error));
    QVERIFY2(setup.error.contains(u"Not a directory"_s), qPrintable(setup.error));
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
