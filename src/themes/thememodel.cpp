#include "thememodel.h"

TThemeItem &TThemeCollection::Add()
{
    m_items.push_back(std::make_unique<TThemeItem>());
    return *m_items.back();
}

TThemeItem *TThemeCollection::Items(int index)
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

const TThemeItem *TThemeCollection::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

bool TThemeCollection::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return false;
    auto item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    return true;
}

bool TThemeCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

void TThemeCollection::Assign(const TThemeCollection &other)
{
    if (this == &other)
        return;
    m_items.clear();
    for (const auto &item : other.m_items)
        m_items.push_back(std::make_unique<TThemeItem>(*item));
}

bool TThemeCollection::operator==(const TThemeCollection &other) const
{
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (!(*m_items[size_t(i)] == *other.m_items[size_t(i)]))
            return false;
    }
    return true;
}

int TThemeCollection::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[size_t(i)]->ThemeName.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TWebTheme &TWebTheme::operator=(const TWebTheme &other)
{
    Name = other.Name;
    Tag = other.Tag;
    Items.Assign(other.Items);
    return *this;
}

bool TWebTheme::operator==(const TWebTheme &other) const
{
    return Name == other.Name && Tag == other.Tag && Items == other.Items;
}

bool ApplyTheme(const TWebTheme &themes, int index, TPagelette &page)
{
    const TThemeItem *theme = themes.Items.Items(index);
    TPageItem *details = page.Page.Items(0);
    if (!theme || !details)
        return false;
    TPagePropertiesBlock &d = details->PagePropertiesBlock;
    d.ThemeName = theme->ThemeName;
    d.Background = theme->BGImage;
    d.IndentMargin = theme->LeftMargin;
    d.BGColor = theme->BGColor;
    d.TextColor = theme->TextColor;
    d.LinkColor = theme->LinkColor;
    d.ALinkColor = theme->ALinkColor;
    d.VLinkColor = theme->VLinkColor;
    return true;
}
