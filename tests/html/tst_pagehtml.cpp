#include "html/pagehtml.h"
#include "platform/textutils.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TPageItem)

namespace {

const QString kHead = u"<!-- Created with Marlowen HTML Brisko 4.0 -->\r\n<!-- http://www.marlowen.example/ -->\r\n"
                      u"<HTML>\r\n<HEAD>\r\n"_s;
const QString kBody = u"<BODY BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" ALINK=\"#FF0000\" VLINK=\"#990099\">\r\n"_s;
const QString kLogo = u"<CENTER><FONT SIZE=\"1\" FACE=\"VERDANA, ARIAL\"><A HREF=\"http://www.marlowen.example/\"><IMG "
                      u"SRC=\"http://www.marlowen.example/images/brisko-banner.gif\" BORDER=0 ALT=\"Marlowen HTML Brisko "
                      u"4.0\"><BR><BR>\r\nCreated with Marlowen HTML Brisko 4.0</A></FONT></CENTER>\r\n"_s;
const QString kEnd = u"</BODY></HTML>\r\n"_s;

QString tableStart(const QString &margin, int content)
{
    return u"<TABLE WIDTH=\"600\" BORDER=\"0\" CELLPADDING=\"0\" CELLSPACING=\"0\">\r\n<TR><TD WIDTH=\""_s + margin
        + u"\">&nbsp;</TD>\r\n<TD VALIGN=\"TOP\" WIDTH=\""_s + QString::number(content) + u"\">\r\n"_s;
}

// A new page's details block and nothing else.
TPagelette detailsOnly()
{
    TPagelette doc;
    doc.AddDefaultBlocks();
    while (doc.Page.Count() > 1)
        doc.Page.Delete(1);
    return doc;
}

TPageItem block(TBlockType type, TBlockAlignment align = baLeft, bool newLine = true)
{
    TPagelette scratch;
    TPageItem item = *scratch.InsertNewBlock(0, type);
    item.BlockAlign = align;
    item.BlockOnNewLine = newLine;
    return item;
}

// The page as a file holds it; a line that still holds a break shows as a marker.
QString page(const TPagelette &doc, quint8 mode = pmUpload, bool logo = false)
{
    QString error;
    const QStringList lines = BuildPageHtml(doc, mode, logo, u"/opt/brisko/"_s, &error);
    for (const QString &line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            return u"<line with a break>"_s;
    }
    return error.isEmpty() ? Text::joinLines(lines) : error;
}

// What stands between the BODY line and the page end.
QString body(const TPagelette &doc, quint8 mode = pmUpload, bool logo = false)
{
    const QString text = page(doc, mode, logo);
    const qsizetype start = text.indexOf(u"\r\n", text.indexOf(u"<BODY")) + 2;
    return text.endsWith(kEnd) ? text.mid(start, text.size() - kEnd.size() - start) : text;
}

} // namespace

class TestPageHtml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample_data();
    void workedExample();
    void blockTexts_data();
    void blockTexts();
    void dropBoxesShareOneFunctionScript();
    void headOptionsAndBackgrounds();
    void pictureNamesKeepTheirMeaningInAddresses_data();
    void pictureNamesKeepTheirMeaningInAddresses();
    void indentMargins_data();
    void indentMargins();
    void emptyDocumentsAndErrors();
};

void TestPageHtml::workedExample_data()
{
    QTest::addColumn<QString>("margin");
    QTest::addColumn<bool>("logo");
    QTest::addColumn<QString>("body");
    const QString blocks = u"<CENTER>Welcome</CENTER><P>\r\nHello\r\n<BR><BR>\r\nworld\r\n<P>\r\n"_s;
    const QString tableEnd = u"\r\n</TD></TR></TABLE>\r\n"_s;
    QTest::newRow("plain") << u"0"_s << false << blocks;
    QTest::newRow("indent") << u"50"_s << false << tableStart(u"50"_s, 550) + blocks + tableEnd;
    QTest::newRow("logo") << u"0"_s << true << blocks + kLogo;
    QTest::newRow("indent and logo") << u"50"_s << true
                                     << tableStart(u"50"_s, 550) + blocks + u"\r\n"_s + kLogo + u"</TD></TR></TABLE>\r\n"_s;
}

