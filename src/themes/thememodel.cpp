#include "thememodel.h"

int TThemeCollection::IndexOfName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->ThemeName.compare(name, Qt::CaseInsensitive) == 0)
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
