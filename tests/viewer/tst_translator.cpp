#include "viewer/htmllexer.h"
#include "viewer/htmltranslator.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Translate::Control;

namespace {

Translate::Page translate(const QString &html)
{
    return Translate::translateHtml(html, Translate::Options());
}

} // namespace

class TestTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hiddenContentIsDropped_data();
    void hiddenContentIsDropped();
    void bodyAttributesBecomePageColours();
    void formControlsBecomePictures();
    void rulesKeepWidthSizeAndShade_data();
    void rulesKeepWidthSizeAndShade();
    void picturesAreNumberedOncePerSourceAndSize();
    void pictureNamingNoFileIsLeftOutWithoutSizeOrAlt_data();
    void pictureNamingNoFileIsLeftOutWithoutSizeOrAlt();
    void linksKeepTheirTargetsAsWritten();
    void breakAtEndOfBlockMakesNoEmptyLine_data();
    void breakAtEndOfBlockMakesNoEmptyLine();
    void listsBecomeMarkerTables();
    void listNumbers_data();
    void listNumbers();
    void fontSizes_data();
    void fontSizes();
    void colours_data();
    void colours();
    void references_data();
    void references();
    void contentAfterABlockStartsANewBlock_data();
    void contentAfterABlockStartsANewBlock();
    void onlyTheLastCheckedRadioOfAGroupIsChecked();
    void listsLeaveCentringToTheirTextAndEndParagraphs();
    void missingFontFamiliesFallBackToTheDefault_data();
    void missingFontFamiliesFallBackToTheDefault();
    void spanningCellsGiveNoColumnWidth();
    void emptyParagraphBeforeARuleKeepsItsSpace();
    void floatingPicturesKeepAGapOnTheirTextSide();
};

void TestTranslator::contentAfterABlockStartsANewBlock_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("expected");
    // The zero-width space makes Qt start a block; it must stand before what follows the block.
    const QString zwsp = u"&#8203;"_s;
    QTest::newRow("font after CR LF") << u"<CENTER>a</CENTER>\r\n<FONT SIZE=\"4\">b</FONT>"_s
                                      << u"</center>\n"_s + zwsp + u"<font"_s;
    QTest::newRow("bold after a lone CR") << u"<CENTER>a</CENTER>\r<B>b</B>"_s << u"</center>\n"_s + zwsp + u"<b>"_s;
    QTest::newRow("link") << u"<CENTER>a</CENTER>\r\n<A HREF=\"x\">b</A>"_s << u"</center>\n"_s + zwsp + u"<a "_s;
    QTest::newRow("picture after LF") << u"<CENTER>a</CENTER>\n<IMG SRC=\"x.gif\">"_s
                                      << u"</center>\n"_s + zwsp + u"<img "_s;
    QTest::newRow("plain text") << u"<P ALIGN=RIGHT>a</P>\r\nb"_s << u"</p>"_s + zwsp + u"\nb"_s;
    QTest::newRow("picture inside a block") << u"<CENTER>a<IMG SRC=\"x.gif\"></CENTER>"_s << u"a<img "_s;
    QTest::newRow("new block") << u"<CENTER>a</CENTER>\r\n<P>b"_s << u"</center>\n<p>b"_s;
}

void TestTranslator::contentAfterABlockStartsANewBlock()
{
    QFETCH(QString, html);
    QFETCH(QString, expected);
    const QString out = translate(html).html;
    QVERIFY2(out.contains(expected), qPrintable(out));
    QVERIFY(!out.contains(u'\r'));
}

void TestTranslator::onlyTheLastCheckedRadioOfAGroupIsChecked()
{
    const auto checked = [](const QString &html) {
        QList<bool> states;
        for (const Control &control : translate(html).controls)
            states.append(control.checked);
        return states;
    };
    const QString two = u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"s\" CHECKED> Small"
                        u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"l\" CHECKED> Large"_s;
    QCOMPARE(checked(two), (QList<bool>{false, true}));
    QCOMPARE(checked(u"<INPUT TYPE=radio NAME=a CHECKED><INPUT TYPE=radio NAME=b CHECKED>"
                     u"<INPUT TYPE=checkbox NAME=a CHECKED><INPUT TYPE=checkbox NAME=a CHECKED>"_s),
             (QList<bool>{true, true, true, true}));
    // Names are told apart by case, and each form has groups of its own.
    QCOMPARE(checked(u"<FORM><INPUT TYPE=radio NAME=a CHECKED><INPUT TYPE=radio NAME=A CHECKED></FORM>"
                     u"<FORM><INPUT TYPE=radio NAME=a CHECKED><INPUT TYPE=radio NAME=a></FORM>"_s),
             (QList<bool>{true, true, true, false}));
}

