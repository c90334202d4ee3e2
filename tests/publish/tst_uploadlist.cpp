#include "document/pagemodel.h"
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

QTEST_GUILESS_MAIN(TestUploadList)
#include "tst_uploadlist.moc"
