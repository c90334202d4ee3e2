#include "platform/filetypes.h"
#include "platform/settingsstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString kGroup = u"Software/Marlowen Software/HTML Brisko4"_s;

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

QString desktopValue(const QByteArray &entry, const QString &key)
{
    for (const QByteArray &line : entry.split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.startsWith(key + u'='))
            return text.mid(key.size() + 1);
    }
    return {};
}

QDateTime modified(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

void setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// The per-user settings store and the desktop's file-type registration.
class TestDesktopSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void valuesKeepKeyPathsNamesAndText();
    void numbersReadOnlyFromDecimalText_data();
    void numbersReadOnlyFromDecimalText();
    void textValuesRoundTripUnchanged_data();
    void textValuesRoundTripUnchanged();
    void profileNamesRoundTrip_data();
    void profileNamesRoundTrip();
    void deletingAProfileKeepsTheOthers();
    void useFileRedirectsTheInstanceKeptByCallers();
    void unwritableStoreReportsWhy();

    void registrationWritesMimePackageAndDesktopEntry();
    void execLineQuotesTheProgramPath_data();
    void execLineQuotesTheProgramPath();
    void registrationRewritesOnlyWhatDiffers();
    void registrationReportsAnUnusableDataFolder_data();
    void registrationReportsAnUnusableDataFolder();
    void iconsGoIntoTheHicolorTheme();

private:
    QString iniPath() const { return m_dir.filePath(u"settings.ini"_s); }
    QString dataHome() const { return m_dir.filePath(u"share"_s); }
    // A stand-in for update-mime-database that notes the folder it was started for.
    void installFakeMimeUpdater();

    QTemporaryDir m_dir;
    QByteArray m_savedPath;
};

void TestDesktopSettings::initTestCase()
{
    m_savedPath = qgetenv("PATH");
}

void TestDesktopSettings::cleanup()
{
    qputenv("PATH", m_savedPath);
}

void TestDesktopSettings::init()
{
    QVERIFY(m_dir.isValid());
    QFile::remove(iniPath());
    QDir(dataHome()).removeRecursively();
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
}

void TestDesktopSettings::valuesKeepKeyPathsNamesAndText()
{
    {
        SettingsStore store(iniPath());
        store.writeString(u"Position"_s, u"WindowState"_s, u"Normal"_s);
        store.writeInteger(u"Position"_s, u"Top"_s, 120);
        store.writeInteger(u"Position"_s, u"PaneWidth"_s, -3);
        store.writeInteger({}, u"TipDay"_s, 0);
        store.writeString(u"Profiles/My Server"_s, u"Port"_s, u"21"_s);
        QVERIFY(store.sync());
    }

    // Read back without the store: the groups are the key paths, the names keep their case
    // and every value is plain text.
    QSettings raw(iniPath(), QSettings::IniFormat);
    raw.beginGroup(kGroup + u"/Position"_s);
    QCOMPARE(raw.childKeys(), (QStringList{u"PaneWidth"_s, u"Top"_s, u"WindowState"_s}));
    QCOMPARE(raw.value(u"Top"_s).typeId(), QMetaType::QString);
    QCOMPARE(raw.value(u"Top"_s).toString(), u"120"_s);
    QCOMPARE(raw.value(u"PaneWidth"_s).toString(), u"-3"_s);
    QCOMPARE(raw.value(u"WindowState"_s).toString(), u"Normal"_s);
    raw.endGroup();
    QCOMPARE(raw.value(kGroup + u"/TipDay"_s).toString(), u"0"_s);
    QCOMPARE(raw.value(kGroup + u"/Profiles/My Server/Port"_s).toString(), u"21"_s);

    const QByteArray text = readAll(iniPath());
    QVERIFY2(text.contains("Marlowen%20Software\\HTML%20Brisko4\\Position\\Top=120\n"), text.constData());
    QVERIFY2(text.contains("Marlowen%20Software\\HTML%20Brisko4\\TipDay=0\n"), text.constData());
    QVERIFY2(!text.contains("@Variant"), text.constData());
}

void TestDesktopSettings::numbersReadOnlyFromDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("digits") << u"250"_s << 250;
    QTest::newRow("negative") << u"-40"_s << -40;
    QTest::newRow("leading blanks") << u"  12"_s << 12;
    QTest::newRow("largest") << u"2147483647"_s << 2147483647;
    QTest::newRow("trailing letter") << u"12a"_s << 99;
    QTest::newRow("trailing blank") << u"12 "_s << 99;
    QTest::newRow("empty") << QString() << 99;
    QTest::newRow("dollar hex") << u"$10"_s << 99;
    QTest::newRow("0x hex") << u"0x10"_s << 99;
    QTest::newRow("too large") << u"2147483648"_s << 99;
}