void TestTranslator::listsLeaveCentringToTheirTextAndEndParagraphs()
{
    const QString centred = translate(u"<CENTER><UL TYPE=\"CIRCLE\">\r\n   <LI>One\r\n</UL></CENTER>"_s).html;
    QVERIFY2(centred.contains(u"<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" width=\"100%\""_s),
             qPrintable(centred));
    QVERIFY(centred.contains(u"<td valign=\"top\" align=\"center\">One"_s));
    QVERIFY(!centred.contains(u"table border=\"0\" cellspacing=\"0\" cellpadding=\"0\" align"_s));

    // The list ends the paragraph; the paragraph's own end then ends nothing.
    const QString right =
        translate(u"<P ALIGN=\"RIGHT\"><OL TYPE=\"A\">\r\n   <LI>One\r\n</OL></P><P>\r\nText</P>"_s).html;
    QVERIFY2(right.contains(u"<p align=\"RIGHT\"></p><table"_s), qPrintable(right));
    QVERIFY2(right.contains(u"</table></p>\n"_s) == false, qPrintable(right));
    QCOMPARE(right.count(u"</p>"_s), 2);
}

void TestTranslator::missingFontFamiliesFallBackToTheDefault_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("expected");
    QTest::newRow("present") << u"Arial"_s << u"<font face=\"Arial\">"_s;
    QTest::newRow("missing") << u"Impact"_s << u"<font>"_s;
    QTest::newRow("first present of a list") << u"Comic Sans MS, 'Arial', Verdana"_s << u"<font face=\"Arial\">"_s;
    QTest::newRow("none present") << u"Impact, Wingdings"_s << u"<font>"_s;
}

void TestTranslator::missingFontFamiliesFallBackToTheDefault()
{
    QFETCH(QString, face);
    QFETCH(QString, expected);
    Translate::Options options;
    options.familyAvailable = [](const QString &family) { return family == u"Arial" || family == u"Verdana"; };
    const QString html = u"<FONT FACE=\""_s + face + u"\">x</FONT>"_s;
    const QString out = Translate::translateHtml(html, options).html;
    QVERIFY2(out.contains(expected + u"x</font>"_s), qPrintable(out));
}

void TestTranslator::spanningCellsGiveNoColumnWidth()
{
    const QString out = translate(u"<TABLE WIDTH=100%><TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2>Title</TD></TR>"
                                  u"<TR><TD WIDTH=30% VALIGN=TOP>a</TD><TD WIDTH=70% VALIGN=TOP>b</TD></TR></TABLE>"_s)
                            .html;
    QVERIFY2(out.contains(u"<td valign=\"TOP\" colspan=\"2\">Title"_s), qPrintable(out));
    QVERIFY(out.contains(u"<td width=\"30%\" valign=\"TOP\">a"_s));
    QVERIFY(out.contains(u"<td width=\"70%\" valign=\"TOP\">b"_s));
}

void TestTranslator::emptyParagraphBeforeARuleKeepsItsSpace()
{
    const Translate::Page page = translate(u"a<P>\r\n<HR><P>\r\n<CENTER><HR></CENTER>\r\n<HR><P>b<HR>"_s);
    QCOMPARE(page.rules.size(), 4);
    QCOMPARE(page.rules[0].spaceAbove, 16);
    QCOMPARE(page.rules[1].spaceAbove, 16);
    QCOMPARE(page.rules[2].spaceAbove, 0);
    QCOMPARE(page.rules[3].spaceAbove, 0);
}

