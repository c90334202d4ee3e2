#include "html/formhtml.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void addField(TPagelette &doc, TFieldKind kind, const QString &name, const QStringList &strings, const QString &text)
{
    doc.WebForm.Add() = TFormElement{kind, name, strings, text, {}};
}

const QString kFormStart = u"<FORM ACTION=\"http://forms.marlowen.example/cgi-bin/FormMail.pl\" METHOD=\"POST\">\r\n"_s;
const QString kSubmit =
    u"<TR><TD COLSPAN=2><INPUT TYPE=\"SUBMIT\">&nbsp;&nbsp;<INPUT TYPE=\"RESET\"></TD></TR>"_s;

QString hidden(const QString &name, const QString &value)
{
    return u"<INPUT TYPE=\"HIDDEN\" NAME=\""_s + name + u"\" VALUE=\""_s + value + u"\">\r\n"_s;
}

} // namespace

class TestFormHtml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void optionsGiveHiddenFieldsBorderAndFooter_data();
    void optionsGiveHiddenFieldsBorderAndFooter();
    void choiceInputs();
    void quotesInHiddenValuesAreEscaped();
    void fieldRows_data();
    void fieldRows();
    void formActionAddress_data();
    void formActionAddress();
};

void TestFormHtml::workedExample()
{
    TPagelette doc;
    doc.Email = u"A"_s;
    doc.Subject = u"Feedback"_s;
    doc.FormTitle = u"Contact"_s;
    addField(doc, fkText, u"Your Name"_s, {u"Size=30"_s}, u"Name:"_s);
    addField(doc, fkDropDown, u"Colour"_s, {u"r|Red"_s, u"g|Green"_s}, u"Favourite\r\ncolour"_s);
    QCOMPARE(BuildFormHtml(doc),
             kFormStart + hidden(u"recipient"_s, u"A"_s) + hidden(u"subject"_s, u"Feedback"_s)
                 + hidden(u"redirect"_s, QString())
                 + u"<TABLE CELLPADDING=2 WIDTH=100%>\r\n"
                   u"<TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2><FONT SIZE=5><B>Contact</B></FONT></TD></TR>\r\n"
                   u"<TR><TD WIDTH=30% VALIGN=TOP>Name:</TD><TD WIDTH=70% VALIGN=TOP><INPUT NAME=\"your_name\" "
                   u"VALUE=\"\" SIZE=\"30\"></TD></TR>\r\n"
                   u"<TR><TD WIDTH=30% VALIGN=TOP>Favourite<BR>colour</TD><TD WIDTH=70% VALIGN=TOP><SELECT "
                   u"NAME=\"colour\">\r\n<OPTION VALUE=\"\">Select\r\n<OPTION VALUE=\"\">----------\r\n"
                   u"<OPTION VALUE=\"r\">Red\r\n<OPTION VALUE=\"g\">Green\r\n</SELECT></TD></TR>\r\n"_s
                 + kSubmit + u"</TABLE></FORM>"_s);
}

void TestFormHtml::optionsGiveHiddenFieldsBorderAndFooter_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("extra");
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("sort and blanks") << u"AlphaSort BlankFields"_s
                                     << hidden(u"sort"_s, u"alphabetic"_s) + hidden(u"print_blank_fields"_s, u"1"_s);
    QTest::newRow("host and address") << u"HostName EnvReport"_s
                                      << hidden(u"env_report"_s, u"REMOTE_HOST,REMOTE_ADDR"_s);
    QTest::newRow("address alone") << u"EnvReport"_s << hidden(u"env_report"_s, u"REMOTE_ADDR"_s);
    QTest::newRow("all reports") << u"BrowserUsed HostName EnvReport"_s
                                 << hidden(u"env_report"_s, u"HTTP_USER_AGENT,REMOTE_HOST,REMOTE_ADDR"_s);
    QTest::newRow("subject alone") << u"EmailSubject"_s << hidden(u"print_config"_s, u"subject"_s);
    QTest::newRow("address and subject") << u"EmailAddress EmailSubject"_s
                                         << hidden(u"print_config"_s, u"email,subject"_s);
}