void TestDesktopSettings::numbersReadOnlyFromDecimalText()
{
    QFETCH(QString, text);
    QFETCH(int, expected);

    SettingsStore store(iniPath());
    store.writeString(u"Position"_s, u"Top"_s, text);
    QCOMPARE(store.readInteger(u"Position"_s, u"Top"_s, 99), expected);
    QCOMPARE(store.readInteger(u"Position"_s, u"Left"_s, 99), 99);
}

void TestDesktopSettings::textValuesRoundTripUnchanged_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("comma") << u"shop, books"_s;
    QTest::newRow("blanks around") << u"  public_html  "_s;
    QTest::newRow("at sign first") << u"@Variant(x)"_s;
    QTest::newRow("not Latin-1") << u"caf\u00e9 \u20ac \u4e2d"_s;
}

void TestDesktopSettings::textValuesRoundTripUnchanged()
{
    QFETCH(QString, value);

    {
        SettingsStore store(iniPath());
        store.writeString(u"Profiles/Home"_s, u"Password"_s, value);
        QVERIFY(store.sync());
    }
    const SettingsStore reread(iniPath());
    QCOMPARE(reread.readString(u"Profiles/Home"_s, u"Password"_s, u"default"_s), value);
}

void TestDesktopSettings::profileNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");

    // Profile names refuse only the characters " * / : ? \ | and two angle quotes.
    QTest::newRow("space") << u"My Server"_s;
    QTest::newRow("blanks around") << u" padded "_s;
    QTest::newRow("ini syntax") << u"a=b;c [x] #1"_s;
    QTest::newRow("control character") << u"tab\there"_s;
    QTest::newRow("accented and euro") << u"Caf\u00e9 \u20ac"_s;
    QTest::newRow("QSettings special group") << u"General"_s;
}

void TestDesktopSettings::profileNamesRoundTrip()
{
    QFETCH(QString, name);

    {
        SettingsStore store(iniPath());
        store.writeString(u"Profiles/"_s + name, u"Host"_s, u"ftp.example.org"_s);
        store.writeString(u"Profiles/"_s + name, u"Port"_s, u"2121"_s);
        QVERIFY(store.sync());
    }
    const SettingsStore reread(iniPath());
    QCOMPARE(reread.subKeys(u"Profiles"_s), QStringList{name});
    QCOMPARE(reread.readString(u"Profiles/"_s + name, u"Host"_s), u"ftp.example.org"_s);
    QCOMPARE(reread.readInteger(u"Profiles/"_s + name, u"Port"_s, 21), 2121);
    QVERIFY(reread.valueExists(u"Profiles/"_s + name, u"Port"_s));
    QVERIFY(!reread.valueExists(u"Profiles/"_s + name, u"Username"_s));
}

void TestDesktopSettings::deletingAProfileKeepsTheOthers()
{
    SettingsStore store(iniPath());
    store.writeString(u"Profiles/Old Name"_s, u"Host"_s, u"a"_s);
    store.writeString(u"Profiles/Old Name"_s, u"Username"_s, u"u"_s);
    store.writeString(u"Profiles/Other"_s, u"Host"_s, u"b"_s);
    store.writeString(u"Profiles/other"_s, u"Host"_s, u"c"_s);
    store.writeString(u"Position"_s, u"Top"_s, u"5"_s);

    store.deleteSubKey(u"Profiles/Old Name"_s);
    QVERIFY(store.sync());

    const SettingsStore reread(iniPath());
    // Names differing only in case are different profiles, as are value names.
    QCOMPARE(reread.subKeys(u"Profiles"_s), (QStringList{u"Other"_s, u"other"_s}));
    QVERIFY(!reread.valueExists(u"Profiles/Old Name"_s, u"Username"_s));
    QCOMPARE(reread.readString(u"Profiles/Other"_s, u"Host"_s), u"b"_s);
    QCOMPARE(reread.readString(u"Profiles/other"_s, u"Host"_s), u"c"_s);
    QVERIFY(!reread.valueExists(u"Profiles/Other"_s, u"host"_s));
    QCOMPARE(reread.readString(u"Position"_s, u"Top"_s), u"5"_s);
    QCOMPARE(reread.subKeys({}), (QStringList{u"Position"_s, u"Profiles"_s}));
}

