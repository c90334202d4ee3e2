#include "pagetheme.h"

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