void TestTranslator::floatingPicturesKeepAGapOnTheirTextSide()
{
    const Translate::Page page = translate(u"<IMG SRC=\"a.gif\" WIDTH=\"150\" HEIGHT=\"100\" ALIGN=\"LEFT\">"
                                           u"<IMG SRC=\"a.gif\" WIDTH=\"150\" HEIGHT=\"100\" ALIGN=\"RIGHT\">"
                                           u"<IMG SRC=\"a.gif\" WIDTH=\"150\" HEIGHT=\"100\">"_s);
    QCOMPARE(page.pictures.size(), 3);
    QCOMPARE(page.pictures[0].gapRight, Translate::kFloatGap);
    QCOMPARE(page.pictures[1].gapLeft, Translate::kFloatGap);
    QCOMPARE(page.pictures[2].gapLeft + page.pictures[2].gapRight, 0);
    QVERIFY(page.html.contains(u"width=\"153\" height=\"100\" align=\"left\""_s));
    QVERIFY(page.html.contains(u"width=\"150\" height=\"100\">"_s));
}

void TestTranslator::hiddenContentIsDropped_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("script") << u"a<script language=\"JavaScript\">\n<!--\ndocument.write('x<b>y</b>');\n//-->\n"
                               u"</SCRIPT>b"_s
                            << u"document.write"_s;
    QTest::newRow("style") << u"a<STYLE type=\"text/css\"><!-- A:link {text-decoration: none;} --></style>b"_s
                           << u"text-decoration"_s;
    QTest::newRow("comment") << u"a<!-- Created with Marlowen HTML Brisko 4.0 -->b"_s << u"Created"_s;
    QTest::newRow("title") << u"<HEAD><TITLE>My Page</TITLE></HEAD>ab"_s << u"My Page"_s;
    QTest::newRow("meta") << u"<META NAME=\"keywords\" CONTENT=\"books\">ab"_s << u"books"_s;
    QTest::newRow("hidden input") << u"a<INPUT TYPE=\"HIDDEN\" NAME=\"recipient\" VALUE=\"me@x\">b"_s << u"me@x"_s;
    QTest::newRow("unclosed script") << u"ab<script>never shown"_s << u"never"_s;
}

void TestTranslator::hiddenContentIsDropped()
{
    QFETCH(QString, html);
    QFETCH(QString, hidden);
    const Translate::Page page = translate(html);
    QVERIFY2(!page.html.contains(hidden), qPrintable(page.html));
    QVERIFY2(page.html.contains(u"<body>ab</body>"_s), qPrintable(page.html));
    QVERIFY(page.controls.isEmpty());
}

void TestTranslator::bodyAttributesBecomePageColours()
{
    const Translate::Page page =
        translate(u"<TITLE> My  Page </TITLE><BODY BGCOLOR=\"#FFFFCC\" TEXT=\"000080\" LINK=\"green\" BACKGROUND=\" "
                  u"C:\\a b.gif \">"
                  u"<A HREF=\"x.html\">x</A><A NAME=\"top\">y</A></BODY><BODY BGCOLOR=\"#000000\" TEXT=\"#FFFFFF\">"_s);
    QCOMPARE(page.title, u"My Page"_s);
    QCOMPARE(page.background, QColor(0xFF, 0xFF, 0xCC));
    QCOMPARE(page.text, QColor(0x00, 0x00, 0x80));
    QCOMPARE(page.link, QColor(0x00, 0x80, 0x00));
    QCOMPARE(page.backgroundPicture, u"C:\\a b.gif"_s);
    // Qt would copy a BODY background onto every table cell; the viewer draws it instead.
    QVERIFY(!page.html.contains(u"background"_s, Qt::CaseInsensitive));
    QVERIFY(page.html.contains(u"body{color:#000080}"_s));
    // Only links take the link colour, not named anchors.
    QVERIFY(page.html.contains(u".link{color:#008000}"_s));
    QVERIFY(page.html.contains(u"<a name=\"top\">"_s));
}