void TestDesktopSettings::useFileRedirectsTheInstanceKeptByCallers()
{
    const QString first = m_dir.filePath(u"first.ini"_s);
    const QString second = m_dir.filePath(u"second.ini"_s);
    QFile::remove(first);
    QFile::remove(second);

    SettingsStore::useFile(first);
    SettingsStore &kept = SettingsStore::instance();
    kept.writeString({}, u"TipDay"_s, u"0"_s);
    SettingsStore::useFile(second);
    QCOMPARE(&SettingsStore::instance(), &kept);
    QVERIFY(!kept.valueExists({}, u"TipDay"_s));
    kept.writeString({}, u"TipDay"_s, u"1"_s);
    QVERIFY(kept.sync());

    QCOMPARE(SettingsStore(first).readString({}, u"TipDay"_s), u"0"_s);
    QCOMPARE(SettingsStore(second).readString({}, u"TipDay"_s), u"1"_s);
}

void TestDesktopSettings::unwritableStoreReportsWhy()
{
    // A file where the store's folder should be: the store cannot be written, as root too.
    const QString blocker = m_dir.filePath(u"blocker"_s);
    QVERIFY(writeAll(blocker, "x"));
    SettingsStore store(blocker + u"/settings.ini"_s);
    store.writeString(u"Position"_s, u"Top"_s, u"1"_s);
    QString error;
    QVERIFY(!store.sync(&error));
    QVERIFY2(error.contains(u"cannot be written"_s), qPrintable(error));
}

void TestDesktopSettings::installFakeMimeUpdater()
{
    const QString bin = m_dir.filePath(u"bin"_s);
    QVERIFY(QDir().mkpath(bin));
    const QString script = bin + u"/update-mime-database"_s;
    QVERIFY(writeAll(script, "#!/bin/sh\necho \"$1\" >> '" + QFile::encodeName(bin) + "/updated'\n"));
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QFile::remove(bin + u"/updated"_s);
    qputenv("PATH", QFile::encodeName(bin));
}

void TestDesktopSettings::registrationWritesMimePackageAndDesktopEntry()
{
    installFakeMimeUpdater();
    QString error;
    const bool registered = RegisterFileTypes(u"/opt/Brisko/brisko"_s, &error);
    qputenv("PATH", m_savedPath);
    QVERIFY2(registered, qPrintable(error));

    // The MIME package: well-formed, both types with their comments and patterns.
    const QByteArray package = readAll(dataHome() + u"/mime/packages/brisko.xml"_s);
    QXmlStreamReader xml(package);
    QStringList types;
    QStringList comments;
    QStringList globs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"mime-info")
            QCOMPARE(xml.namespaceUri(), u"http://www.freedesktop.org/standards/shared-mime-info");
        else if (xml.name() == u"mime-type")
            types << xml.attributes().value(u"type"_s).toString();
        else if (xml.name() == u"comment")
            comments << xml.readElementText();
        else if (xml.name() == u"glob")
            globs << xml.attributes().value(u"pattern"_s).toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(types, (QStringList{u"application/x-brisko-project"_s, u"application/x-brisko-template"_s}));
    QCOMPARE(comments, (QStringList{u"Marlowen HTML Brisko File"_s, u"Marlowen HTML Brisko Template"_s}));
    QCOMPARE(globs, (QStringList{u"*.mbe"_s, u"*.mbt"_s}));

    const QByteArray entry = readAll(dataHome() + u"/applications/brisko.desktop"_s);
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QCOMPARE(desktopValue(entry, u"Type"_s), u"Application"_s);
    QCOMPARE(desktopValue(entry, u"Name"_s), u"Marlowen HTML Brisko 4.0"_s);
    QCOMPARE(desktopValue(entry, u"Exec"_s), u"\"/opt/Brisko/brisko\" %f"_s);
    QCOMPARE(desktopValue(entry, u"MimeType"_s), u"application/x-brisko-project;application/x-brisko-template;"_s);
    QCOMPARE(desktopValue(entry, u"Icon"_s), u"brisko"_s);

    // The MIME database is rebuilt for the user's folder, without the registration waiting.
    const QString updated = m_dir.filePath(u"bin/updated"_s);
    QTRY_VERIFY(QFileInfo(updated).size() > 0);
    QCOMPARE(readAll(updated).trimmed(), QFile::encodeName(dataHome() + u"/mime"_s));
}

void TestDesktopSettings::execLineQuotesTheProgramPath_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");

    QTest::newRow("space") << u"/opt/My Apps/brisko"_s << u"\"/opt/My Apps/brisko\" %f"_s;
    QTest::newRow("double quote") << u"/opt/a\"b/brisko"_s << u"\"/opt/a\\\\\"b/brisko\" %f"_s;
    QTest::newRow("dollar and backtick") << u"/opt/$x`y/brisko"_s << u"\"/opt/\\\\$x\\\\`y/brisko\" %f"_s;
    QTest::newRow("backslash") << u"/opt/a\\b/brisko"_s << u"\"/opt/a\\\\\\\\b/brisko\" %f"_s;
    QTest::newRow("percent") << u"/opt/100%/brisko"_s << u"\"/opt/100%%/brisko\" %f"_s;
}

