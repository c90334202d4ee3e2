#include "document/pagemodel.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "publish/uploadlist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestUploadList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsExistingPicturesSortedThenPage();
    void checkFindsEscapedPictureNamesAsTheirFiles_data();
    void checkFindsEscapedPictureNamesAsTheirFiles();
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

QTEST_GUILESS_MAIN(TestUploadList)
#include "tst_uploadlist.moc"