void TestPageHtml::workedExample()
{
    QFETCH(QString, margin);
    QFETCH(bool, logo);
    QFETCH(QString, body);
    TPagelette doc = detailsOnly();
    TPagePropertiesBlock &d = doc.Page.Items(0)->PagePropertiesBlock;
    d.PageTitle = u"My Page"_s;
    d.IndentMargin = margin;
    doc.InsertNewBlock(1, btHeading)->HeadingBlock.Heading = u"Welcome"_s;
    doc.Page.Items(1)->BlockAlign = baCenter;
    doc.InsertNewBlock(2, btText)->TextBlock.Text = u"Hello\r\n\r\nworld"_s;
    QCOMPARE(page(doc, pmUpload, logo), kHead + u"     <TITLE>My Page</TITLE>\r\n</HEAD>\r\n\r\n"_s + kBody + body + kEnd);
    QCOMPARE(PageThemeName(doc), u"Default"_s);
}

void TestPageHtml::blockTexts_data()
{
    QTest::addColumn<TPageItem>("item");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");

    TPageItem item = block(btHeading, baCenter);
    item.HeadingBlock = {u"Welcome"_s, u"\"Arial\", 14, [Bold], [clRed]"_s, 1};
    QTest::newRow("heading") << item << int(pmUpload)
                             << u"<CENTER><FONT FACE=\"Arial\" SIZE=\"4\" COLOR=\"#FF0000\"><B>Welcome</B></FONT>"
                                u"</CENTER><P>"_s;
    item = block(btImage);
    item.ImageBlock = {u"logo.gif"_s, u"40"_s, u"120"_s, u"LEFT"_s, u"Logo"_s, u"index.html"_s, {}};
    QTest::newRow("image") << item << int(pmRelative)
                           << u"<A HREF=\"index.html\"><IMG SRC=\"../Upload/Images/logo.gif\" BORDER=0 ALT=\"Logo\" "
                              u"HEIGHT=\"40\" WIDTH=\"120\" ALIGN=\"LEFT\"></A><P>"_s;
    item = block(btBullet);
    item.BulletBlock = {u"One\r\nTwo"_s, lsNum};
    QTest::newRow("bullet list") << item << int(pmUpload) << u"<OL TYPE=\"1\">\r\n   <LI>One\r\n   <LI>Two\r\n</OL><P>"_s;
    item = block(btHR);
    item.HRBlock = {50, 2, true};
    QTest::newRow("line") << item << int(pmUpload) << u"<HR WIDTH=\"50%\" SIZE=\"9\" NOSHADE><P>"_s;

    item = block(btImage, baNone, false);
    item.ImageBlock.FileName = u"a b.gif"_s;
    QTest::newRow("preview path, empty sizes")
        << item << int(pmPreview)
        << u"<IMG SRC=\"/opt/brisko/Upload\\images\\a b.gif\" BORDER=0 ALT=\"\" HEIGHT=\"\" WIDTH=\"\">"_s;
    item.ImageBlock.Alt = u"a>b"_s;
    item.ImageBlock.Align = u"TOP"_s;
    QTest::newRow("alt with >") << item << int(pmUpload)
                                << u"<IMG SRC=\"a b.gif\" BORDER=0 ALT=\"a>b\" HEIGHT=\"\" WIDTH=\"\" ALIGN=\"TOP\">"_s;
    item.ImageBlock.ImageLink = u"x.html"_s;
    QTest::newRow("unknown path mode") << item << 3 << u"<A HREF=\"x.html\"> ALIGN=\"TOP\"</A>"_s;

    item = block(btImage, baNone, false);
    item.ImageBlock = {u"a\"b.gif"_s, u"4\"0"_s, u"1\"2"_s, u"LEFT"_s, u"A \"quoted\" > alt"_s, u"x.html?\"y\""_s, {}};
    QTest::newRow("quotes in image values")
        << item << int(pmUpload)
        << u"<A HREF=\"x.html?&quot;y&quot;\"><IMG SRC=\"a&quot;b.gif\" BORDER=0 ALT=\"A &quot;quoted&quot; > alt\" "
           u"HEIGHT=\"4&quot;0\" WIDTH=\"1&quot;2\" ALIGN=\"LEFT\"></A>"_s;
    item = block(btLink, baNone, false);
    item.LinkBlock.LinkURL = u"say \"hi\".html"_s;
    item.LinkBlock.LinkText = u"\"hi\""_s;
    QTest::newRow("quotes in a link address")
        << item << int(pmUpload) << u"<A HREF=\"say &quot;hi&quot;.html\">\"hi\"</A>"_s;

    item = block(btLink, baRight);
    item.LinkBlock = {u"me@example.com"_s, u"100% %1"_s, {}, true, {}, true};
    QTest::newRow("mail link, drop box without entries")
        << item << int(pmUpload) << u"<P ALIGN=\"RIGHT\"><A HREF=\"mailto:me@example.com\">100% %1</A></P><P>"_s;
    item.LinkBlock.LinkURL = u"mailto:me"_s;
    QTest::newRow("second mailto") << item << int(pmUpload)
                                   << u"<P ALIGN=\"RIGHT\"><A HREF=\"mailto:mailto:me\">100% %1</A></P><P>"_s;
    item = block(btText, baRight);
    item.TextBlock.Text = u"a"_s;
    QTest::newRow("right paragraph") << item << int(pmUpload) << u"<P ALIGN=\"RIGHT\">a\r\n</P><P>"_s;
    item = block(btHR, baLeft, false);
    item.HRBlock.Size = 6;
    QTest::newRow("unknown thickness") << item << int(pmUpload) << QString();
    item.HRBlock.NoShade = true;
    QTest::newRow("unknown thickness, no shade") << item << int(pmUpload) << u" NOSHADE"_s;
    item = block(btBullet);
    item.BulletBlock = {u"ab\nc"_s, 8};
    QTest::newRow("unknown list style") << item << int(pmUpload) << u"   <LI>ab\r\nc\r\n<P>"_s;
    QTest::newRow("form without fields") << block(btForms) << int(pmUpload) << u"<P>"_s;
    QTest::newRow("details block among blocks") << block(btPageProperties) << int(pmUpload) << QString();

    // Heading text is not converted, so its own breaks reach the line list as they are.
    item = block(btHeading, baNone, false);
    item.HeadingBlock.Heading = u"a\r"_s;
    QTest::newRow("ends in lone CR") << item << int(pmUpload) << u"a\r\n"_s;
    item.HeadingBlock.Heading = u"\nb\r\n\rc"_s;
    QTest::newRow("starts with LF") << item << int(pmUpload) << u"\r\nb\r\n\r\nc"_s;
}

