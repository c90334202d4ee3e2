#include "document/pagefile.h"
#include "format/componentstream.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include "diskfull.h"
#include "testpages.h"

using namespace Qt::StringLiterals;

namespace {

// Builds expected bytes from readable pieces: a short string gets its length byte.
struct Bytes
{
    QByteArray data;
    Bytes &raw(std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            data.append(char(b));
        return *this;
    }
    Bytes &str(const char *text)
    {
        data.append(char(qstrlen(text)));
        data.append(text);
        return *this;
    }
};

QByteArray bytesOf(const TPagelette &page)
{
    return DocumentBytes(page);
}

bool readBytes(const QByteArray &bytes, TPagelette &page, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QString ignored;
    return ReadDocument(buffer, page, error ? error : &ignored);
}

} // namespace

class TestPageFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newPageFileStartsAsTheFormatSays()
    {
        TPagelette page;
        page.AddDefaultBlocks();
        Bytes expected;
        expected.raw({0x54, 0x50, 0x46, 0x30}).str("TPagelette").raw({0x00});
        expected.str("Page").raw({0x0E, 0x01});
        expected.str("BlockType").raw({0x07}).str("btPageProperties");
        expected.str("BlockAlign").raw({0x07}).str("baNone");
        expected.str("BlockOnNewLine").raw({0x08});
        expected.str("PagePropertiesBlock.IndentMargin").raw({0x06}).str("0");
        expected.str("PagePropertiesBlock.ThemeName").raw({0x06}).str("Default");
        expected.str("PagePropertiesBlock.Underline").raw({0x08});
        expected.str("PagePropertiesBlock.BGColor").raw({0x04, 0xFF, 0xFF, 0xFF, 0x00});
        expected.str("PagePropertiesBlock.TextColor").raw({0x02, 0x00});
        expected.str("PagePropertiesBlock.LinkColor").raw({0x04, 0x00, 0x00, 0xFF, 0x00});
        expected.str("PagePropertiesBlock.ALinkColor").raw({0x03, 0xFF, 0x00});
        expected.str("PagePropertiesBlock.VLinkColor").raw({0x04, 0x99, 0x00, 0x99, 0x00});
        expected.str("HeadingBlock.ApplyFont").raw({0x02, 0x00});
        expected.str("LinkBlock.UseDropBox").raw({0x08});
        expected.str("LinkBlock.Email").raw({0x08});
        expected.str("TextBlock.ApplyFont").raw({0x02, 0x00});
        expected.str("BulletBlock.Style").raw({0x07}).str("lsDisc");
        expected.str("HRBlock.Width").raw({0x02, 0x00});
        expected.str("HRBlock.Size").raw({0x02, 0x00});
        expected.str("HRBlock.NoShade").raw({0x08});
        expected.raw({0x00, 0x01});

        const QByteArray actual = bytesOf(page);
        QCOMPARE(actual.left(expected.data.size()).toHex(' '), expected.data.toHex(' '));

        // The file ends with the empty form, every option and the two empty lists.
        Bytes tail;
        tail.raw({0x00}).str("WebForm").raw({0x0E, 0x00});
        for (const char *option : {"AlphaSort", "BlankFields", "Border", "BrowserUsed", "EmailAddress",
                                   "EmailSubject", "EnvReport"})
            tail.str(option).raw({0x08});
        for (const char *option : {"FormFooter", "HostName"})
            tail.str(option).raw({0x08});
        tail.raw({0x00, 0x00});
        QVERIFY2(actual.endsWith(tail.data), actual.right(tail.data.size()).toHex(' ').constData());
    }

    void headingItemCarriesTheOtherRecordsNonStringFields()
    {
        TPagelette page;
        page.AddDefaultBlocks();
        page.InsertNewBlock(1, btHeading)->HeadingBlock.Heading = QStringLiteral("Hi");
        const Stream::Object object = PageToStream(page);
        const Stream::PropertyList &heading = object.properties[0].value.items[1];
        QStringList names;
        for (const auto &property : heading)
            names << property.name;
        QVERIFY(names.contains(u"PagePropertiesBlock.Underline"));
        QVERIFY(names.contains(u"HRBlock.Width"));
        QVERIFY(names.contains(u"BulletBlock.Style"));
        QVERIFY(!names.contains(u"ImageBlock.FileName"));
        QCOMPARE(names.indexOf(u"HeadingBlock.Heading"), 9); // after the block fields and the details record
        QVERIFY(names.indexOf(u"LinkBlock.UseDropBox") < names.indexOf(u"TextBlock.ApplyFont"));
    }

    void everyFieldSurvivesSaveAndLoad()
    {
        const TPagelette page = FullTestPage();
        TPagelette loaded;
        QString error;
        QVERIFY2(readBytes(bytesOf(page), loaded, &error), qPrintable(error));
        QVERIFY(loaded == page);
        QCOMPARE(bytesOf(loaded), bytesOf(page));
        QCOMPARE(bytesOf(page), Stream::write(PageToStream(page)));
    }

    // A file written onto a device goes a piece at a time; the pieces must join up to the same
    // bytes, also where a text the code page cannot hold meets the end of a piece.
    void deviceGetsTheSameBytes_data()
    {
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("textLength");
        QTest::newRow("one piece") << 3 << 100;
        QTest::newRow("many pieces") << 2000 << 900;
        QTest::newRow("large texts") << 4 << 300000;
    }

    void deviceGetsTheSameBytes()
    {
        QFETCH(int, blocks);
        QFETCH(int, textLength);
        TPagelette page = FullTestPage();
        for (int i = 0; i < blocks; ++i) {
            const QChar letter = i % 2 ? QChar(u'x') : QChar(0x0416);
            page.InsertNewBlock(1, btText)->TextBlock.Text = QString(textLength + i % 7, letter);
        }
        QByteArray written;
        QBuffer buffer(&written);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(WriteDocument(buffer, page));
        QCOMPARE(written.size(), bytesOf(page).size());
        QVERIFY(written == bytesOf(page));
    }

    // Names are matched without regard to case, in any order, and the last of two values counts.
    void readerFindsPropertiesByName()
    {
        Bytes b;
        b.raw({0x54, 0x50, 0x46, 0x30}).str("tpagelette").raw({0x00});
        b.str("PAGE").raw({0x0E, 0x01}).str("blocktype").raw({0x07}).str("btText").raw({0x00, 0x00});
        b.str("Page").raw({0x0E, 0x01});
        b.str("hrblock.width").raw({0x03, 0x00, 0x01});
        b.str("TEXTBLOCK.TEXT").raw({0x06, 0x01, 'a'});
        b.str("BlockType").raw({0x07}).str("BTHEADING");
        b.str("TextBlock.Text").raw({0x06, 0x01, 'b'});
        b.str("blockonnewline").raw({0x07}).str("TRUE");
        b.raw({0x00, 0x01, 0x00, 0x00});
        b.str("webform").raw({0x0E, 0x01}).str("fieldkind").raw({0x07}).str("FKBUTTON");
        b.str("strings.strings").raw({0x01, 0x06, 0x01, 'x', 0x00}).str("Strings.Strings").raw({0x01, 0x00});
        b.raw({0x00, 0x00});
        b.str("tag").raw({0x02, 0x07}).str("border").raw({0x07}).str("true").str("Border").raw({0x07}).str("False");
        b.raw({0x00, 0x00});
        TPagelette page;
        QString error;
        QVERIFY2(readBytes(b.data, page, &error), qPrintable(error));
        QCOMPARE(page.Page.Count(), 2);
        const TPageItem &item = *page.Page.Items(0);
        QCOMPARE(item.BlockType, quint8(btHeading));
        QCOMPARE(item.HRBlock.Width, 256);
        QCOMPARE(item.TextBlock.Text, QStringLiteral("b"));
        QVERIFY(item.BlockOnNewLine);
        QCOMPARE(page.WebForm.Count(), 1);
        QCOMPARE(page.WebForm.Items(0)->FieldKind, fkButton);
        QVERIFY(page.WebForm.Items(0)->Strings.isEmpty());
        QCOMPARE(page.Tag, 7);
        QVERIFY(!page.Border);

        Stream::Object object;
        TPagelette tree;
        QVERIFY(Stream::read(QByteArrayView(b.data), object, &error) && PageFromStream(object, tree, &error));
        QVERIFY(tree == page);
    }

    void stringLengthPicksTheTag_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tag");
        QTest::newRow("255 bytes") << QString(255, u'x') << 0x06;
        QTest::newRow("256 bytes") << QString(256, u'x') << 0x0C;
        QTest::newRow("Windows-1252 beyond ASCII") << QStringLiteral("Caf\u00e9 \u20ac5 \u201cquoted\u201d") << 0x06;
        QTest::newRow("Cyrillic") << QStringLiteral("\u0416\u0443\u043a") << 0x14;
        QTest::newRow("emoji") << QStringLiteral("smile \U0001F600") << 0x14;
        QTest::newRow("undefined code-page bytes") << QStringLiteral("\u0081\u008d\u008f\u0090\u009d") << 0x06;
        QTest::newRow("noncharacters") << QStringLiteral("\uFFFF\uFDD0\U0010FFFF") << 0x14;
        // UTF-8 cannot hold a lone surrogate; a wide string keeps the text as it was.
        QTest::newRow("lone low surrogate") << u"a"_s + QChar(0xDFFA) + u"b"_s << 0x12;
        QTest::newRow("lone high surrogate at the end") << u"\u0416"_s + QChar(0xD83D) << 0x12;
        QTest::newRow("pair in the wrong order") << QString(QChar(0xDE00)) + QChar(0xD83D) << 0x12;
    }

    void stringLengthPicksTheTag()
    {
        QFETCH(QString, text);
        QFETCH(int, tag);
        TPagelette page;
        page.AddDefaultBlocks();
        page.Page.Items(3)->TextBlock.Text = text;
        const QByteArray bytes = bytesOf(page);
        const QByteArray name = QByteArray("\x0eTextBlock.Text");
        const qsizetype at = bytes.indexOf(name);
        QVERIFY(at > 0);
        QCOMPARE(int(quint8(bytes.at(at + name.size()))), tag);

        TPagelette loaded;
        QVERIFY(readBytes(bytes, loaded));
        QCOMPARE(loaded.Page.Items(3)->TextBlock.Text, text);
        QCOMPARE(bytes, Stream::write(PageToStream(page)));
    }

    void readerAcceptsWideStringsAnyOrderAndIndexedItems()
    {
        // Properties out of order, names in other case, a UTF-16 string and an item index.
        Bytes b;
        b.raw({0x54, 0x50, 0x46, 0x30}).str("TPagelette").raw({0x00});
        b.str("subject").raw({0x12, 0x02, 0x00, 0x00, 0x00, 0x16, 0x04, 0x41, 0x00});
        b.str("Page").raw({0x0E, 0x02, 0x07, 0x01});
        b.str("HRBlock.Width").raw({0x02, 0x32});
        b.str("blocktype").raw({0x07}).str("BTHR");
        b.raw({0x00, 0x00});
        b.str("AlphaSort").raw({0x09});
        b.raw({0x00, 0x00});
        TPagelette page;
        QString error;
        QVERIFY2(readBytes(b.data, page, &error), qPrintable(error));
        QCOMPARE(page.Subject, QStringLiteral("\u0416A"));
        QCOMPARE(page.Page.Count(), 1);
        QCOMPARE(page.Page.Items(0)->BlockType, quint8(btHR));
        QCOMPARE(page.Page.Items(0)->HRBlock.Width, 50);
        QVERIFY(page.AlphaSort);
    }

    void readerRejectsBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const auto start = [] {
            Bytes b;
            b.raw({0x54, 0x50, 0x46, 0x30}).str("TPagelette").raw({0x00});
            return b;
        };
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("wrong signature") << QByteArray("TPF1\x0aTPagelette\0\0\0", 17);
        QTest::newRow("foreign class") << Bytes().raw({0x54, 0x50, 0x46, 0x30}).str("TWebTheme").raw({0, 0, 0}).data;
        QTest::newRow("unknown property") << start().str("Colour").raw({0x06, 0x00, 0x00, 0x00}).data;
        QTest::newRow("unknown record field")
            << start().str("Page").raw({0x0E, 0x01}).str("HeadingBlock.Size").raw({0x02, 0, 0, 0, 0, 0}).data;
        QTest::newRow("string for Boolean") << start().str("Border").raw({0x06, 0x00, 0x00, 0x00}).data;
        QTest::newRow("integer for string") << start().str("Email").raw({0x02, 0x01, 0x00, 0x00}).data;
        QTest::newRow("unknown block type")
            << start().str("Page").raw({0x0E, 0x01}).str("BlockType").raw({0x07}).str("btTable").raw({0, 0, 0, 0}).data;
        QTest::newRow("ApplyFont out of range")
            << start().str("Page").raw({0x0E, 0x01}).str("TextBlock.ApplyFont").raw({0x03, 0, 1, 0, 0, 0, 0}).data;
        QTest::newRow("floating-point value") << start().str("Tag").raw({0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).data;
        QTest::newRow("huge string length")
            << start().str("Email").raw({0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 0x41}).data;
        QTest::newRow("huge wide string")
            << start().str("Email").raw({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x41}).data;
        QTest::newRow("child object") << start().raw({0x00}).str("TPagelette").raw({0x00, 0x00, 0x00}).data;
        QTest::newRow("collection item without list tag") << start().str("Page").raw({0x0E, 0x09, 0x00}).data;
        QByteArray deep = start().str("Page").raw({0x0E}).data;
        for (int i = 0; i < 100000; ++i)
            deep.append(Bytes().raw({0x01}).str("WebForm").raw({0x0E}).data);
        QTest::newRow("deep nesting") << deep;

        // A broken stream further on is reported before anything the page makes of the start.
        QTest::newRow("foreign class, cut short")
            << Bytes().raw({0x54, 0x50, 0x46, 0x30}).str("TWebTheme").raw({0x00}).str("Items").raw({0x0E, 0x01}).data;
        QTest::newRow("unknown property, then a bad tag")
            << start().str("Colour").raw({0x06, 0x00}).str("Border").raw({0x05}).data;
        QTest::newRow("collection for a string, cut short")
            << start().str("Email").raw({0x0E, 0x01}).str("X").raw({0x02, 0x01}).data;
        QTest::newRow("number in the strings of a field")
            << start().str("WebForm").raw({0x0E, 0x01}).str("Strings.Strings").raw({0x01, 0x06, 0x00, 0x02, 0x05, 0x00})
                   .raw({0x00, 0x00, 0x00, 0x00}).data;
        QTest::newRow("list for a field kind")
            << start().str("WebForm").raw({0x0E, 0x01}).str("FieldKind").raw({0x01, 0x00, 0x00, 0x00, 0x00, 0x00}).data;
        QTest::newRow("identifier for an integer")
            << start().str("Page").raw({0x0E, 0x01}).str("HRBlock.Size").raw({0x07}).str("x").raw({0, 0, 0, 0}).data;
        QTest::newRow("identifier for a Boolean")
            << start().str("Border").raw({0x07}).str("Yes").raw({0x00, 0x00}).data;
        QTest::newRow("negative ApplyFont")
            << start().str("Page").raw({0x0E, 0x01}).str("HeadingBlock.ApplyFont").raw({0x02, 0xFF, 0, 0, 0, 0}).data;
        QTest::newRow("Tag as a string") << start().str("Tag").raw({0x06, 0x01, '1', 0x00, 0x00}).data;
        QTest::newRow("a page in a block")
            << start().str("Page").raw({0x0E, 0x01}).str("Page").raw({0x0E, 0x00, 0x00, 0x00, 0x00, 0x00}).data;
    }

    void readerRejectsBrokenFiles()
    {
        QFETCH(QByteArray, bytes);
        TPagelette page = FullTestPage();
        QString error;
        QVERIFY(!readBytes(bytes, page, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(page == FullTestPage());

        // The reader through the stream object says the same.
        Stream::Object object;
        QString treeError;
        QVERIFY(!Stream::read(QByteArrayView(bytes), object, &treeError) || !PageFromStream(object, page, &treeError));
        QCOMPARE(error, treeError);
    }

    void everyTruncationIsRejected()
    {
        const QByteArray bytes = bytesOf(FullTestPage());
        for (qsizetype length = 0; length < bytes.size(); ++length) {
            TPagelette page;
            QVERIFY2(!readBytes(bytes.left(length), page), qPrintable(QString::number(length)));
        }
    }

    void failedWriteKeepsThePreviousFile_data()
    {
        QTest::addColumn<int>("textLength");
        QTest::newRow("written in one go") << 100000;
        QTest::newRow("held in the write buffer") << 2000;
        QTest::newRow("written in pieces") << 3000000;
    }

    void failedWriteKeepsThePreviousFile()
    {
        QFETCH(int, textLength);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.mbe"));
        TPagelette small;
        small.AddDefaultBlocks();
        QString error;
        QVERIFY(WriteDocument(path, small, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        // Let the disk "fill up" after a few hundred bytes.
        TPagelette big = FullTestPage();
        big.Page.Items(3)->TextBlock.Text = QString(textLength, u'x');
        bool written = true;
        {
            DiskFullGuard full(500);
            QVERIFY(full.active());
            written = WriteDocument(path, big, &error);
        }

        QVERIFY(!written);
        QVERIFY(error.contains(u"page.mbe"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("page.mbe")});
    }

    void loadReportsMissingFile()
    {
        QString error;
        QVERIFY(!LoadDocument(QStringLiteral("/nonexistent/x.mbe"), &error));
        QVERIFY(!error.isEmpty());
    }

    // Loading maps the file where it can; what is read and what is refused must not change.
    void loadReadsWhatTheReaderReads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size"); // grown with zero bytes up to this size
        QTest::addColumn<QString>("error");
        const QByteArray page = bytesOf(FullTestPage());
        QTest::newRow("page") << page << qint64(0) << QString();
        QTest::newRow("page with zero bytes after it") << page << qint64(page.size() + 5000) << QString();
        QTest::newRow("empty file") << QByteArray() << qint64(0)
                                    << QStringLiteral("the file does not start with the stream signature");
        QTest::newRow("cut short") << page.left(page.size() - 1) << qint64(0)
                                   << QStringLiteral("the file ends unexpectedly at byte %1").arg(page.size() - 1);
        QTest::newRow("over the size limit") << page << qint64(64 * 1024 * 1024 + 1)
                                             << QStringLiteral("the file is too large");
    }

    void loadReadsWhatTheReaderReads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.mbe"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        if (size > 0)
            QVERIFY(file.resize(size));
        file.close();

        QString reason;
        const std::unique_ptr<TPagelette> page = LoadDocument(path, &reason);
        QCOMPARE(reason, error);
        QCOMPARE(bool(page), error.isEmpty());
        if (page)
            QVERIFY(*page == FullTestPage());
    }

    void documentNaming_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("base");
        QTest::newRow("project") << "/p/BriskoFiles/My Page.mbe" << "/p/BriskoFiles/My Page.mbe" << "My Page";
        QTest::newRow("template") << "/p/Templates/Shop.mbt" << "Untitled" << "Shop";
        QTest::newRow("template in capitals") << "/p/Templates/Shop.MBT" << "/p/Templates/Shop.MBT" << "Shop";
        QTest::newRow("two dots") << "/p/a.b.mbt" << "Untitled" << "a.b";
        QTest::newRow("no extension") << "/p/Untitled" << "/p/Untitled" << "";
    }

    void documentNaming()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, base);
        QCOMPARE(DocumentNameAfterLoad(path), name);
        QCOMPARE(PageBaseName(path), base);
    }

    void saveWritesPreviewAndPublishedPages()
    {
        const SavedPagePaths paths =
            SavePagePaths(QStringLiteral("/opt/brisko/"), QStringLiteral("/home/me/My Page.mbe"));
        QCOMPARE(paths.previewPage, QStringLiteral("/opt/brisko/BriskoFiles/My Page.html"));
        QCOMPARE(paths.publishedPage, QStringLiteral("/opt/brisko/Upload/MyPage.html"));
        QCOMPARE(paths.publishedName, QStringLiteral("MyPage.html"));
        QCOMPARE(TemplatePreviewPath(QStringLiteral("/opt/brisko/"), QStringLiteral("/t/Shop Front.v2.mbt")),
                 QStringLiteral("/opt/brisko/Templates/Shop Front.v2.html"));
    }

    void newPageAndReset()
    {
        TPagelette page = FullTestPage();
        const TPagelette before = page;
        page.ResetContent(false);
        QVERIFY(page.Page == before.Page);
        QCOMPARE(page.WebForm.Count(), 0);
        QVERIFY(!page.AlphaSort && !page.Border && !page.EnvReport && !page.FormFooter);
        QVERIFY(page.Email.isEmpty() && page.Subject.isEmpty() && page.Redirect.isEmpty());
        QVERIFY(page.FormTitle.isEmpty() && page.Color.isEmpty());

        page.ResetContent(true);
        page.AddDefaultBlocks();
        QCOMPARE(page.Page.Count(), 4);
        const QList<quint8> types = {btPageProperties, btImage, btLink, btText};
        for (int i = 0; i < 4; ++i) {
            const TPageItem &item = *page.Page.Items(i);
            QCOMPARE(item.BlockType, types[i]);
            QCOMPARE(item.BlockAlign, quint8(i == 0 ? baNone : baLeft));
            QCOMPARE(item.BlockOnNewLine, i != 0);
        }
        QVERIFY(!page.Page.Items(4));
        QVERIFY(!page.InsertNewBlock(6, btHR));
    }

    void titleBar()
    {
        const QString title = QStringLiteral("Marlowen HTML Brisko 4.0");
        QCOMPARE(TitleBarText(QStringLiteral("Untitled"), title), QStringLiteral("Untitled - Marlowen HTML Brisko 4.0"));
        QCOMPARE(TitleBarText(QStringLiteral("/x/My Page.mbe"), title),
                 QStringLiteral("My Page.mbe - Marlowen HTML Brisko 4.0"));
    }
};

QTEST_GUILESS_MAIN(TestPageFile)
#include "test_pagefile.moc"
