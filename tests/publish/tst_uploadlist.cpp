#include "document/pagemodel.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "publish/uploadlist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestUploadList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsExistingPicturesSortedThenPage();
    void checkFindsEscapedPictureNamesAsTheirFiles_data();
    void checkFindsEscapedPictureNamesAsTheirFiles();
    void checkComparesRealFileNames_data();
    void checkComparesRealFileNames();
};

void TestUploadList::listsExistingPicturesSortedThenPage()
{
    QTemporaryDir dir;
    const QString prog = dir.path() + QLatin1Char('/');
    QDir().mkpath(prog + QStringLiteral("Upload/images"));
    QDir().mkpath(prog + QStringLiteral("Upload/backgrounds"));
    for (const char *name : {"Upload/images/a.gif", "Upload/images/A.GIF", "Upload/images/b.jpg",
                             "Upload/backgrounds/z.gif", "Upload/MyPage.html"}) {
        QFile f(prog + QLatin1String(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TPagelette page;
    page.AddDefaultBlocks();
    page.Page.Items(0)->PagePropertiesBlock.Background = QStringLiteral("z.gif");
    for (const char *image : {"b.jpg", "a.gif", "A.GIF", "a.gif", "missing.gif"}) {
        TPageItem &item = page.Page.Add();
        item.BlockType = btImage;
        item.ImageBlock.FileName = QLatin1String(image);
    }
    const QStringList expected{prog + QStringLiteral("Upload/images/a.gif"), prog + QStringLiteral("Upload/images/A.GIF"),
                               prog + QStringLiteral("Upload/images/b.jpg"),
                               prog + QStringLiteral("Upload/backgrounds/z.gif")};
    QStringList sortedExpected = expected;
    sortedExpected.sort(Qt::CaseInsensitive);
    QCOMPARE(BuildUploadList(page, prog), sortedExpected);
    QCOMPARE(PublishFileList(page, QStringLiteral("/any/where/My Page.mbe"), prog),
             sortedExpected + QStringList{prog + QStringLiteral("Upload/MyPage.html")});
    // A page never saved has no published file.
    QCOMPARE(PublishFileList(page, QStringLiteral("Untitled"), prog), sortedExpected);
}

void TestUploadList::checkFindsEscapedPictureNamesAsTheirFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<QString>("problem");
    QTest::newRow("hash, sent") << QStringLiteral("ha#sh.gif") << true << QString();
    QTest::newRow("question mark, sent") << QStringLiteral("que?.gif") << true << QString();
    QTest::newRow("percent, not listed") << QStringLiteral("50%.gif") << false
                                         << QStringLiteral("50%.gif is not in the upload list");
}

void TestUploadList::checkFindsEscapedPictureNamesAsTheirFiles()
{
    QFETCH(QString, name);
    QFETCH(bool, listed);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString prog = dir.path() + QLatin1Char('/');
    const QString picture = prog + QStringLiteral("Upload/images/") + name;
    QDir().mkpath(prog + QStringLiteral("Upload/images"));
    QFile f(picture);
    QVERIFY(f.open(QIODevice::WriteOnly));
    TPagelette page;
    page.AddDefaultBlocks();
    page.Page.Items(1)->ImageBlock.FileName = name; // written into the page as "ha%23sh.gif"
    const QString html = prog + QStringLiteral("Upload/Page.html");
    QVERIFY(WriteHtmlFile(html, BuildPageHtml(page, pmUpload, false, prog)));
    const QStringList list = listed ? QStringList{picture, html} : QStringList{html};
    QCOMPARE(PrePublishCheck(html, list), problem.isEmpty() ? QStringList() : QStringList{problem});
}

void TestUploadList::checkComparesRealFileNames_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("listed"); // in Upload/images, and in the upload list
    QTest::addColumn<QStringList>("problems");
    const QStringList none;
    QTest::newRow("quote as a named reference") << "<IMG SRC=\"a&quot;b.gif\">" << QStringList{u"a\"b.gif"_s} << none;
    QTest::newRow("ampersand") << "<IMG SRC=\"R&amp;D.gif\">" << QStringList{u"R&D.gif"_s} << none;
    QTest::newRow("numeric references") << "<IMG SRC='x&#34;y&#x26;z.gif'>" << QStringList{u"x\"y&z.gif"_s} << none;
    QTest::newRow("url escaped") << "<IMG SRC=\"a%22b%20c.gif\">" << QStringList{u"a\"b c.gif"_s} << none;
    QTest::newRow("escaped reference") << "<IMG SRC=\"R%26amp;D%23.gif\">" << QStringList{u"R&amp;D#.gif"_s} << none;
    QTest::newRow("name as is from an older page") << "<IMG SRC=\"a%41.gif\">" << QStringList{u"a%41.gif"_s} << none;
    QTest::newRow("a bare ampersand stays") << "<IMG SRC=\"R&D.gif\">" << QStringList{u"R&D.gif"_s} << none;
    QTest::newRow("missing") << "<IMG SRC=\"gone&amp;.gif\">" << QStringList{u"R&D.gif"_s}
                             << QStringList{u"gone&.gif is missing on disk"_s};
}

void TestUploadList::checkComparesRealFileNames()
{
    QFETCH(QString, html);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, problems);
    QTemporaryDir dir;
    QStringList uploadList;
    for (const QString &name : listed) {
        uploadList << dir.filePath(QStringLiteral("images/") + name);
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("images"))));
        QFile f(uploadList.last());
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QFile page(dir.filePath(QStringLiteral("Page.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(html.toLatin1());
    page.close();
    QCOMPARE(PrePublishCheck(page.fileName(), uploadList), problems);
}

QTEST_GUILESS_MAIN(TestUploadList)
#include "tst_uploadlist.moc"
