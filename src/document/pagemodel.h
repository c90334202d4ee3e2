#pragma once

#include "format/color.h"
#include "forms/formmodel.h"
#include "platform/ownedlist.h"

#include <QString>

#include <array>

// The enumerations' ordinal values and value names are part of the file format.
enum TBlockType : quint8 { btPageProperties, btHeading, btImage, btLink, btText, btBullet, btHR, btForms };
enum TBlockAlignment : quint8 { baNone, baLeft, baCenter, baRight };
enum TListStyle : quint8 {
    lsDisc, lsCircle, lsSquare, lsUpCaseA, lsLoCaseA, lsNum, lsUpCaseRoman, lsLoCaseRoman
};

inline constexpr int kBlockTypeCount = 8;
inline constexpr int kBlockAlignmentCount = 4;
inline constexpr int kListStyleCount = 8;

extern const std::array<QStringView, kBlockTypeCount> BlockTypeIdents;
extern const std::array<QStringView, kBlockAlignmentCount> BlockAlignmentIdents;
extern const std::array<QStringView, kListStyleCount> ListStyleIdents;

// Names of the block types in the palette and the block list.
extern const std::array<QStringView, kBlockTypeCount> BlockTypeNames;

// The default font description of new headings and paragraphs.
extern const QString kDefaultFontDescription;

struct TPagePropertiesBlock
{
    QString PageTitle;
    QString Background;
    QString MetaText;
    QString IndentMargin;
    QString ThemeName;
    bool Underline = false;
    TColor BGColor = 0;
    TColor TextColor = 0;
    TColor LinkColor = 0;
    TColor ALinkColor = 0;
    TColor VLinkColor = 0;
    bool operator==(const TPagePropertiesBlock &) const = default;
};

struct THeadingBlock
{
    QString Heading;
    QString Attributes;
    quint8 ApplyFont = 0;
    bool operator==(const THeadingBlock &) const = default;
};

struct TLinkBlock
{
    QString LinkURL;
    QString LinkText;
    QString DropBoxText;
    bool UseDropBox = false;
    QString Align;
    bool Email = false;
    bool operator==(const TLinkBlock &) const = default;
};

struct TImageBlock
{
    QString FileName;
    QString Height;
    QString Width;
    QString Align;
    QString Alt;
    QString ImageLink;
    QString ImagePath;
    bool operator==(const TImageBlock &) const = default;
};

struct TTextBlock
{
    QString Text;
    QString Attributes;
    quint8 ApplyFont = 0;
    bool operator==(const TTextBlock &) const = default;
};

struct TBulletBlock
{
    QString Bullets;
    quint8 Style = lsDisc; // a TListStyle; kept as a byte so that foreign values survive
    bool operator==(const TBulletBlock &) const = default;
};

struct THRBlock
{
    qint32 Width = 0;
    qint32 Size = 0;
    bool NoShade = false;
    bool operator==(const THRBlock &) const = default;
};

// One block of the page. Every item carries all seven records; only the one that matches
// BlockType means anything, the others stay empty unless a file filled them.
struct TPageItem
{
    quint8 BlockType = btPageProperties;    // a TBlockType
    quint8 BlockAlign = baNone;             // a TBlockAlignment
    bool BlockOnNewLine = false;
    TPagePropertiesBlock PagePropertiesBlock;
    THeadingBlock HeadingBlock;
    TLinkBlock LinkBlock;
    TImageBlock ImageBlock;
    TTextBlock TextBlock;
    TBulletBlock BulletBlock;
    THRBlock HRBlock;
    bool operator==(const TPageItem &) const = default;
};

class TPagelette;

// The blocks of a page, in page order. Items keep their address while they live.
class TPageCollection : public OwnedList<TPageItem>
{
public:
    explicit TPageCollection(TPagelette *owner) : m_owner(owner) {}
    TPageCollection(const TPageCollection &) = delete;
    TPageCollection &operator=(const TPageCollection &) = delete;
    // Takes over the other's items; each collection keeps its owner.
    TPageCollection &operator=(TPageCollection &&other) noexcept
    {
        OwnedList::operator=(std::move(other));
        return *this;
    }

    bool MoveItem(int from, int to) { return Move(from, to); }
    TPagelette *Owner() const { return m_owner; }

private:
    TPagelette *m_owner;
};

// The page document.
class TPagelette
{
public:
    TPagelette() = default;
    TPagelette(const TPagelette &other);
    TPagelette &operator=(const TPagelette &other);
    // Takes over the other's blocks and form fields without copying them.
    TPagelette &operator=(TPagelette &&other) noexcept;

    TPageCollection Page{this};
    TWebForm WebForm;
    bool AlphaSort = false;
    bool BlankFields = false;
    bool Border = false;
    bool BrowserUsed = false;
    QString Color;
    bool EmailAddress = false;
    bool EmailSubject = false;
    bool EnvReport = false;
    QString FormTitle;
    bool FormFooter = false;
    bool HostName = false;
    QString Email;
    QString Redirect;
    QString Subject;
    qint32 Tag = 0;

    // Empties the form and its options; with clearPage also removes every block.
    void ResetContent(bool clearPage);
    // Fills an empty document with the four blocks of a new page.
    void AddDefaultBlocks();
    // A block of the given type with its type's defaults, at index; nullptr when out of range.
    TPageItem *InsertNewBlock(int index, TBlockType type);

    bool operator==(const TPagelette &other) const;
};
