#pragma once

#include "format/color.h"
#include "platform/ownedlist.h"

#include <QString>

// One named set of page colours, background picture and left margin.
struct TThemeItem
{
    QString ThemeName;
    QString BGImage;    // file name in the background folder; empty for none
    QString LeftMargin; // pixels as decimal text, "0" for none
    TColor BGColor = 0;
    TColor TextColor = 0;
    TColor LinkColor = 0;
    TColor ALinkColor = 0;
    TColor VLinkColor = 0;
    bool operator==(const TThemeItem &) const = default;
};

class TWebTheme;

// The themes in list order. Items keep their address while they live.
class TThemeCollection : public OwnedList<TThemeItem>
{
public:
    explicit TThemeCollection(TWebTheme *owner) : m_owner(owner) {}
    TThemeCollection(const TThemeCollection &) = delete;
    TThemeCollection &operator=(const TThemeCollection &) = delete;

    TWebTheme *Owner() const { return m_owner; }

    // Index of the first theme named name, compared without regard to case; -1 when none.
    int IndexOfName(const QString &name) const;

private:
    TWebTheme *m_owner;
};

// The theme container the main window owns.
class TWebTheme
{
public:
    TWebTheme() = default;
    TWebTheme(const TWebTheme &other) { *this = other; }
    TWebTheme &operator=(const TWebTheme &other);
    bool operator==(const TWebTheme &other) const;

    QString Name; // the container's object name, kept from the file it was read from
    qint32 Tag = 0;
    TThemeCollection Items{this};
};
