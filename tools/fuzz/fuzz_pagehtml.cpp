// libFuzzer target: the page generator fed a fuzzed page. No value the user typed may leave the
// double-quoted attribute or the script string it is written into. Text that the page shows as
// typed may hold markup of the user's own, so the check keeps tags out of it; then the page with
// the fuzzed values must have the same tags, attributes and script code as the same page with
// every quote, backslash and angle bracket of every value turned into "_".
#include "fuzzsupport.h"

#include "document/pagefile.h"
#include "html/pagehtml.h"
#include "platform/cp1252.h"

#include <QStringList>

namespace {

// ---- The two pages -------------------------------------------------------------------------

QString neutral(QString text)
{
    for (QChar &c : text) {
        if (c == u'"' || c == u'\'' || c == u'\\' || c == u'<' || c == u'>')
            c = u'_';
    }
    return text;
}

// Shown text without anything that could start a tag, a comment or an end tag.
QString noTags(QString text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const char16_t next = text.at(i + 1).unicode();
        const bool letter = (next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z');
        if (text.at(i) == u'<' && (letter || next == u'/' || next == u'!' || next == u'?'))
            text[i] = u'_';
    }
    return text;
}

enum class Pass { Fuzzed, Neutral };

struct Fields
{
    Pass pass;

    // A value written into an attribute or a script string.
    void value(QString &s) const
    {
        if (pass == Pass::Neutral)
            s = neutral(s);
    }
    // Text the page shows as typed.
    void shown(QString &s) const { s = pass == Pass::Neutral ? neutral(s) : noTags(s); }
    // Text the program itself makes, such as font descriptions: never a user's value.
    void made(QString &s) const { s = neutral(s); }
    // A line whose part after the first separator is shown text and the part before it a value.
    void split(QString &line, QChar separator) const
    {
        const qsizetype at = line.indexOf(separator);
        QString before = at < 0 ? QString() : line.first(at);
        QString after = at < 0 ? line : line.sliced(at + 1);
        value(before);
        shown(after);
        line = at < 0 ? after : before + separator + after;
    }
    // The same for each line of text, broken at CR LF, CR or LF as the generator breaks it.
    void splitLines(QString &text, QChar separator) const
    {
        QString result;
        qsizetype start = 0;
        while (start <= text.size()) {
            qsizetype end = start;
            while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
                ++end;
            QString line = text.sliced(start, end - start);
            split(line, separator);
            result += line;
            if (end < text.size())
                result += text[end];
            start = end + 1;
        }
        text = result;
    }
};

void prepare(TPagelette &doc, Pass pass)
{
    const Fields f{pass};
    for (int i = 0; i < doc.Page.Count(); ++i) {
        TPageItem &item = *doc.Page.Items(i);
        TPagePropertiesBlock &d = item.PagePropertiesBlock;
        f.shown(d.PageTitle);
        f.value(d.Background);
        f.value(d.MetaText);
        f.value(d.IndentMargin);
        f.shown(item.HeadingBlock.Heading);
        f.made(item.HeadingBlock.Attributes);
        f.value(item.LinkBlock.LinkURL);
        f.shown(item.LinkBlock.LinkText);
        f.splitLines(item.LinkBlock.DropBoxText, u'\t');
        TImageBlock &image = item.ImageBlock;
        for (QString *s : {&image.FileName, &image.Height, &image.Width, &image.Align, &image.Alt, &image.ImageLink})
            f.value(*s);
        f.shown(item.TextBlock.Text);
        f.made(item.TextBlock.Attributes);
        f.shown(item.BulletBlock.Bullets);
    }
    f.shown(doc.FormTitle);
    f.shown(doc.Email); // also the text of the footer's link
    f.value(doc.Redirect);
    f.value(doc.Subject);
    for (int i = 0; i < doc.WebForm.Count(); ++i) {
        TFormElement &field = *doc.WebForm.Items(i);
        f.value(field.Name);
        f.value(field.Value);
        f.shown(field.Text);
        for (QString &line : field.Strings)
            f.split(line, u'|');
    }
}

// ---- Reading the generated page --------------------------------------------------------------

// Reads markup as a browser splits it and records its shape: each tag with its attribute names,
// the code of each script without its strings, and the shape of what the scripts write. Fails on
// a quoted value or a script string that does not end.
class ShapeReader
{
public:
    bool read(QStringView html, QStringList &shape)
    {
        qsizetype i = 0;
        while ((i = html.indexOf(u'<', i)) >= 0) {
            const QStringView rest = html.sliced(i);
            if (rest.startsWith(u"<!--")) {
                const qsizetype end = html.indexOf(u"-->", i + 4);
                i = end < 0 ? html.size() : end + 3;
            } else if (rest.size() > 1 &&
                       (isLetter(rest[1]) || (rest[1] == u'/' && rest.size() > 2 && isLetter(rest[2])))) {
                QString name;
                if (!readTag(html, i, name, shape))
                    return false;
                if (name == u"script" || name == u"style" || name == u"title" || name == u"textarea") {
                    const qsizetype end = html.indexOf(QString(u"</" + name), i, Qt::CaseInsensitive);
                    const QStringView content = html.sliced(i, (end < 0 ? html.size() : end) - i);
                    if (name == u"script" && !readScript(content, shape))
                        return false;
                    i = end < 0 ? html.size() : end;
                }
            } else {
                ++i;
            }
        }
        return true;
    }

private:
    static bool isLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
    static bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

