#include "html/markup.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TFontSpec)

class TestMarkup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colorTexts_data();
    void colorTexts();
    void fontDescriptionsRoundTrip_data();
    void fontDescriptionsRoundTrip();
    void textMarkup_data();
    void textMarkup();
    void convertLines_data();
    void convertLines();
};

void TestMarkup::colorTexts_data()
{
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("red") << 255 << u"#FF0000"_s << u"clRed"_s;
    QTest::newRow("blue") << 16711680 << u"#0000FF"_s << u"clBlue"_s;
    QTest::newRow("system colour") << int(0x80000008u) << u"#080000"_s << u"clWindowText"_s;
    QTest::newRow("last system colour") << int(0x80000018u) << u"#180000"_s << u"clInfoBk"_s;
    QTest::newRow("clNone") << 0x1FFFFFFF << u"#FFFFFF"_s << u"clNone"_s;
    QTest::newRow("no-colour marker") << kNoFontColor << u"#000005"_s << u"$00050000"_s;
    QTest::newRow("unnamed") << RGBColor(0x12, 0xAB, 0x0C) << u"#12AB0C"_s << u"$000CAB12"_s;
}

void TestMarkup::colorTexts()
{
    QFETCH(int, color);
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(ColorToHtml(color), html);
    QCOMPARE(ColorToString(color), text);
    QCOMPARE(StringToColor(text), std::optional<TColor>(color));
    QCOMPARE(StringToColor(text.toUpper()), std::optional<TColor>(color));
    QString error;
    QVERIFY(!StringToColor(text + u'x', &error));
    QCOMPARE(error, u"'"_s + text + u"x' is not a valid integer value"_s);
}

void TestMarkup::fontDescriptionsRoundTrip_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<TFontSpec>("font");
    QTest::addColumn<QString>("error");
    QTest::newRow("default") << kDefaultFontDescription << TFontSpec() << QString();
    QTest::newRow("bold underline red") << u"\"Arial\", 10, [Bold|Underline], [clRed]"_s
                                        << TFontSpec{u"Arial"_s, 10, true, false, true, 255} << QString();
    QTest::newRow("all styles") << u"\"Comic Sans MS\", 36, [Bold|Italic|Underline], [$0012AB0C]"_s
                                << TFontSpec{u"Comic Sans MS"_s, 36, true, true, true, 0x12AB0C} << QString();
    QTest::newRow("size not a number") << u"\"Arial\", x, [], [clRed]"_s << TFontSpec()
                                       << u"'x' is not a valid integer value"_s;
    QTest::newRow("unknown colour") << u"\"Arial\", 10, [], [clPink]"_s << TFontSpec()
                                    << u"'clPink' is not a valid integer value"_s;
    QTest::newRow("no commas") << u"Arial"_s << TFontSpec() << u"'' is not a valid integer value"_s;
}

void TestMarkup::fontDescriptionsRoundTrip()
{
    QFETCH(QString, description);
    QFETCH(TFontSpec, font);
    QFETCH(QString, error);
    TFontSpec read;
    read.Face = u"before"_s;
    if (!error.isEmpty())
        read = font; // a failed read leaves the font as it was
    QString message;
    QCOMPARE(DescriptionToFont(description, read, &message), error.isEmpty());
    QCOMPARE(message, error);
    QCOMPARE(read, font);
    if (error.isEmpty())
        QCOMPARE(FontToDescription(font), description);
}

