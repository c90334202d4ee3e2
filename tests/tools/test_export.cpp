#include "document/pagefile.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "testpages.h"

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runExport(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(BRISKO_PROGRAM_DIR "/brisko-export"), args);
    Run run;
    if (!process.waitForFinished(30000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_page;

private Q_SLOTS:
    void initTestCase()
    {
        m_page = m_dir.filePath(QStringLiteral("Full Page.mbe"));
        QString error;
        QVERIFY2(WriteDocument(m_page, FullTestPage(), &error), qPrintable(error));
    }

    void htmlIsWhatTheProgramWrites_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("logo");
        QTest::newRow("default") << QStringList() << int(pmRelative) << false;
        QTest::newRow("upload with logo") << QStringList{QStringLiteral("--mode"), QStringLiteral("upload"),
                                                         QStringLiteral("--logo")}
                                          << int(pmUpload) << true;
        QTest::newRow("preview") << QStringList{QStringLiteral("--mode"), QStringLiteral("preview")}
                                 << int(pmPreview) << false;
    }

    void htmlIsWhatTheProgramWrites()
    {
        QFETCH(QStringList, options);
        QFETCH(int, mode);
        QFETCH(bool, logo);
        const Run run = runExport(QStringList{QStringLiteral("html")} + options + QStringList{m_page});
        QCOMPARE(run.exitCode, 0);
        QString error;
        const QStringList lines =
            BuildPageHtml(FullTestPage(), quint8(mode), logo, QStringLiteral(BRISKO_PROGRAM_DIR "/"), &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(run.out, EncodeHtmlLines(lines));
        QVERIFY(run.out.endsWith("</BODY></HTML>\r\n"));
    }

    void jsonKeepsTheFileOrder()
    {
        const Run run = runExport({QStringLiteral("json"), m_page});
        QCOMPARE(run.exitCode, 0);
        const QByteArray &json = run.out;
        QVERIFY(json.contains("\"class\": \"TPagelette\""));
        const QList<QByteArray> order = {"\"Page\"", "\"BlockType\": \"btPageProperties\"", "\"WebForm\"",
                                         "\"Strings.Strings\": [", "\"AlphaSort\": true", "\"Subject\": \"Feedback\""};
        qsizetype at = 0;
        for (const QByteArray &piece : order) {
            const qsizetype next = json.indexOf(piece, at);
            QVERIFY2(next > at, piece.constData());
            at = next;
        }
        QVERIFY(json.contains("\"PagePropertiesBlock.MetaText\": \"keywords\\tbooks, shop\\r\\nauthor\\tMe\\r\\n\""));
    }

    // Lone surrogates survive a resave; JSON shows them as escapes, the page as U+FFFD.
    void loneSurrogatesKeepTheirPlaceInEveryOutput()
    {
        const QString path = QStringLiteral(BRISKO_TEST_DATA_DIR "/streams/page-lone-surrogates.mbe");
        const Run json = runExport({QStringLiteral("json"), path});
        QCOMPARE(json.exitCode, 0);
        QVERIFY2(json.out.contains("\"Subject\": \"\\udfff\\ud800\""), json.out.constData());
        QVERIFY(json.out.contains("\"HeadingBlock.Heading\": \"\\ude00A\xf0\x9f\x98\x80\""));

        const Run html = runExport({QStringLiteral("html"), path});
        QCOMPARE(html.exitCode, 0);
        QVERIFY2(html.out.contains("<TITLE>T&#65533;</TITLE>"), html.out.constData());
        QVERIFY(html.out.contains("Hi&#65533;\r\n"));

        const QString copy = m_dir.filePath(QStringLiteral("surrogates.mbe"));
        const QString again = m_dir.filePath(QStringLiteral("surrogates-again.mbe"));
        QCOMPARE(runExport({QStringLiteral("resave"), path, copy}).exitCode, 0);
        QCOMPARE(runExport({QStringLiteral("resave"), copy, again}).exitCode, 0);
        QFile a(copy), b(again);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray written = a.readAll();
        QCOMPARE(b.readAll(), written);
        QVERIFY(written.contains(QByteArray("\x07Subject\x12\x02\x00\x00\x00\xff\xdf\x00\xd8", 17)));
    }

    void resaveWritesTheSameBytes()
    {
        const QString out = m_dir.filePath(QStringLiteral("copy.mbe"));
        QCOMPARE(runExport({QStringLiteral("resave"), m_page, out}).exitCode, 0);
        QFile a(m_page), b(out);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());

        const QString themes = m_dir.filePath(QStringLiteral("Themes.dat"));
        QCOMPARE(runExport({QStringLiteral("resave"), QStringLiteral(BRISKO_PROGRAM_DIR "/Themes.dat"), themes})
                     .exitCode, 0);
        QFile c(QStringLiteral(BRISKO_PROGRAM_DIR "/Themes.dat")), d(themes);
        QVERIFY(c.open(QIODevice::ReadOnly) && d.open(QIODevice::ReadOnly));
        QCOMPARE(d.readAll(), c.readAll());
    }

    void badInputSaysSoAndWritesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        const QString bad = m_dir.filePath(QStringLiteral("bad.mbe"));
        const QString out = m_dir.filePath(QStringLiteral("never.mbe"));
        const QByteArray invalid = "The selected file is not a valid .MBE or .MBT document.\n";
        QTest::newRow("html") << QStringList{QStringLiteral("html"), bad} << invalid;
        QTest::newRow("json") << QStringList{QStringLiteral("json"), bad} << invalid;
        QTest::newRow("resave") << QStringList{QStringLiteral("resave"), bad, out} << invalid;
        const QString badThemes = m_dir.filePath(QStringLiteral("bad.dat"));
        const QByteArray cutThemes = "Invalid themes file: the file ends unexpectedly at byte 22\n";
        QTest::newRow("resave themes") << QStringList{QStringLiteral("resave"), badThemes, out} << cutThemes;
        QTest::newRow("json themes") << QStringList{QStringLiteral("json"), badThemes} << cutThemes;
        QTest::newRow("themes as html") << QStringList{QStringLiteral("html"), badThemes} << invalid;
        QTest::newRow("missing file") << QStringList{QStringLiteral("html"), m_dir.filePath(QStringLiteral("no.mbe"))}
                                      << invalid;
        QTest::newRow("themes file as page")
            << QStringList{QStringLiteral("html"), QStringLiteral(BRISKO_PROGRAM_DIR "/Themes.dat")} << invalid;
        QTest::newRow("unknown mode") << QStringList{QStringLiteral("html"), QStringLiteral("--mode"),
                                                     QStringLiteral("print"), m_page}
                                      << QByteArray("usage:");
    }

    void badInputSaysSoAndWritesNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        writeFile(m_dir.filePath(QStringLiteral("bad.mbe")), QByteArray("TPF0\x0aTPagelette\x00\x04Page\x0e\x01", 23));
        writeFile(m_dir.filePath(QStringLiteral("bad.dat")), QByteArray("TPF0\x09TWebTheme\x00\x05Items\x0e\x01", 22));
        const Run run = runExport(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith(message), run.err.constData());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("never.mbe"))));
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "test_export.moc"
