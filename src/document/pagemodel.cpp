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

TPageItem *TPageCollection::Items(int index)
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

const TPageItem *TPageCollection::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

TPageItem *TPageCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        return nullptr;
    auto it = m_items.insert(m_items.begin() + index, std::make_unique<TPageItem>());
    return it->get();
}

TPageItem &TPageCollection::Add()
{
    m_items.push_back(std::make_unique<TPageItem>());
    return *m_items.back();
}

bool TPageCollection::MoveItem(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return false;
    auto item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    return true;
}

bool TPageCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

void TPageCollection::Assign(const TPageCollection &other)
{
    if (this == &other)
        return;
    m_items.clear();
    m_items.reserve(other.m_items.size());
    for (const auto &item : other.m_items)
        m_items.push_back(std::make_unique<TPageItem>(*item));
}

bool TPageCollection::operator==(const TPageCollection &other) const
{
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (!(*m_items[size_t(i)] == *other.m_items[size_t(i)]))
            return false;
    }
    return true;
}

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