void TestFormHtml::optionsGiveHiddenFieldsBorderAndFooter()
{
    QFETCH(QString, options);
    QFETCH(QString, extra);
    TPagelette doc;
    doc.Subject = u"100% \"sure\" %1"_s;
    doc.AlphaSort = options.contains(u"AlphaSort");
    doc.BlankFields = options.contains(u"BlankFields");
    doc.BrowserUsed = options.contains(u"BrowserUsed");
    doc.HostName = options.contains(u"HostName");
    doc.EnvReport = options.contains(u"EnvReport");
    doc.EmailAddress = options.contains(u"EmailAddress");
    doc.EmailSubject = options.contains(u"EmailSubject");
    doc.Border = doc.FormFooter = true; // with an empty address the footer's link is empty
    addField(doc, fkButton, u"b"_s, {}, u"Go"_s);
    QCOMPARE(BuildFormHtml(doc),
             kFormStart + hidden(u"recipient"_s, QString()) + hidden(u"subject"_s, u"100% &quot;sure&quot; %1"_s)
                 + hidden(u"redirect"_s, QString()) + extra
                 + u"<TABLE CELLPADDING=2 WIDTH=100% BORDER=1>\r\n"
                   u"<TR><TD WIDTH=30% VALIGN=TOP>Go</TD><TD WIDTH=70% VALIGN=TOP></TD></TR>\r\n"_s
                 + kSubmit
                 + u"\r\n<TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2><FONT SIZE=\"2\"><I>If you have any problems, please "
                   u"send an e-mail to <a href=\"mailto:\"></a>.</I></FONT></TD></TR>\r\n</TABLE></FORM>"_s);
}

void TestFormHtml::choiceInputs()
{
    const TFormElement radio{fkRadio, u"Size"_s, {u"s|Small|no"_s, u"l|Large|Yes"_s}, {}, {}};
    QCOMPARE(BuildChoiceInputs(radio), u"\r\n<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"s\"> Small<BR>\r\n"
                                       u"<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"l\" CHECKED> Large<BR>\r\n"_s);
    const TFormElement extras{fkCheckBox, u"Extras"_s, {u"w|Gift wrap|yes"_s}, {}, {}};
    QCOMPARE(BuildChoiceInputs(extras),
             u"\r\n<INPUT TYPE=\"CheckBox\" NAME=\"extras_gift_wrap\" VALUE=\"w\" CHECKED> Gift wrap<BR>\r\n"_s);

    // Only "yes" in any case checks; a line without "|" is skipped; one "|" leaves the text empty.
    const TFormElement flags{
        fkCheckBox, u"First Name"_s, {u"r|Red|YES"_s, u"b|Blue|y"_s, u"g|Green|true"_s, u"none"_s, u"m|Male"_s}, {}, {}};
    QCOMPARE(BuildChoiceInputs(flags),
             u"\r\n<INPUT TYPE=\"CheckBox\" NAME=\"first_name_red\" VALUE=\"r\" CHECKED> Red<BR>\r\n"
             u"<INPUT TYPE=\"CheckBox\" NAME=\"first_name_blue\" VALUE=\"b\"> Blue<BR>\r\n"
             u"<INPUT TYPE=\"CheckBox\" NAME=\"first_name_green\" VALUE=\"g\"> Green<BR>\r\n"
             u"<INPUT TYPE=\"CheckBox\" NAME=\"first_name_\" VALUE=\"m\"> <BR>\r\n"_s);
}

void TestFormHtml::quotesInHiddenValuesAreEscaped()
{
    TPagelette doc;
    doc.Email = u"a\"b@example.com"_s;
    doc.Subject = u"The \"best\" > rest"_s;
    doc.Redirect = u"thanks.html?\""_s;
    doc.FormFooter = true;
    addField(doc, fkButton, u"Go"_s, {}, u"Go"_s);
    const QString form = BuildFormHtml(doc);
    QVERIFY(form.startsWith(kFormStart + hidden(u"recipient"_s, u"a&quot;b@example.com"_s)
                            + hidden(u"subject"_s, u"The &quot;best&quot; > rest"_s)
                            + hidden(u"redirect"_s, u"thanks.html?&quot;"_s)));
    QVERIFY(form.contains(u"<a href=\"mailto:a&quot;b@example.com\">a\"b@example.com</a>"_s));
}