void TestTranslator::formControlsBecomePictures()
{
    const Translate::Page page = translate(
        u"<FORM ACTION=\"http://h/cgi-bin/FormMail.pl\" METHOD=\"POST\">"
        u"<INPUT NAME=\"your_name\" VALUE=\"Al &amp; Bo\" SIZE=\"30\">"
        u"<INPUT NAME=\"plain\"><SELECT NAME=\"colour\">\r\n<OPTION VALUE=\"\">Select\r\n"
        u"<OPTION VALUE=\"r\">Red &amp;\r\n  Pink\r\n</SELECT>"
        u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"l\" CHECKED> Large<BR>"
        u"<INPUT TYPE=\"CheckBox\" NAME=\"x\" VALUE=\"w\"> Wrap"
        u"<TEXTAREA COLS=\"40\" ROWS=\"6\" NAME=\"c\" WRAP=\"VIRTUAL\">\r\nHi <b></TEXTAREA>"
        u"<INPUT TYPE=\"SUBMIT\">&nbsp;&nbsp;<INPUT TYPE=\"RESET\"><INPUT TYPE=\"button\" VALUE=\"Go\"></FORM>"_s);
    const QList<Control> &c = page.controls;
    QCOMPARE(c.size(), 9);
    QCOMPARE(c[0].kind, Control::TextBox);
    QCOMPARE(c[0].text, u"Al & Bo"_s);
    QCOMPARE(c[0].columns, 30);
    QCOMPARE(c[1].columns, 20);
    QCOMPARE(c[2].kind, Control::DropDown);
    QCOMPARE(c[2].options, QStringList({u"Select"_s, u"Red & Pink"_s}));
    QCOMPARE(c[2].current, 0);
    QCOMPARE(c[3].kind, Control::Radio);
    QVERIFY(c[3].checked);
    QCOMPARE(c[4].kind, Control::CheckBox);
    QVERIFY(!c[4].checked);
    QCOMPARE(c[5].kind, Control::TextArea);
    QCOMPARE(c[5].text, u"Hi <b>"_s);
    QCOMPARE(c[5].columns, 40);
    QCOMPARE(c[5].rows, 6);
    QCOMPARE(c[6].text, u"Submit"_s);
    QCOMPARE(c[7].text, u"Reset"_s);
    QCOMPARE(c[8].text, u"Go"_s);
    for (int i = 0; i < c.size(); ++i)
        QVERIFY(page.html.contains(u"<img src=\"brisko-control:%1\""_s.arg(i)));
    QVERIFY(!page.html.contains(u"Red"_s));
    QVERIFY(page.html.contains(u" Large"_s));
}

void TestTranslator::rulesKeepWidthSizeAndShade_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("noShade");
    QTest::newRow("percent") << u"<HR WIDTH=\"50%\" SIZE=\"9\" NOSHADE>"_s << 50 << true << 9 << true;
    QTest::newRow("pixels") << u"<hr width=200 size=6>"_s << 200 << false << 6 << false;
    QTest::newRow("plain") << u"<HR>"_s << 100 << true << 2 << false;
    QTest::newRow("nonsense") << u"<HR WIDTH=\"\" SIZE=\"x\">"_s << 100 << true << 2 << false;
}

void TestTranslator::rulesKeepWidthSizeAndShade()
{
    QFETCH(QString, html);
    const Translate::Page page = translate(u"a"_s + html + u"<IMG SRC=\"p.gif\">b"_s);
    QCOMPARE(page.rules.size(), 1);
    QFETCH(int, width);
    QCOMPARE(page.rules[0].width, width);
    QFETCH(bool, percent);
    QCOMPARE(page.rules[0].percent, percent);
    QFETCH(int, size);
    QCOMPARE(page.rules[0].size, size);
    QFETCH(bool, noShade);
    QCOMPARE(page.rules[0].noShade, noShade);
    QVERIFY(page.html.contains(u"<hr width=\"1\">"_s));
}

void TestTranslator::picturesAreNumberedOncePerSourceAndSize()
{
    const Translate::Page page = translate(
        u"<IMG SRC=\"a.gif\" HEIGHT=\"40\" WIDTH=\"120\" ALIGN=\"LEFT\"><IMG SRC=\"a.gif\" HEIGHT=\"40\" WIDTH=\"120\">"
        u"<IMG SRC=\"a.gif\" BORDER=0 ALT=\"A\" HEIGHT=\"\" WIDTH=\"\" ALIGN=\"ABSMIDDLE\"><INPUT TYPE=\"image\" SRC=\"b.gif\">"_s);
    // A floating picture keeps a gap beside it, so it is a picture of its own.
    QCOMPARE(page.pictures.size(), 4);
    QCOMPARE(page.pictures[0].width, 120);
    QCOMPARE(page.pictures[0].height, 40);
    QCOMPARE(page.pictures[1].width, 120);
    QCOMPARE(page.pictures[2].width, -1);
    QCOMPARE(page.pictures[2].alt, u"A"_s);
    QCOMPARE(page.pictures[3].source, u"b.gif"_s);
    QVERIFY(page.html.contains(u"<img src=\"brisko-picture:0\" width=\"123\" height=\"40\" align=\"left\">"_s));
    QVERIFY(page.html.contains(u"<img src=\"brisko-picture:1\" width=\"120\" height=\"40\">"_s));
    QVERIFY(page.html.contains(u"<img src=\"brisko-picture:2\" align=\"middle\">"_s));
}

