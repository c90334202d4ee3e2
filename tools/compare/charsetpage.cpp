// brisko-charsetpage OUT: writes a page full of typed letters and awkwardly named pictures the way
// the program writes it (Save, Save As Template, Preview Page) into OUT/program, puts the
// published page with its pictures side by side into OUT/site as the transfer would, and lists
// in OUT/expected.json what a browser must show. Run by tools/compare/charsets.py.
#include "document/pagemodel.h"
#include "html/pagehtml.h"
#include "project/pagedocument.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// What the user typed: the letters of Western Europe, the typographer's marks that Windows-1252
// puts in 128-159, Latin-1's top half, and letters no single-byte code page has.
const QString kTitle = u"Café Zürich — Grüße"_s;
const QString kHeading = u"Café Zürich — Grüße, “Quotes” €5"_s;
const QString kParagraph = u"Ærø, señor: ¿¡ «ÿ» ‹›‚„ … † ‰ • ™ © ½ ŒœŠšŽžŸ ƒ — 日本語 Ж 😀"_s;
const QString kLinkText = u"Naïve Ñandú café"_s;
const QString kDropBoxText = u"Crème brûlée ‘menu’"_s;
const QString kFieldText = u"Straße & Hausnummer"_s;
const QString kChoiceText = u"Smørrebrød"_s;

// Picture names whose "#", "?" or "%" would change the address's meaning, and a letter beyond ASCII.
const QStringList kPictures = {u"ha#sh.png"_s, u"que?.png"_s, u"50%.png"_s, u"a%41.png"_s, u"café.png"_s};
const QString kBackground = u"bg?50%#.png"_s;

int fail(const QString &message)
{
    std::fprintf(stderr, "brisko-charsetpage: %s\n", message.toLocal8Bit().constData());
    return 1;
}

TPagelette typedPage()
{
    TPagelette page;
    page.AddDefaultBlocks(); // page details, image, link, paragraph
    TPagePropertiesBlock &details = page.Page.Items(0)->PagePropertiesBlock;
    details.PageTitle = kTitle;
    details.Background = kBackground;
    details.MetaText = u"description\t"_s + kTitle + u"\r\n"_s;
    page.Page.Items(1)->ImageBlock = {kPictures.first(), u"20"_s, u"40"_s, {}, u"Größe ½"_s, {}, {}};
    page.Page.Items(2)->LinkBlock.LinkURL = u"menu.html"_s;
    page.Page.Items(2)->LinkBlock.LinkText = kLinkText;
    page.Page.Items(3)->TextBlock.Text = kParagraph;
    int at = 4;
    page.InsertNewBlock(at++, btHeading)->HeadingBlock.Heading = kHeading;
    for (qsizetype i = 1; i < kPictures.size(); ++i)
        page.InsertNewBlock(at++, btImage)->ImageBlock = {kPictures.at(i), u"20"_s, u"40"_s, {}, {}, {}, {}};
    TLinkBlock &box = page.InsertNewBlock(at++, btLink)->LinkBlock;
    box.UseDropBox = true;
    box.DropBoxText = u"menu.html\t"_s + kDropBoxText + u"\r\n"_s;
    page.InsertNewBlock(at++, btForms);
    TFormElement &field = page.WebForm.Add();
    field.Name = u"Address"_s;
    field.Text = kFieldText;
    field.Value = kChoiceText;
    TFormElement &choice = page.WebForm.Add();
    choice.FieldKind = fkDropDown;
    choice.Name = u"Dish"_s;
    choice.Text = kChoiceText;
    choice.Strings = {u"s|"_s + kChoiceText};
    return page;
}

bool writePicture(const QString &path, QRgb colour)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(colour);
    return QDir().mkpath(QFileInfo(path).path()) && picture.save(path, "PNG");
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return fail(u"usage: brisko-charsetpage OUT"_s);
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QString program = out + u"program/"_s;
    const QString site = out + u"site/"_s;
    for (const QString &folder : {u"BriskoFiles"_s, u"Templates"_s, u"Upload/images"_s, u"Upload/backgrounds"_s})
        QDir().mkpath(program + folder);
    QDir().mkpath(site);
    // The pages of the projects folder name the folders with capitals, as the program folder's links do.
    QFile::link(u"images"_s, program + u"Upload/Images"_s);
    QFile::link(u"backgrounds"_s, program + u"Upload/Backgrounds"_s);

    for (qsizetype i = 0; i < kPictures.size(); ++i) {
        const QRgb colour = qRgb(40 * int(i), 200 - 30 * int(i), 90);
        if (!writePicture(program + u"Upload/images/"_s + kPictures.at(i), colour) ||
            !writePicture(site + kPictures.at(i), colour))
            return fail(u"cannot write the picture "_s + kPictures.at(i));
    }
    if (!writePicture(program + u"Upload/backgrounds/"_s + kBackground, qRgb(250, 250, 200)) ||
        !writePicture(site + kBackground, qRgb(250, 250, 200)))
        return fail(u"cannot write the background"_s);

    PageDocument document(program);
    document.adopt(std::make_unique<TPagelette>(typedPage()), PageDocument::kUntitled.toString());
    const SaveOutcome saved = document.save(program + u"BriskoFiles/Charsets.mbe"_s, false);
    if (!saved.project.ok() || !saved.page.ok() || !saved.publishError.isEmpty())
        return fail(u"Save failed: "_s + saved.project.message + saved.page.message + saved.publishError);
    if (const DocumentOutcome t = document.saveAsTemplate(program + u"Templates/Charsets.mbt"_s, false); !t.ok())
        return fail(u"Save As Template failed: "_s + t.message);
    if (const DocumentOutcome p = document.writeBrowserPreview(false); !p.ok())
        return fail(u"Preview Page failed: "_s + p.message);
    // The transfer sends the published page and its pictures into one remote folder.
    QFile::remove(site + u"Charsets.html"_s);
    if (!QFile::copy(program + u"Upload/Charsets.html"_s, site + u"Charsets.html"_s))
        return fail(u"no published page"_s);

    QJsonObject expected;
    expected[u"texts"_s] = QJsonArray::fromStringList(
        {kTitle, kHeading, kParagraph, kLinkText, kDropBoxText, kFieldText, kChoiceText, u"Größe ½"_s});
    expected[u"pictures"_s] = QJsonArray::fromStringList(kPictures);
    expected[u"background"_s] = kBackground;
    QJsonObject pages;
    pages[u"published"_s] = u"site/Charsets.html"_s;
    pages[u"projects folder"_s] = u"program/BriskoFiles/Charsets.html"_s;
    pages[u"template preview"_s] = u"program/Templates/Charsets.html"_s;
    pages[u"browser preview"_s] = u"program/BriskoFiles/~tmp.html"_s;
    expected[u"pages"_s] = pages;
    QFile json(out + u"expected.json"_s);
    if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(expected).toJson()) < 0)
        return fail(u"cannot write expected.json"_s);
    return 0;
}
