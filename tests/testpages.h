#pragma once

#include "document/pagemodel.h"

#include <QString>

// Pages the tests share: one block of every type with every field set.
inline TPagelette FullTestPage()
{
    TPagelette page;
    page.AddDefaultBlocks();
    TPagePropertiesBlock &d = page.Page.Items(0)->PagePropertiesBlock;
    d.PageTitle = QStringLiteral("Title");
    d.Background = QStringLiteral("paper.gif");
    d.MetaText = QStringLiteral("keywords\tbooks, shop\r\nauthor\tMe\r\n");
    d.IndentMargin = QStringLiteral("40");
    d.ThemeName = QStringLiteral("Ocean");
    d.Underline = true;
    d.BGColor = -2147483643; // a system colour: the full 32 bits must survive
    d.TextColor = 0x123456;
    d.LinkColor = 300;
    d.ALinkColor = -5;
    d.VLinkColor = 70000;

    TPageItem *image = page.Page.Items(1);
    image->BlockAlign = baRight;
    image->BlockOnNewLine = false;
    image->ImageBlock = {QStringLiteral("logo.gif"), QStringLiteral("40"), QStringLiteral("120"),
                         QStringLiteral("LEFT"), QStringLiteral("Logo"), QStringLiteral("index.html"),
                         QStringLiteral("C:\\old\\logo.gif")};
    TPageItem *link = page.Page.Items(2);
    link->LinkBlock = {QStringLiteral("mailto:a@b.example"), QStringLiteral("Write"),
                       QStringLiteral("a.html\tPage A\r\nb.html\tPage B\r\n"), true, QStringLiteral("x"), true};
    TPageItem *text = page.Page.Items(3);
    text->TextBlock = {QStringLiteral("Hello\r\n\r\nworld"), QStringLiteral("\"Arial\", 14, [Bold], [clRed]"), 1};

    TPageItem *heading = page.InsertNewBlock(1, btHeading);
    heading->HeadingBlock.Heading = QStringLiteral("Welcome 100%");
    heading->HeadingBlock.ApplyFont = 1;
    TPageItem *bullets = page.InsertNewBlock(page.Page.Count(), btBullet);
    bullets->BulletBlock = {QStringLiteral("One\r\nTwo"), lsLoCaseRoman};
    TPageItem *line = page.InsertNewBlock(page.Page.Count(), btHR);
    line->HRBlock = {50, 2, true};
    page.InsertNewBlock(page.Page.Count(), btForms);

    TFormElement &name = page.WebForm.Add();
    name.FieldKind = fkText;
    name.Name = QStringLiteral("Your Name");
    name.Text = QStringLiteral("Name:");
    name.Strings = {QStringLiteral("Size=30"), QStringLiteral("Maxlength=100")};
    TFormElement &colour = page.WebForm.Add();
    colour.FieldKind = fkDropDown;
    colour.Name = QStringLiteral("Colour");
    colour.Text = QStringLiteral("Favourite\r\ncolour");
    colour.Value = QStringLiteral("r");
    colour.Strings = {QStringLiteral("r|Red"), QStringLiteral("g|Green")};
    page.WebForm.Add().FieldKind = fkButton;

    page.AlphaSort = page.Border = page.EnvReport = page.FormFooter = true;
    page.Color = QStringLiteral("reserved");
    page.FormTitle = QStringLiteral("Contact");
    page.Email = QStringLiteral("me@site.example");
    page.Redirect = QStringLiteral("http://site.example/thanks.html");
    page.Subject = QStringLiteral("Feedback");
    return page;
}

// A page of blocks of every type in turn, each with its fields set, with one form in the middle
// and a margin: the large page that the viewer's tests and its benchmark load.
inline TPagelette MixedBlockPage(int blocks)
{
    TPagelette doc;
    doc.AddDefaultBlocks();
    while (doc.Page.Count() > 1)
        doc.Page.Delete(1);
    doc.Page.Items(0)->PagePropertiesBlock.IndentMargin = QStringLiteral("40");
    TFormElement &field = doc.WebForm.Add();
    field.FieldKind = fkText;
    field.Name = QStringLiteral("Name");
    for (int i = 1; i <= blocks; ++i) {
        const int type = i % 7 + 1;
        TPageItem *item = doc.InsertNewBlock(i, TBlockType(type == btForms && i != blocks / 2 ? btText : type));
        item->HeadingBlock.Heading = QStringLiteral("Heading %1").arg(i);
        item->TextBlock.Text =
            QStringLiteral("Some words that fill a line or two of the page, and then some more.\r\nMore.");
        item->ImageBlock = {QStringLiteral("route%1.jpg").arg(i),
                            QStringLiteral("120"),
                            QStringLiteral("160"),
                            QStringLiteral("LEFT"),
                            QStringLiteral("Map"),
                            {},
                            {}};
        item->LinkBlock.LinkURL = QStringLiteral("a.html");
        item->LinkBlock.LinkText = QStringLiteral("A link");
        item->BulletBlock = {QStringLiteral("One\r\nTwo\r\nThree"), quint8(i % 8)};
        item->HRBlock = {80, i % 6, i % 2 == 0};
    }
    return doc;
}
