#include "pagemodel.h"

const std::array<QStringView, kBlockTypeCount> BlockTypeIdents = {
    u"btPageProperties", u"btHeading", u"btImage", u"btLink", u"btText", u"btBullet", u"btHR", u"btForms",
};

const std::array<QStringView, kBlockAlignmentCount> BlockAlignmentIdents = {
    u"baNone", u"baLeft", u"baCenter", u"baRight",
};

const std::array<QStringView, kListStyleCount> ListStyleIdents = {
    u"lsDisc", u"lsCircle", u"lsSquare", u"lsUpCaseA", u"lsLoCaseA", u"lsNum", u"lsUpCaseRoman", u"lsLoCaseRoman",
};

const std::array<QStringView, kBlockTypeCount> BlockTypeNames = {
    u"Page Details", u"Heading", u"Image", u"Link", u"Paragraph", u"Bullet List", u"Line", u"Forms",
};

const QString kDefaultFontDescription = QStringLiteral("\"Times New Roman\", 12, [], [$00050000]");

TPagelette::TPagelette(const TPagelette &other)
{
    *this = other;
}

TPagelette &TPagelette::operator=(const TPagelette &other)
{
    if (this == &other)
        return *this;
    Page.Assign(other.Page);
    WebForm = other.WebForm;
    AlphaSort = other.AlphaSort;
    BlankFields = other.BlankFields;
    Border = other.Border;
    BrowserUsed = other.BrowserUsed;
    Color = other.Color;
    EmailAddress = other.EmailAddress;
    EmailSubject = other.EmailSubject;
    EnvReport = other.EnvReport;
    FormTitle = other.FormTitle;
    FormFooter = other.FormFooter;
    HostName = other.HostName;
    Email = other.Email;
    Redirect = other.Redirect;
    Subject = other.Subject;
    Tag = other.Tag;
    return *this;
}

TPagelette &TPagelette::operator=(TPagelette &&other) noexcept
{
    if (this == &other)
        return *this;
    Page = std::move(other.Page);
    WebForm = std::move(other.WebForm);
    AlphaSort = other.AlphaSort;
    BlankFields = other.BlankFields;
    Border = other.Border;
    BrowserUsed = other.BrowserUsed;
    Color = std::move(other.Color);
    EmailAddress = other.EmailAddress;
    EmailSubject = other.EmailSubject;
    EnvReport = other.EnvReport;
    FormTitle = std::move(other.FormTitle);
    FormFooter = other.FormFooter;
    HostName = other.HostName;
    Email = std::move(other.Email);
    Redirect = std::move(other.Redirect);
    Subject = std::move(other.Subject);
    Tag = other.Tag;
    return *this;
}

bool TPagelette::operator==(const TPagelette &o) const
{
    return Page == o.Page && WebForm == o.WebForm && AlphaSort == o.AlphaSort && BlankFields == o.BlankFields
        && Border == o.Border && BrowserUsed == o.BrowserUsed && Color == o.Color && EmailAddress == o.EmailAddress
        && EmailSubject == o.EmailSubject && EnvReport == o.EnvReport && FormTitle == o.FormTitle
        && FormFooter == o.FormFooter && HostName == o.HostName && Email == o.Email && Redirect == o.Redirect
        && Subject == o.Subject && Tag == o.Tag;
}

void TPagelette::ResetContent(bool clearPage)
{
    if (clearPage)
        Page.Clear();
    WebForm.Clear();
    AlphaSort = BlankFields = Border = BrowserUsed = false;
    EmailAddress = EmailSubject = EnvReport = FormFooter = HostName = false;
    Color.clear();
    FormTitle.clear();
    Email.clear();
    Redirect.clear();
    Subject.clear();
}

void TPagelette::AddDefaultBlocks()
{
    TPageItem *details = Page.Insert(0);
    details->BlockType = btPageProperties;
    TPagePropertiesBlock &d = details->PagePropertiesBlock;
    d.ThemeName = QStringLiteral("Default");
    d.IndentMargin = QStringLiteral("0");
    d.BGColor = RGBColor(255, 255, 255);
    d.TextColor = RGBColor(0, 0, 0);
    d.LinkColor = RGBColor(0, 0, 255);
    d.ALinkColor = RGBColor(255, 0, 0);
    d.VLinkColor = RGBColor(153, 0, 153);
    InsertNewBlock(1, btImage);
    InsertNewBlock(2, btLink);
    InsertNewBlock(3, btText);
}

TPageItem *TPagelette::InsertNewBlock(int index, TBlockType type)
{
    TPageItem *item = Page.Insert(index);
    if (!item)
        return nullptr;
    item->BlockType = type;
    item->BlockOnNewLine = true;
    item->BlockAlign = type == btPageProperties ? baNone : type == btHeading ? baCenter : baLeft;
    switch (type) {
    case btHeading:
        item->HeadingBlock.Attributes = kDefaultFontDescription;
        break;
    case btText:
        item->TextBlock.Attributes = kDefaultFontDescription;
        break;
    case btHR:
        item->HRBlock.Width = 100;
        break;
    default:
        break;
    }
    return item;
}