void TestMarkup::textMarkup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("flag");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("error");
    const QString def = kDefaultFontDescription;
    const auto font = [](const QString &size, const QString &color) -> QString {
        return u"\"A\", "_s + size + u", [], ["_s + color + u']';
    };
    QTest::newRow("flag 0 default") << u"Hello"_s << def << 0 << u"Hello"_s << QString();
    QTest::newRow("flag 1 default, no colour")
        << u"Hello"_s << def << 1 << u"<FONT FACE=\"Times New Roman\" SIZE=\"3\">Hello</FONT>"_s << QString();
    QTest::newRow("worked example") << u"Hello"_s << u"\"Arial\", 14, [Bold], [clRed]"_s << 1
                                    << u"<FONT FACE=\"Arial\" SIZE=\"4\" COLOR=\"#FF0000\"><B>Hello</B></FONT>"_s
                                    << QString();
    QTest::newRow("styles without font") << u"x"_s << u"\"A\", big, [Bold|Italic|Underline], [?]"_s << 0
                                         << u"<B><I><U>x</U></I></B>"_s << QString();
    QTest::newRow("style word in face") << u"x"_s << u"\"Arial Bold\", 12, [], []"_s << 0 << u"<B>x</B>"_s
                                        << QString();
    QTest::newRow("size 8") << u"x"_s << font(u"8"_s, u"$50000"_s) << 1 << u"<FONT FACE=\"A\" SIZE=\"1\">x</FONT>"_s
                            << QString();
    QTest::newRow("size 20") << u"x"_s << font(u"20"_s, u"$50000"_s) << 1
                             << u"<FONT FACE=\"A\" SIZE=\"7\">x</FONT>"_s << QString();
    QTest::newRow("size 11 as written") << u"x"_s << font(u"011"_s, u"327680"_s) << 1
                                        << u"<FONT FACE=\"A\" SIZE=\"011\">x</FONT>"_s << QString();
    QTest::newRow("colour before first > of face") << u"x"_s << u"\"A>B\", 24, [], [clRed]"_s << 1
                                                   << u"<FONT FACE=\"A COLOR=\"#FF0000\">B\" SIZE=\"24\">x</FONT>"_s
                                                   << QString();
    QTest::newRow("percent unchanged") << u"100% %1"_s << font(u"10"_s, u"clBlue"_s) << 1
                                       << u"<FONT FACE=\"A\" SIZE=\"2\" COLOR=\"#0000FF\">100% %1</FONT>"_s
                                       << QString();
    QTest::newRow("other flag") << u"x"_s << def << 2 << QString() << QString();
    QTest::newRow("bad size") << u"x"_s << font(u"big"_s, u"red"_s) << 1 << QString()
                              << u"'big' is not a valid integer value"_s;
    QTest::newRow("bad colour") << u"x"_s << font(u"12"_s, u"red"_s) << 1 << QString()
                                << u"'red' is not a valid integer value"_s;
    QTest::newRow("malformed") << u"x"_s << u","_s << 1 << QString() << u"'' is not a valid integer value"_s;
}

void TestMarkup::textMarkup()
{
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(int, flag);
    QFETCH(QString, expected);
    QFETCH(QString, error);
    QString message;
    QCOMPARE(ApplyTextMarkup(text, description, quint8(flag), &message), expected);
    QCOMPARE(message, error);
}

void TestMarkup::convertLines_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << int(lkParagraph) << QString() << QString();
    QTest::newRow("paragraph gap") << int(lkParagraph) << u"a\r\n\r\nb"_s << u"a\r\n<BR><BR>\r\nb\r\n"_s;
    QTest::newRow("two empty lines") << int(lkParagraph) << u"\r\n\r\n"_s << u"<BR><BR>\r\n<BR><BR>\r\n"_s;
    QTest::newRow("lone breaks") << int(lkParagraph) << u"a\rb\nc\r"_s << u"a\r\nb\r\nc\r\n"_s;
    QTest::newRow("list items") << int(lkListItems) << u"One\nx\n\nTwo"_s << u"   <LI>One\r\nx\r\n\r\n   <LI>Two\r\n"_s;
    QTest::newRow("meta tags") << int(lkMetaTags) << u"keywords\tshop, books\r\nrobots\r\nx\r\na\tb\tc"_s
                               << u"<META NAME=\"keywords\" CONTENT=\"shop, books\">\r\n<META NAME=\"\" CONTENT=\"robots\">"
                                  u"\r\nx\r\n<META NAME=\"a\" CONTENT=\"b\tc\">\r\n"_s;
    QTest::newRow("drop-box options") << int(lkDropBoxOptions) << u"a.html\tPage A\r\n\r\nz"_s
                                      << u"document.write('<option value=\"a.html\">Page A');\r\n\r\n"
                                         u"document.write('<option value=\"\">');\r\n\r\n"
                                         u"document.write('<option value=\"\">z');\r\n\r\n"_s;
    // Only what would end the script string or the attribute is escaped.
    QTest::newRow("drop-box texts that end strings")
        << int(lkDropBoxOptions) << u"bob.html\tBob's page\r\nx\r\n€\r\nq\"\\\"a.html\tC:\\ </script> </B>"_s
        << u"document.write('<option value=\"bob.html\">Bob\\'s page');\r\n\r\n"
           u"document.write('<option value=\"\">x');\r\n\r\n"
           u"document.write('<option value=\"\">€');\r\n\r\n"
           u"document.write('<option value=\"q&quot;\\\\&quot;a.html\">C:\\\\ <\\/script> <\\/B>');\r\n\r\n"_s;
    QTest::newRow("meta texts with quotes") << int(lkMetaTags) << u"descr\"iption\tA \"quoted\" > text's"_s
                                            << u"<META NAME=\"descr&quot;iption\" CONTENT=\"A &quot;quoted&quot; > "
                                               u"text's\">\r\n"_s;
    QTest::newRow("unknown kind") << 9 << u"a\n"_s << u"a\r\n"_s;
}

void TestMarkup::convertLines()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ConvertLines(text, quint8(kind)), expected);
}

QTEST_GUILESS_MAIN(TestMarkup)
#include "tst_markup.moc"
