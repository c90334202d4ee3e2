#include "pagetheme.h"

bool ApplyTheme(const TWebTheme &themes, int index, TPagelette &page)
{
    TPageItem *details = page.Page.Items(0);
    return details && ApplyTheme(themes, index, details->PagePropertiesBlock);
}

bool ApplyTheme(const TWebTheme &themes, int index, TPagePropertiesBlock &d)
{
    const TThemeItem *theme = themes.Items.Items(index);
    if (!theme)
        return false;
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