void TestPageHtml::blockTexts()
{
    QFETCH(TPageItem, item);
    QFETCH(int, mode);
    QFETCH(QString, text);
    TPagelette doc = detailsOnly();
    doc.Page.Add() = item;
    QCOMPARE(body(doc, quint8(mode)), text + u"\r\n"_s);
    doc.Page.Items(0)->PagePropertiesBlock.IndentMargin = u"10"_s;
    QCOMPARE(body(doc, quint8(mode)), tableStart(u"10"_s, 590) + text + u"\r\n\r\n</TD></TR></TABLE>\r\n"_s);
}

void TestPageHtml::dropBoxesShareOneFunctionScript()
{
    TPagelette doc = detailsOnly();
    TPagePropertiesBlock &d = doc.Page.Items(0)->PagePropertiesBlock;
    d.MetaText = u"a\tb"_s;
    d.Underline = true;
    TPageItem link = block(btLink);
    link.LinkBlock.UseDropBox = true;
    link.LinkBlock.DropBoxText = u"a.html\tPage A\r\nb.html\tPage B\r\n"_s;
    for (const TPageItem &item : {block(btHR), link, block(btHR), block(btHR), link})
        doc.Page.Add() = item;

    QVERIFY(page(doc).startsWith(
        kHead + u"     <TITLE></TITLE>\r\n<META NAME=\"a\" CONTENT=\"b\">\r\n<script language=\"JavaScript\">\r\n<!--\r\n"
                u"// Brisko drop box: go to the chosen page\r\n\tfunction go(doc){\r\n"
                u"\tif (doc.options[doc.selectedIndex].value != \"none\") {\r\n"
                u"\t\tlocation = doc.options[doc.selectedIndex].value;\r\n\t\t}\r\n\t}\r\n//-->\r\n</script>\r\n"
                u"<style type=\"text/css\">\r\n"_s));
    const auto box = [](const QString &n) -> QString {
        return u"<script language=\"JavaScript\">\r\n<!--\r\ndocument.write('<form name=\"selecter"_s + n
            + u"\"><select name=\"select\" size=1>');\r\ndocument.write('<option value=none>Select your destination');"
              u"\r\ndocument.write('<option value=none>--------------------');\r\n"
              u"document.write('<option value=\"a.html\">Page A');\r\n\r\n"
              u"document.write('<option value=\"b.html\">Page B');\r\n\r\ndocument.write('</select>');\r\n"
              u"document.write('&nbsp;<INPUT TYPE=\"button\" VALUE=\"Go\" onclick=\"go(document.selecter"_s
            + n + u".select)\">');\r\ndocument.write('</form>');\r\n//-->\r\n</script>\r\n<P>\r\n"_s;
    };
    const QString line = u"<HR WIDTH=\"100%\" SIZE=\"3\"><P>\r\n"_s;
    QCOMPARE(body(doc), line + box(u"2"_s) + line + line + box(u"5"_s));
}

