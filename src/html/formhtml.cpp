#include "formhtml.h"

#include "markup.h"
#include "platform/settingsstore.h"
#include "platform/textutils.h"

#include <QStringBuilder>
#include <QUrl>

namespace {

// Only plain ASCII letters change case, whatever the locale.
void asciiLower(QString &s)
{
    for (QChar &c : s) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    }
}

// The name an input carries in the page: spaces become "_", letters lower case.
QString inputName(const QString &name)
{
    QString result = AttributeValue(name);
    ReplaceChar(result, u' ', u'_');
    asciiLower(result);
    return result;
}

// The value of a name=value line; the first line whose name matches in any case wins.
QStringView settingValue(const QStringList &strings, QStringView name)
{
    for (const QString &line : strings) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).first(eq).compare(name, Qt::CaseInsensitive) == 0)
            return QStringView(line).sliced(eq + 1);
    }
    return {};
}

QStringView typeName(TFieldKind kind)
{
    return kind < kFieldKindCount ? FieldKindNames[kind] : QStringView();
}

void appendHidden(QString &out, QStringView name, QStringView value)
{
    out += u"<INPUT TYPE=\"HIDDEN\" NAME=\"";
    out += name;
    out += u"\" VALUE=\"";
    Markup::appendAttributeValue(out, value);
    out += u"\">\r\n";
}

// Joins the chosen items with ","; the list never starts with a comma.
void appendListItem(QString &list, bool chosen, QStringView item)
{
    if (!chosen)
        return;
    if (!list.isEmpty())
        list += u',';
    list += item;
}

} // namespace

QString BuildChoiceInputs(const TFormElement &field)
{
    QString out = QStringLiteral("\r\n");
    const QString name = inputName(field.Name);
    for (const QString &line : field.Strings) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar < 0)
            continue;
        const QString rest = line.mid(bar + 1);
        const QString text = BeforeBar(rest);
        QString flag = AfterBar(rest);
        asciiLower(flag);
        out += u"<INPUT TYPE=\"";
        out += typeName(field.FieldKind);
        out += u"\" NAME=\"";
        // Each check box gets a name of its own; radio buttons share the field's.
        out += field.FieldKind == fkCheckBox ? inputName(field.Name + u'_' + text) : name;
        out += u"\" VALUE=\"";
        Markup::appendAttributeValue(out, QStringView(line).first(bar));
        out += u'"';
        if (flag == u"yes")
            out += u" CHECKED";
        out += u"> ";
        out += text;
        out += u"<BR>\r\n";
    }
    return out;
}

QString BuildOptionList(const TFormElement &field)
{
    QString out = QStringLiteral("\r\n<OPTION VALUE=\"\">Select\r\n<OPTION VALUE=\"\">----------\r\n");
    for (const QString &line : field.Strings) {
        out += u"<OPTION VALUE=\"";
        Markup::appendAttributeValue(out, BeforeBar(line));
        out += u"\">";
        out += AfterBar(line);
        out += u"\r\n";
    }
    return out;
}

QString BuildFieldRow(const TFormElement &field)
{
    const QString name = inputName(field.Name);
    QString control;
    switch (field.FieldKind) {
    case fkText:
        control = u"<INPUT NAME=\"" + name + u"\" VALUE=\"" + AttributeValue(field.Value) + u"\" SIZE=\""
            + AttributeValue(settingValue(field.Strings, u"Size").toString()) + u"\">";
        break;
    case fkTextArea:
        control = u"<TEXTAREA COLS=\"" + AttributeValue(settingValue(field.Strings, u"Cols").toString())
            + u"\" ROWS=\"" + AttributeValue(settingValue(field.Strings, u"Rows").toString()) + u"\" NAME=\"" + name
            + u"\" WRAP=\"VIRTUAL\"></TEXTAREA>";
        break;
    case fkRadio:
    case fkCheckBox:
        control = BuildChoiceInputs(field);
        break;
    case fkDropDown:
        control = u"<SELECT NAME=\"" + name + u"\">" + BuildOptionList(field) + u"</SELECT>";
        break;
    default: // buttons have no control of their own
        break;
    }
    const QString label = ReplaceAll(field.Text, QStringLiteral("<BR>"), QStringLiteral("\r\n"), 2);
    return u"<TR><TD WIDTH=30% VALIGN=TOP>" + label + u"</TD><TD WIDTH=70% VALIGN=TOP>" + control
        + u"</TD></TR>\r\n";
}

bool IsFormActionAddress(const QString &address)
{
    const bool http = address.startsWith(u"http://"), https = address.startsWith(u"https://");
    if (!http && !https)
        return false;
    for (const QChar c : address) {
        if (c.unicode() <= u' ' || c == u'"' || c == u'<' || c == u'>' || c.unicode() == 0x7F)
            return false;
    }
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty();
}

QString FormActionAddress(const QString &custom)
{
    if (IsFormActionAddress(custom))
        return custom;
    return u"http://" % kFormMailHost % u"/cgi-bin/FormMail.pl";
}

QString StoredFormAction()
{
    const QString stored = SettingsStore::instance().readString({}, kFormActionSetting.toString());
    return IsFormActionAddress(stored) ? stored : QString();
}

QString BuildFormHtml(const TPagelette &doc, const QString &action)
{
    QString out;
    out.reserve(1024);
    out += u"<FORM ACTION=\"";
    out += FormActionAddress(action);
    out += u"\" METHOD=\"POST\">\r\n";

    appendHidden(out, u"recipient", doc.Email);
    appendHidden(out, u"subject", doc.Subject);
    appendHidden(out, u"redirect", doc.Redirect);
    if (doc.AlphaSort)
        appendHidden(out, u"sort", u"alphabetic");
    if (doc.BlankFields)
        appendHidden(out, u"print_blank_fields", u"1");
    QString report;
    appendListItem(report, doc.BrowserUsed, u"HTTP_USER_AGENT");
    appendListItem(report, doc.HostName, u"REMOTE_HOST");
    appendListItem(report, doc.EnvReport, u"REMOTE_ADDR");
    if (!report.isEmpty())
        appendHidden(out, u"env_report", report);
    QString config;
    appendListItem(config, doc.EmailAddress, u"email");
    appendListItem(config, doc.EmailSubject, u"subject");
    if (!config.isEmpty())
        appendHidden(out, u"print_config", config);

    out += u"<TABLE CELLPADDING=2 WIDTH=100%";
    if (doc.Border)
        out += u" BORDER=1";
    out += u'>';
    if (!doc.FormTitle.isEmpty()) {
        out += u"\r\n<TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2><FONT SIZE=5><B>";
        out += doc.FormTitle;
        out += u"</B></FONT></TD></TR>";
    }
    out += u"\r\n";
    for (int i = 0; i < doc.WebForm.Count(); ++i)
        out += BuildFieldRow(*doc.WebForm.Items(i));
    out += u"<TR><TD COLSPAN=2><INPUT TYPE=\"SUBMIT\">&nbsp;&nbsp;<INPUT TYPE=\"RESET\"></TD></TR>";
    if (doc.FormFooter) {
        out += u"\r\n<TR><TD WIDTH=100% VALIGN=TOP COLSPAN=2><FONT SIZE=\"2\"><I>If you have any problems, "
               u"please send an e-mail to <a href=\"mailto:";
        Markup::appendAttributeValue(out, doc.Email);
        out += u"\">";
        out += doc.Email;
        out += u"</a>.</I></FONT></TD></TR>\r\n";
    }
    out += u"</TABLE></FORM>";
    return out;
}

QString FieldInputName(const QString &name)
{
    return inputName(name);
}