void TestFormHtml::fieldRows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("strings");
    QTest::addColumn<QString>("control");
    QTest::newRow("size in any case, first wins")
        << int(fkText) << u"First Name"_s << QStringList{u"Maxlength=100"_s, u"SIZE=20"_s, u"Size=30"_s}
        << u"<INPUT NAME=\"first_name\" VALUE=\"v%1\" SIZE=\"20\">"_s;
    QTest::newRow("no size, only ASCII lowered") << int(fkText) << u"Ä B"_s << QStringList{u"Size"_s}
                                                 << u"<INPUT NAME=\"Ä_b\" VALUE=\"v%1\" SIZE=\"\">"_s;
    QTest::newRow("text area") << int(fkTextArea) << u"Note"_s << QStringList{u"rows=5"_s, u"Cols=40"_s}
                               << u"<TEXTAREA COLS=\"40\" ROWS=\"5\" NAME=\"note\" WRAP=\"VIRTUAL\"></TEXTAREA>"_s;
    QTest::newRow("quotes in name and size")
        << int(fkText) << u"Say \"Hi\""_s << QStringList{u"Size=3\"0"_s}
        << u"<INPUT NAME=\"say_&quot;hi&quot;\" VALUE=\"v%1\" SIZE=\"3&quot;0\">"_s;
    QTest::newRow("quotes in option values")
        << int(fkDropDown) << u"D"_s << QStringList{u"a\"b|A \"b\""_s}
        << u"<SELECT NAME=\"d\">\r\n<OPTION VALUE=\"\">Select\r\n<OPTION VALUE=\"\">----------\r\n"
           u"<OPTION VALUE=\"a&quot;b\">A \"b\"\r\n</SELECT>"_s;
    QTest::newRow("quotes in choice values")
        << int(fkRadio) << u"R"_s << QStringList{u"\"x\"|Say \"x\"|yes"_s}
        << u"\r\n<INPUT TYPE=\"Radio\" NAME=\"r\" VALUE=\"&quot;x&quot;\" CHECKED> Say \"x\"<BR>\r\n"_s;
    QTest::newRow("option without bar")
        << int(fkDropDown) << u"D"_s << QStringList{u"plain"_s}
        << u"<SELECT NAME=\"d\">\r\n<OPTION VALUE=\"\">Select\r\n<OPTION VALUE=\"\">----------\r\n"
           u"<OPTION VALUE=\"\">plain\r\n</SELECT>"_s;
}

void TestFormHtml::fieldRows()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QStringList, strings);
    QFETCH(QString, control);
    const TFormElement field{TFieldKind(kind), name, strings, u"a\r\nb\nc"_s, u"v%1"_s};
    QCOMPARE(BuildFieldRow(field), u"<TR><TD WIDTH=30% VALIGN=TOP>a<BR>b\nc</TD><TD WIDTH=70% VALIGN=TOP>"_s
                                       + control + u"</TD></TR>\r\n"_s);
}

// The user's own form-to-mail address replaces the built-in one only when it is a web address
// that cannot break out of the attribute.
void TestFormHtml::formActionAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("taken");
    QTest::newRow("none") << QString() << false;
    QTest::newRow("http") << u"http://mail.example.org/cgi-bin/FormMail.pl"_s << true;
    QTest::newRow("https with port") << u"https://mail.example.org:8443/send?x=1"_s << true;
    QTest::newRow("ftp") << u"ftp://mail.example.org/send"_s << false;
    QTest::newRow("upper-case scheme") << u"HTTP://mail.example.org/"_s << false;
    QTest::newRow("no host") << u"http:///send"_s << false;
    QTest::newRow("quote") << u"http://mail.example.org/\" onsubmit=\"x"_s << false;
    QTest::newRow("blank") << u"http://mail.example.org/a b"_s << false;
    QTest::newRow("tag end") << u"http://mail.example.org/>"_s << false;
}

void TestFormHtml::formActionAddress()
{
    QFETCH(QString, address);
    QFETCH(bool, taken);
    QCOMPARE(IsFormActionAddress(address), taken);
    TPagelette doc;
    const QString start = BuildFormHtml(doc, address).section(u"\r\n"_s, 0, 0) + u"\r\n"_s;
    if (taken)
        QCOMPARE(start, u"<FORM ACTION=\""_s + address + u"\" METHOD=\"POST\">\r\n"_s);
    else
        QCOMPARE(start, kFormStart); // byte for byte the built-in address
}

QTEST_GUILESS_MAIN(TestFormHtml)
#include "tst_formhtml.moc"