void TestPageHtml::headOptionsAndBackgrounds()
{
    TPagelette doc = detailsOnly();
    TPagePropertiesBlock &d = doc.Page.Items(0)->PagePropertiesBlock;
    d.PageTitle = u"50% %1\noff"_s;
    d.MetaText = u"robots"_s;
    d.Underline = true;
    d.Background = u"sky.gif"_s;
    d.BGColor = RGBColor(1, 2, 3);
    const QString head = kHead + u"     <TITLE>50% %1\r\noff</TITLE>\r\n<META NAME=\"\" CONTENT=\"robots\">\r\n"
                                 u"<style type=\"text/css\">\r\n<!-- A:link {text-decoration: none;}\r\n"
                                 u"     A:visited {text-decoration: none;} -->\r\n</style>\r\n</HEAD>\r\n\r\n"
                                 u"<BODY BGCOLOR=\"#010203\" TEXT=\"#000000\" LINK=\"#0000FF\" ALINK=\"#FF0000\" "
                                 u"VLINK=\"#990099\""_s;
    QCOMPARE(page(doc, pmPreview), head + u" BACKGROUND=\"/opt/brisko/Upload\\backgrounds\\sky.gif\">\r\n"_s + kEnd);
    QCOMPARE(page(doc, pmRelative), head + u" BACKGROUND=\"../Upload/Backgrounds/sky.gif\">\r\n"_s + kEnd);
    QCOMPARE(page(doc, pmUpload), head + u" BACKGROUND=\"sky.gif\">\r\n"_s + kEnd);
    QCOMPARE(page(doc, 3), head + u">\r\n"_s + kEnd);
}