    // The tag at html[i]; i ends past its ">". name is empty for an end tag.
    static bool readTag(QStringView html, qsizetype &i, QString &name, QStringList &shape)
    {
        const bool end = html[i + 1] == u'/';
        i += end ? 2 : 1;
        const qsizetype start = i;
        while (i < html.size() && !isSpace(html[i]) && html[i] != u'/' && html[i] != u'>')
            ++i;
        QString entry = end ? QStringLiteral("/") : QString();
        entry += html.sliced(start, i - start).toString().toLower();
        name = end ? QString() : entry;
        for (;;) {
            while (i < html.size() && (isSpace(html[i]) || html[i] == u'/'))
                ++i;
            if (i >= html.size())
                return false;
            if (html[i] == u'>') {
                ++i;
                shape.append(entry);
                return true;
            }
            const qsizetype nameStart = i;
            while (i < html.size() && !isSpace(html[i]) && html[i] != u'/' && html[i] != u'>' && html[i] != u'=')
                ++i;
            entry += u' ' + html.sliced(nameStart, i - nameStart).toString().toLower();
            while (i < html.size() && isSpace(html[i]))
                ++i;
            if (i >= html.size() || html[i] != u'=')
                continue;
            ++i;
            while (i < html.size() && isSpace(html[i]))
                ++i;
            if (i < html.size() && (html[i] == u'"' || html[i] == u'\'')) {
                const qsizetype close = html.indexOf(html[i], i + 1);
                if (close < 0)
                    return false;
                i = close + 1;
            } else {
                while (i < html.size() && !isSpace(html[i]) && html[i] != u'>')
                    ++i;
            }
        }
    }

