#include "publish/uploadstate.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A state file comes from disk and may be damaged or edited: whatever it holds, each entry is
// either kept as written or dropped, so that the file is sent again.
class TestUploadStateLoad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeMustBeAWholeFileSize_data()
    {
        QTest::addColumn<QByteArray>("size");
        QTest::addColumn<qint64>("kept");
        QTest::newRow("whole") << QByteArray("1234") << qint64(1234);
        QTest::newRow("empty file") << QByteArray("0") << qint64(0);
        QTest::newRow("largest exact double") << QByteArray("9007199254740992") << qint64(9007199254740992);
        QTest::newRow("far too large") << QByteArray("1e30") << qint64(-1);
        QTest::newRow("just past 64 bits") << QByteArray("9223372036854775808") << qint64(-1);
        QTest::newRow("fraction") << QByteArray("1.5") << qint64(-1);
        QTest::newRow("negative") << QByteArray("-1") << qint64(-1);
        QTest::newRow("text") << QByteArray("\"12\"") << qint64(-1);
    }

    void sizeMustBeAWholeFileSize()
    {
        QFETCH(QByteArray, size);
        QFETCH(qint64, kept);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("state.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray digest(64, 'a');
        file.write("{\"files\": {\"index.html\": {\"size\": " + size + ", \"sha256\": \"" + digest + "\"}}}");
        file.close();

        UploadState state;
        QVERIFY(state.load(path));
        const UploadState::Entry entry = state.entry(QStringLiteral("index.html"));
        QCOMPARE(entry.size, kept);
        QCOMPARE(entry.sha256, kept < 0 ? QByteArray() : digest);
    }
};

QTEST_GUILESS_MAIN(TestUploadStateLoad)
#include "tst_uploadstateload.moc"