void TestPageHtml::pictureNamesKeepTheirMeaningInAddresses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("background");
    QTest::newRow("hash") << u"ha#sh.gif"_s << int(pmUpload) << u"ha%23sh.gif"_s << u"ha%23sh.gif"_s;
    QTest::newRow("question mark") << u"que?.gif"_s << int(pmRelative) << u"../Upload/Images/que%3F.gif"_s
                                   << u"../Upload/Backgrounds/que%3F.gif"_s;
    QTest::newRow("percent") << u"50%.gif"_s << int(pmPreview) << u"/opt/brisko/Upload\\images\\50%25.gif"_s
                             << u"/opt/brisko/Upload\\backgrounds\\50%25.gif"_s;
    QTest::newRow("an escape already") << u"a%41.gif"_s << int(pmUpload) << u"a%2541.gif"_s << u"a%2541.gif"_s;
    QTest::newRow("quote, space and letters")
        << u"a \"b\" é.gif"_s << int(pmUpload) << u"a &quot;b&quot; é.gif"_s << u"a &quot;b&quot; é.gif"_s;
}

void TestPageHtml::pictureNamesKeepTheirMeaningInAddresses()
{
    QFETCH(QString, name);
    QFETCH(int, mode);
    QFETCH(QString, image);
    QFETCH(QString, background);
    TPagelette doc = detailsOnly();
    doc.Page.Items(0)->PagePropertiesBlock.Background = name;
    TImageBlock &block = doc.InsertNewBlock(1, btImage)->ImageBlock;
    block.FileName = name;
    // What the user typed as a link means what they meant: its "?" and "#" stay.
    block.ImageLink = u"shop.html?item=50%#top"_s;
    const QString html = page(doc, quint8(mode));
    QVERIFY2(html.contains(u" BACKGROUND=\""_s + background + u"\">"_s), qPrintable(html));
    QVERIFY2(html.contains(u"<A HREF=\"shop.html?item=50%#top\"><IMG SRC=\""_s + image + u"\" BORDER=0"_s),
             qPrintable(html));
}

void TestPageHtml::indentMargins_data()
{
    QTest::addColumn<QString>("margin");
    QTest::addColumn<int>("content");
    QTest::newRow("two zeros") << u"00"_s << 600;
    QTest::newRow("space zero") << u" 0"_s << 600;
    QTest::newRow("negative") << u"-50"_s << 650;
    QTest::newRow("hex") << u"$10"_s << 584;
    QTest::newRow("smallest wraps") << u"-2147483648"_s << -2147483048;
}

void TestPageHtml::indentMargins()
{
    QFETCH(QString, margin);
    QFETCH(int, content);
    TPagelette doc = detailsOnly();
    doc.Page.Items(0)->PagePropertiesBlock.IndentMargin = margin;
    QCOMPARE(body(doc), tableStart(margin, content) + u"\r\n</TD></TR></TABLE>\r\n"_s);
}

void TestPageHtml::emptyDocumentsAndErrors()
{
    QString error;
    QVERIFY(BuildPageHtml(TPagelette(), pmUpload, true, QString(), &error).isEmpty());
    QVERIFY(error.isEmpty());
    QVERIFY(PageThemeName(TPagelette()).isEmpty());
    QCOMPARE(page(detailsOnly()), kHead + u"     <TITLE></TITLE>\r\n</HEAD>\r\n\r\n"_s + kBody + kEnd);

    TPagelette doc = detailsOnly();
    TPagePropertiesBlock &d = doc.Page.Items(0)->PagePropertiesBlock;
    d.IndentMargin = u"1 5"_s;
    QVERIFY(BuildPageHtml(doc, pmUpload, false, QString(), &error).isEmpty());
    QCOMPARE(error, u"'1 5' is not a valid integer value"_s);
    // A block's error comes first: the blocks are generated before the margin is used.
    TPageItem heading = block(btHeading);
    heading.HeadingBlock = {u"x"_s, u"\"Arial\", 1.5, [], [clRed]"_s, 1};
    doc.Page.Add() = heading;
    QVERIFY(BuildPageHtml(doc, pmUpload, false, QString(), &error).isEmpty());
    QCOMPARE(error, u"'1.5' is not a valid integer value"_s);
}

QTEST_GUILESS_MAIN(TestPageHtml)
#include "tst_pagehtml.moc"
