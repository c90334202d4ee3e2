#include "samplepage.h"

namespace {

TPageItem &add(TPagelette &page, TBlockType type)
{
    return *page.InsertNewBlock(page.Page.Count(), type);
}

} // namespace

TPagelette SamplePage()
{
    TPagelette page;
    page.Page.Insert(0)->BlockType = btPageProperties;
    TPagePropertiesBlock &d = page.Page.Items(0)->PagePropertiesBlock;
    d.PageTitle = QStringLiteral("Riverside Walking Club");
    d.MetaText = QStringLiteral("description\tWeekly walks along the river for walkers of every pace.\r\n"
                                "keywords\twalking, club, river, outdoors\r\n");
    d.IndentMargin = QStringLiteral("0");
    d.ThemeName = QStringLiteral("Forest");
    // The colours of the shipped "Forest" theme.
    d.BGColor = RGBColor(0xEE, 0xF5, 0xE9);
    d.TextColor = RGBColor(0x1E, 0x3A, 0x1E);
    d.LinkColor = RGBColor(0x1F, 0x5F, 0x8B);
    d.ALinkColor = RGBColor(0xB0, 0x3A, 0x2E);
    d.VLinkColor = RGBColor(0x6B, 0x4E, 0x16);

    TPageItem &heading = add(page, btHeading);
    heading.HeadingBlock.Heading = QStringLiteral("Riverside Walking Club");
    heading.HeadingBlock.Attributes = QStringLiteral("\"Arial\", 20, [Bold], [$00205A1A]");
    heading.HeadingBlock.ApplyFont = 1;

    TPageItem &intro = add(page, btText);
    intro.TextBlock.Text = QStringLiteral(
        "We meet every Saturday at nine by the old boathouse and walk for about two hours.\r\n"
        "Everyone is welcome: bring good shoes and something to drink.\r\n"
        "\r\n"
        "New members walk free for their first month.");
    intro.TextBlock.Attributes = QStringLiteral("\"Georgia\", 12, [], [$00050000]");
    intro.TextBlock.ApplyFont = 1;

    TPageItem &line = add(page, btHR);
    line.HRBlock = {60, 0, true};
    line.BlockAlign = baCenter;

    TPageItem &routesHeading = add(page, btHeading);
    routesHeading.HeadingBlock.Heading = QStringLiteral("This season's routes");
    routesHeading.BlockAlign = baLeft;
    routesHeading.HeadingBlock.Attributes = QStringLiteral("\"Arial\", 14, [Bold], [$00205A1A]");
    routesHeading.HeadingBlock.ApplyFont = 1;

    TPageItem &routes = add(page, btBullet);
    routes.BulletBlock = {QStringLiteral("Boathouse to the mill (5 km)\r\n"
                                         "Willow meadows loop (7 km)\r\n"
                                         "Up to the old bridge and back (9 km)"),
                          lsSquare};

    TPageItem &more = add(page, btLink);
    more.LinkBlock.UseDropBox = true;
    more.LinkBlock.DropBoxText = QStringLiteral("routes.html\tRoute maps\r\n"
                                                "calendar.html\tWalk calendar\r\n"
                                                "photos.html\tPhotos\r\n");

    TPageItem &mail = add(page, btLink);
    mail.LinkBlock.LinkURL = QStringLiteral("walks@riverside.example");
    mail.LinkBlock.LinkText = QStringLiteral("Write to the walk leaders");
    mail.LinkBlock.Email = true;

    TPageItem &formHeading = add(page, btHeading);
    formHeading.HeadingBlock.Heading = QStringLiteral("Join us");
    formHeading.BlockAlign = baLeft;
    formHeading.HeadingBlock.Attributes = QStringLiteral("\"Arial\", 14, [Bold], [$00205A1A]");
    formHeading.HeadingBlock.ApplyFont = 1;

    add(page, btForms);
    page.Email = QStringLiteral("walks@riverside.example");
    page.Subject = QStringLiteral("New member");
    page.FormTitle = QStringLiteral("Membership");
    page.FormFooter = true;

    TFormElement &name = page.WebForm.Add();
    name.FieldKind = fkText;
    name.Name = QStringLiteral("Name");
    name.Text = QStringLiteral("Your name:");
    name.Strings = {QStringLiteral("Size=30"), QStringLiteral("Maxlength=100")};

    TFormElement &email = page.WebForm.Add();
    email.FieldKind = fkText;
    email.Name = QStringLiteral("Email");
    email.Text = QStringLiteral("E-mail address:");
    email.Strings = {QStringLiteral("Size=30"), QStringLiteral("Maxlength=100")};

    TFormElement &pace = page.WebForm.Add();
    pace.FieldKind = fkRadio;
    pace.Name = QStringLiteral("Pace");
    pace.Text = QStringLiteral("Preferred pace:");
    pace.Strings = {QStringLiteral("easy|Easy going|Yes"), QStringLiteral("brisk|Brisk|No")};

    TFormElement &walks = page.WebForm.Add();
    walks.FieldKind = fkDropDown;
    walks.Name = QStringLiteral("First Walk");
    walks.Text = QStringLiteral("First walk you\r\nwould like to join:");
    walks.Strings = {QStringLiteral("mill|Boathouse to the mill"), QStringLiteral("willow|Willow meadows loop"),
                     QStringLiteral("bridge|Old bridge and back")};

    TFormElement &notes = page.WebForm.Add();
    notes.FieldKind = fkTextArea;
    notes.Name = QStringLiteral("Comments");
    notes.Text = QStringLiteral("Anything we should know?");
    notes.Strings = {QStringLiteral("Cols=40"), QStringLiteral("Rows=5")};
    return page;
}