    // Script code: strings end on their line; comments run to the line's end.
    bool readScript(QStringView code, QStringList &shape)
    {
        QString outside;
        QString written;
        for (qsizetype i = 0; i < code.size(); ++i) {
            const QChar c = code[i];
            if (code.sliced(i).startsWith(u"//") || code.sliced(i).startsWith(u"<!--")) {
                while (i < code.size() && code[i] != u'\n')
                    ++i;
                outside += u'\n';
                continue;
            }
            if (c != u'\'' && c != u'"') {
                outside += c;
                continue;
            }
            outside += u"''";
            for (++i;; ++i) {
                if (i >= code.size() || code[i] == u'\r' || code[i] == u'\n')
                    return false;
                if (code[i] == c)
                    break;
                if (code[i] == u'\\' && ++i >= code.size())
                    return false;
                written += code[i];
            }
        }
        shape.append(u"script " + outside);
        QStringList writtenShape;
        if (!read(written, writtenShape))
            return false;
        for (const QString &entry : std::as_const(writtenShape))
            shape.append(u"written " + entry);
        return true;
    }
};

// The shape of the page, or an empty list with generated set false when no page is made.
QStringList shapeOf(const TPagelette &doc, quint8 mode, bool &generated)
{
    QString error;
    const QStringList lines = BuildPageHtml(doc, mode, true, QStringLiteral("/program/"), &error);
    generated = !lines.isEmpty();
    QStringList shape;
    FUZZ_CHECK(ShapeReader().read(lines.join(QStringLiteral("\r\n")), shape));
    return shape;
}

// Bytes that are no project file fill the values of a page with a block of every kind and a
// field of every kind, one value after the other, separated by zero bytes: so the fuzzer reaches
// every value without having to keep a project file whole.
void fillPage(QByteArrayView bytes, TPagelette &doc)
{
    doc.AddDefaultBlocks(); // page details, picture, link, paragraph
    for (const TBlockType type : {btLink, btHeading, btBullet, btHR, btForms})
        doc.InsertNewBlock(doc.Page.Count(), type);
    doc.Page.Items(2)->LinkBlock.UseDropBox = true;
    for (int kind = 0; kind < kFieldKindCount; ++kind)
        doc.WebForm.Add().FieldKind = TFieldKind(kind);

    TPageItem &details = *doc.Page.Items(0);
    TImageBlock &image = doc.Page.Items(1)->ImageBlock;
    QList<QString *> values = {&details.PagePropertiesBlock.PageTitle,
                               &details.PagePropertiesBlock.Background,
                               &details.PagePropertiesBlock.MetaText,
                               &image.FileName,
                               &image.Height,
                               &image.Width,
                               &image.Align,
                               &image.Alt,
                               &image.ImageLink,
                               &doc.Page.Items(2)->LinkBlock.DropBoxText,
                               &doc.Page.Items(4)->LinkBlock.LinkURL,
                               &doc.Page.Items(4)->LinkBlock.LinkText,
                               &doc.Page.Items(5)->HeadingBlock.Heading,
                               &doc.Page.Items(3)->TextBlock.Text,
                               &doc.Page.Items(6)->BulletBlock.Bullets,
                               &doc.FormTitle,
                               &doc.Email,
                               &doc.Redirect,
                               &doc.Subject};
    QList<QStringList *> lists;
    for (int i = 0; i < doc.WebForm.Count(); ++i) {
        TFormElement &field = *doc.WebForm.Items(i);
        values << &field.Name << &field.Value << &field.Text;
        lists << &field.Strings;
    }
    doc.FormFooter = true;
    qsizetype at = 0;
    for (QString *value : values) {
        if (at > bytes.size())
            return;
        const qsizetype end = bytes.indexOf('\0', at) < 0 ? bytes.size() : bytes.indexOf('\0', at);
        *value = Cp1252::decode(bytes.sliced(at, end - at));
        at = end + 1;
    }
    for (QStringList *list : lists) {
        if (at > bytes.size())
            return;
        const qsizetype end = bytes.indexOf('\0', at) < 0 ? bytes.size() : bytes.indexOf('\0', at);
        *list = Cp1252::decode(bytes.sliced(at, end - at)).split(u'\n');
        at = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    TPagelette fuzzed;
    QString error;
    if (!ReadDocument(bytes, fuzzed, &error)) {
        fuzzed = TPagelette();
        fillPage(bytes, fuzzed);
    }
    TPagelette plain(fuzzed);
    prepare(fuzzed, Pass::Fuzzed);
    prepare(plain, Pass::Neutral);
    for (const quint8 mode : {pmPreview, pmRelative, pmUpload}) {
        bool fuzzedMade = false;
        bool plainMade = false;
        const QStringList shape = shapeOf(fuzzed, mode, fuzzedMade);
        FUZZ_CHECK(shape == shapeOf(plain, mode, plainMade));
        FUZZ_CHECK(fuzzedMade == plainMade);
    }
    return 0;
}