void TestTranslator::pictureNamingNoFileIsLeftOutWithoutSizeOrAlt_data()
{
    QTest::addColumn<QString>("img");
    QTest::addColumn<bool>("kept");
    // The image block without a picture, in the three ways the generator addresses pictures.
    QTest::newRow("preview folder") << u"<IMG SRC=\"/opt/Brisko/Upload\\images\\\" BORDER=0 ALT=\"\" HEIGHT=\"\" "
                                       u"WIDTH=\"\">"_s
                                    << false;
    QTest::newRow("relative folder") << u"<IMG SRC=\"../Upload/Images/\" BORDER=0 ALT=\"\" HEIGHT=\"\" WIDTH=\"\">"_s
                                     << false;
    QTest::newRow("upload, empty") << u"<IMG SRC=\"\" BORDER=0 ALT=\"\" HEIGHT=\"\" WIDTH=\"\" ALIGN=\"LEFT\">"_s
                                   << false;
    QTest::newRow("no source") << u"<IMG BORDER=0>"_s << false;
    QTest::newRow("escaped separator") << u"<IMG SRC=\" images%2F \">"_s << false;
    QTest::newRow("one side only") << u"<IMG SRC=\"\" ALT=\" \" WIDTH=\"90\">"_s << false;
    // What the page gives such a picture, its room or its words, stays.
    QTest::newRow("sized") << u"<IMG SRC=\"../Upload/Images/\" HEIGHT=\"30\" WIDTH=\"90\">"_s << true;
    QTest::newRow("alt text") << u"<IMG SRC=\"\" ALT=\"Map\">"_s << true;
    // A named picture is kept whether or not its file exists.
    QTest::newRow("named") << u"<IMG SRC=\"../Upload/Images/map.gif\" BORDER=0 ALT=\"\" HEIGHT=\"\" WIDTH=\"\">"_s
                           << true;
}

void TestTranslator::pictureNamingNoFileIsLeftOutWithoutSizeOrAlt()
{
    QFETCH(QString, img);
    QFETCH(bool, kept);
    // Inside a list, where a picture left out must not open an item row of its own either.
    const Translate::Page page = translate(u"a"_s + img + u"b<UL><LI>c</LI>"_s + img + u"</UL>"_s);
    QCOMPARE(page.pictures.size(), kept ? 1 : 0);
    QCOMPARE(page.html.contains(Translate::kPictureScheme), kept);
    if (!kept) {
        QVERIFY2(page.html.contains(u">ab<"_s), qPrintable(page.html));
        QCOMPARE(page.html.count(u"<tr>"_s), 1);
    }
}

void TestTranslator::linksKeepTheirTargetsAsWritten()
{
    const Translate::Page page =
        translate(u"<A HREF=\"mailto:a@b.example\">a</A><a href='page.html?x=1&amp;y=2'>b</a><A HREF=\"#top\">c</A>"_s);
    QCOMPARE(page.links, QStringList({u"mailto:a@b.example"_s, u"page.html?x=1&y=2"_s, u"#top"_s}));
    QVERIFY(page.html.contains(u"<a href=\"brisko-link:2\" class=\"link\">c</a>"_s));
}

void TestTranslator::breakAtEndOfBlockMakesNoEmptyLine_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("breaks");
    QTest::newRow("end of cell") << u"<TD><INPUT TYPE=\"Radio\"> Small<BR>\r\n</TD></TR>"_s << 0;
    QTest::newRow("inline end between") << u"<FONT><B>Hello<BR></B></FONT><P>"_s << 0;
    QTest::newRow("two at end") << u"Hello<BR><BR></TD>"_s << 1;
    QTest::newRow("between lines") << u"Hello\r\n<BR><BR>\r\nworld"_s << 2;
    QTest::newRow("end of page") << u"Hello<BR>"_s << 0;
}

void TestTranslator::breakAtEndOfBlockMakesNoEmptyLine()
{
    QFETCH(QString, html);
    QFETCH(int, breaks);
    QCOMPARE(translate(html).html.count(u"<br>"_s), breaks);
}