void TestDesktopSettings::execLineQuotesTheProgramPath()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);

    qputenv("PATH", "");
    QString error;
    const bool registered = RegisterFileTypes(program, &error);
    qputenv("PATH", m_savedPath);
    QVERIFY2(registered, qPrintable(error));
    QCOMPARE(desktopValue(readAll(dataHome() + u"/applications/brisko.desktop"_s), u"Exec"_s), exec);
}

void TestDesktopSettings::registrationRewritesOnlyWhatDiffers()
{
    installFakeMimeUpdater();
    const QString package = dataHome() + u"/mime/packages/brisko.xml"_s;
    const QString entry = dataHome() + u"/applications/brisko.desktop"_s;
    const QString updated = m_dir.filePath(u"bin/updated"_s);
    QString error;
    QVERIFY2(RegisterFileTypes(u"/opt/Brisko/brisko"_s, &error), qPrintable(error));
    QTRY_VERIFY(QFile::exists(updated));
    QFile::remove(updated);

    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    setModified(package, old);
    setModified(entry, old);
    QVERIFY2(RegisterFileTypes(u"/opt/Brisko/brisko"_s, &error), qPrintable(error));
    QCOMPARE(modified(package), old);
    QCOMPARE(modified(entry), old);

    // The program moved: only the desktop entry changes, and the MIME database is left alone.
    QVERIFY2(RegisterFileTypes(u"/usr/local/Brisko/brisko"_s, &error), qPrintable(error));
    QCOMPARE(modified(package), old);
    QVERIFY(modified(entry) > old);
    QVERIFY(readAll(entry).contains("Exec=\"/usr/local/Brisko/brisko\" %f"));

    // A package edited by hand is put right again, and the database rebuilt.
    QVERIFY(writeAll(package, "<mime-info/>\n"));
    QVERIFY2(RegisterFileTypes(u"/usr/local/Brisko/brisko"_s, &error), qPrintable(error));
    QVERIFY(readAll(package).contains("*.mbt"));
    QTRY_VERIFY(QFile::exists(updated));
    qputenv("PATH", m_savedPath);
    QCOMPARE(QDir(dataHome() + u"/mime/packages"_s).entryList(QDir::Files), QStringList{u"brisko.xml"_s});
}

void TestDesktopSettings::registrationReportsAnUnusableDataFolder_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("named");

    QTest::newRow("data folder is a file") << QString() << u"mime"_s;
    QTest::newRow("packages is a file") << u"mime/packages"_s << u"packages"_s;
    QTest::newRow("package name is a folder") << u"mime/packages/brisko.xml/"_s << u"brisko.xml"_s;
}

void TestDesktopSettings::registrationReportsAnUnusableDataFolder()
{
    QFETCH(QString, blocked);
    QFETCH(QString, named);

    const QString path = blocked.isEmpty() ? dataHome() : dataHome() + u'/' + blocked;
    if (blocked.endsWith(u'/')) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(writeAll(path, "in the way"));
    }
    qputenv("PATH", "");
    QString error;
    const bool registered = RegisterFileTypes(u"/opt/Brisko/brisko"_s, &error);
    qputenv("PATH", m_savedPath);
    QVERIFY(!registered);
    QVERIFY2(error.contains(named), qPrintable(error));
    if (blocked.isEmpty())
        QFile::remove(dataHome());
}

void TestDesktopSettings::iconsGoIntoTheHicolorTheme()
{
    using Kind = DesktopIcon::Kind;
    QString error;
    QVERIFY2(InstallFileTypeIcons({{Kind::Program, 16, "app16"},
                                   {Kind::Program, 128, "app128"},
                                   {Kind::Project, 32, "project"},
                                   {Kind::Template, 64, "template"}},
                                  &error),
             qPrintable(error));
    const QString theme = dataHome() + u"/icons/hicolor/"_s;
    QCOMPARE(readAll(theme + u"16x16/apps/brisko.png"_s), QByteArray("app16"));
    QCOMPARE(readAll(theme + u"128x128/apps/brisko.png"_s), QByteArray("app128"));
    QCOMPARE(readAll(theme + u"32x32/mimetypes/application-x-brisko-project.png"_s), QByteArray("project"));
    QCOMPARE(readAll(theme + u"64x64/mimetypes/application-x-brisko-template.png"_s), QByteArray("template"));
}

QTEST_GUILESS_MAIN(TestDesktopSettings)
#include "tst_desktopsettings.moc"
