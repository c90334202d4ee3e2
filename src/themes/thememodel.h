#pragma once

#include "document/pagemodel.h"

#include <QString>

#include <memory>
#include <vector>

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
class TThemeCollection
{
public:
    explicit TThemeCollection(TWebTheme *owner) : m_owner(owner) {}

    int Count() const { return int(m_items.size()); }
    TThemeItem &Add();
    // nullptr when index is out of range.
    TThemeItem *Items(int index);
    const TThemeItem *Items(int index) const;
    bool Move(int from, int to);
    bool Delete(int index);
    void Clear() { m_items.clear(); }
    TWebTheme *Owner() const { return m_owner; }

    void Assign(const TThemeCollection &other);
    bool operator==(const TThemeCollection &other) const;

    // Index of the first theme named name, compared without regard to case; -1 when none.
    int IndexOfName(const QString &name) const;

private:
    TWebTheme *m_owner;
    std::vector<std::unique_ptr<TThemeItem>> m_items;
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

// Copies the theme into the page details block (item 0) of the page; false when the index
// or the page has no such item.
bool ApplyTheme(const TWebTheme &themes, int index, TPagelette &page);