void TestTranslator::listsBecomeMarkerTables()
{
    const Translate::Page page =
        translate(u"<OL TYPE=\"I\">\r\n   <LI>One\r\n   <LI>Two\r\n<UL><LI>Inner</UL></OL><P><UL TYPE=\"SQUARE\"></UL>"
                  u"<TABLE><TR><TD><UL><LI>Unclosed</TD></TR></TABLE>"_s);
    for (const QString &marker : {u">I.&nbsp;<"_s, u">II.&nbsp;<"_s, u">&#8226;&nbsp;<"_s})
        QVERIFY2(page.html.contains(marker), qPrintable(marker));
    // A list inside a list is Qt's own, so that tables do not nest with the lists.
    QVERIFY(page.html.contains(u"<ul type=\"circle\" style=\"margin-top:0px;margin-bottom:0px\"><li>Inner</ul>"
                               u"</td></tr></table>"_s));
    // An empty list leaves nothing behind; a list left open in a cell ends with the cell.
    QCOMPARE(page.html.count(u"<table"_s), page.html.count(u"</table>"_s));
    QCOMPARE(page.html.count(u"<table"_s), 3);
    QVERIFY(page.html.contains(u"Unclosed</td></tr></table></td></tr></table>"_s));
}

void TestTranslator::listNumbers_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("marker");
    QTest::newRow("number") << 12 << u"1"_s << u"12"_s;
    QTest::newRow("upper letter") << 2 << u"A"_s << u"B"_s;
    QTest::newRow("letters past z") << 28 << u"a"_s << u"ab"_s;
    QTest::newRow("upper roman") << 4 << u"I"_s << u"IV"_s;
    QTest::newRow("lower roman") << 1994 << u"i"_s << u"mcmxciv"_s;
    QTest::newRow("roman too large") << 4000 << u"I"_s << u"4000"_s;
    QTest::newRow("zero") << 0 << u"I"_s << u"0"_s;
}

void TestTranslator::listNumbers()
{
    QFETCH(int, n);
    QFETCH(QString, type);
    QFETCH(QString, marker);
    QCOMPARE(Translate::listNumber(n, type.at(0)), marker);
}

void TestTranslator::fontSizes_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("base");
    QTest::addColumn<double>("points");
    QTest::newRow("1") << u"1"_s << 12 << 8.0;
    QTest::newRow("3 is the base") << u"3"_s << 12 << 12.0;
    QTest::newRow("7") << u"7"_s << 12 << 36.0;
    QTest::newRow("relative") << u"+1"_s << 12 << 14.0;
    QTest::newRow("below 1") << u"-5"_s << 12 << 8.0;
    QTest::newRow("nonsense") << u"big"_s << 12 << 12.0;
    QTest::newRow("scaled base") << u"4"_s << 6 << 7.0;
}

void TestTranslator::fontSizes()
{
    QFETCH(QString, size);
    QFETCH(int, base);
    QFETCH(double, points);
    QCOMPARE(Translate::fontSizePoints(size, base), points);
}

void TestTranslator::colours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("hash") << u"#FF8000"_s << QColor(255, 128, 0);
    QTest::newRow("without hash") << u" ff8000 "_s << QColor(255, 128, 0);
    QTest::newRow("name") << u"Purple"_s << QColor(128, 0, 128);
    QTest::newRow("short") << u"#F80"_s << QColor();
    QTest::newRow("nonsense") << u"#GG0000"_s << QColor();
}

void TestTranslator::colours()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCOMPARE(Translate::parseColor(text), colour);
}

void TestTranslator::references_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("named") << u"Caf&eacute; &amp; &lt;b&gt;"_s << u"Café & <b>"_s;
    QTest::newRow("no semicolon") << u"a&nbspb"_s << u"a\u00A0b"_s;
    QTest::newRow("numeric") << u"&#65;&#x42;"_s << u"AB"_s;
    QTest::newRow("windows-1252 range") << u"&#150;&#128;"_s << u"\u2013\u20AC"_s;
    QTest::newRow("unknown") << u"AT&T &bogus;"_s << u"AT&T &bogus;"_s;
}

void TestTranslator::references()
{
    QFETCH(QString, text);
    QFETCH(QString, decoded);
    QCOMPARE(Html::decodeReferences(text), decoded);
}

QTEST_GUILESS_MAIN(TestTranslator)
#include "tst_translator.moc"
