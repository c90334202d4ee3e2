#include "platform/settingsstore.h"
#include "publish/serverprofiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProfiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passwordStoredForm_data();
    void passwordStoredForm();
    void scramblingKeepsTheStoredBytes_data();
    void scramblingKeepsTheStoredBytes();
    void renameMovesEveryValue();
    void missingValuesReadAsDefaults();
};

void TestProfiles::passwordStoredForm_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("ending");
    QTest::newRow("one character") << QByteArray("a") << 4 << QByteArray("==");
    QTest::newRow("two characters") << QByteArray("ab") << 4 << QByteArray("=");
    QTest::newRow("three characters") << QByteArray("abc") << 4 << QByteArray("");
    QTest::newRow("every byte value") << [] {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all += char(i);
        return all;
    }() << 344 << QByteArray("==");
    QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
}

void TestProfiles::passwordStoredForm()
{
    QFETCH(QByteArray, plain);
    QFETCH(int, length);
    QFETCH(QByteArray, ending);
    const QByteArray scrambled = ScrambleText(plain);
    QCOMPARE(scrambled.size(), plain.size());
    if (plain.size() > 1)
        QVERIFY(scrambled != plain);
    const QByteArray stored = EncodeBase64(scrambled);
    QCOMPARE(stored.size(), length);
    QVERIFY(stored.endsWith(ending));
    QCOMPARE(stored.count('='), ending.size());
    // The standard alphabet: any RFC 4648 decoder reads it.
    QCOMPARE(stored, scrambled.toBase64());
    QCOMPARE(UnscrambleText(DecodeBase64(stored)), plain);
}

// Stored forms written by earlier versions must still read back: the key arithmetic passes the
// range of int from the fourth character of an ordinary password on.
void TestProfiles::scramblingKeepsTheStoredBytes_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("ordinary password") << QByteArray("password") << QByteArray("Pyz/uA95X+s=");
    QTest::newRow("mixed") << QByteArray("Hunter2!") << QByteArray("B9xeZD8NMSg=");
    QTest::newRow("highest bytes") << QByteArray(8, char(0xFF)) << QByteArray("sMdAATtH2gM=");
}

void TestProfiles::scramblingKeepsTheStoredBytes()
{
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, stored);
    QCOMPARE(EncodeBase64(ScrambleText(plain)), stored);
    QCOMPARE(UnscrambleText(DecodeBase64(stored)), plain);
}

void TestProfiles::renameMovesEveryValue()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    ServerProfile p;
    p.name = QStringLiteral("Home");
    p.userName = QStringLiteral("walker");
    p.password = QStringLiteral("p\u00e4ss:word");
    p.host = QStringLiteral("sftp://example.org");
    p.initialDir = QStringLiteral("public_html");
    p.port = QStringLiteral("2222");
    p.trustedKey = QStringLiteral("SHA256:abc");
    ServerProfiles::SaveProfile(store, p);
    QVERIFY(store.readString(QStringLiteral("Profiles/Home"), QStringLiteral("Password")) != p.password);

    ServerProfile renamed = p;
    renamed.name = QStringLiteral("Club <web>");
    ServerProfiles::SaveProfile(store, renamed, p.name);
    QCOMPARE(ServerProfiles::ReadProfileNames(store), QStringList{renamed.name});
    ServerProfile back;
    QVERIFY(ServerProfiles::LoadProfile(store, renamed.name, &back));
    QCOMPARE(back.userName, p.userName);
    QCOMPARE(back.password, p.password);
    QCOMPARE(back.host, p.host);
    QCOMPARE(back.initialDir, p.initialDir);
    QCOMPARE(back.port, p.port);
    QCOMPARE(back.trustedKey, p.trustedKey);
    QVERIFY(!ServerProfiles::LoadProfile(store, p.name, &back));

    QVERIFY(store.sync());
    // The stored passwords are readable by their owner only.
    const QFile::Permissions mode = QFile::permissions(dir.filePath(QStringLiteral("settings.ini")));
    QVERIFY(mode.testFlags(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(!(mode & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther)));
}

void TestProfiles::missingValuesReadAsDefaults()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    store.writeString(QStringLiteral("Profiles/Bare"), QStringLiteral("Host"), QStringLiteral("example.org"));
    ServerProfile p;
    QVERIFY(ServerProfiles::LoadProfile(store, QStringLiteral("Bare"), &p));
    QCOMPARE(p.port, QStringLiteral("21"));
    QCOMPARE(p.password, QString());
    QCOMPARE(p.userName, QString());
}

QTEST_GUILESS_MAIN(TestProfiles)
#include "tst_profiles.moc"
