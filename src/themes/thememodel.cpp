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
