#include "pagefields.h"

namespace PageFields {

// Each name twice: as text for the stream object, and as the bytes of the file.
#define FIELD(NAME, TYPE, MEMBER)                                                                                \
    ItemField { u"" NAME, QLatin1StringView(NAME), FieldType::TYPE,                                              \
                [](TPageItem &i) -> void * { return &i.MEMBER; } }

const std::array<ItemField, 38> kItemFields = {
    FIELD("BlockType", BlockType, BlockType),
    FIELD("BlockAlign", BlockAlign, BlockAlign),
    FIELD("BlockOnNewLine", Boolean, BlockOnNewLine),
    FIELD("PagePropertiesBlock.PageTitle", String, PagePropertiesBlock.PageTitle),
    FIELD("PagePropertiesBlock.Background", String, PagePropertiesBlock.Background),
    FIELD("PagePropertiesBlock.MetaText", String, PagePropertiesBlock.MetaText),
    FIELD("PagePropertiesBlock.IndentMargin", String, PagePropertiesBlock.IndentMargin),
    FIELD("PagePropertiesBlock.ThemeName", String, PagePropertiesBlock.ThemeName),
    FIELD("PagePropertiesBlock.Underline", Boolean, PagePropertiesBlock.Underline),
    FIELD("PagePropertiesBlock.BGColor", Integer, PagePropertiesBlock.BGColor),
    FIELD("PagePropertiesBlock.TextColor", Integer, PagePropertiesBlock.TextColor),
    FIELD("PagePropertiesBlock.LinkColor", Integer, PagePropertiesBlock.LinkColor),
    FIELD("PagePropertiesBlock.ALinkColor", Integer, PagePropertiesBlock.ALinkColor),
    FIELD("PagePropertiesBlock.VLinkColor", Integer, PagePropertiesBlock.VLinkColor),
    FIELD("HeadingBlock.Heading", String, HeadingBlock.Heading),
    FIELD("HeadingBlock.Attributes", String, HeadingBlock.Attributes),
    FIELD("HeadingBlock.ApplyFont", Byte, HeadingBlock.ApplyFont),
    FIELD("LinkBlock.LinkURL", String, LinkBlock.LinkURL),
    FIELD("LinkBlock.LinkText", String, LinkBlock.LinkText),
    FIELD("LinkBlock.DropBoxText", String, LinkBlock.DropBoxText),
    FIELD("LinkBlock.UseDropBox", Boolean, LinkBlock.UseDropBox),
    FIELD("LinkBlock.Align", String, LinkBlock.Align),
    FIELD("LinkBlock.Email", Boolean, LinkBlock.Email),
    FIELD("ImageBlock.FileName", String, ImageBlock.FileName),
    FIELD("ImageBlock.Height", String, ImageBlock.Height),
    FIELD("ImageBlock.Width", String, ImageBlock.Width),
    FIELD("ImageBlock.Align", String, ImageBlock.Align),
    FIELD("ImageBlock.Alt", String, ImageBlock.Alt),
    FIELD("ImageBlock.ImageLink", String, ImageBlock.ImageLink),
    FIELD("ImageBlock.ImagePath", String, ImageBlock.ImagePath),
    FIELD("TextBlock.Text", String, TextBlock.Text),
    FIELD("TextBlock.Attributes", String, TextBlock.Attributes),
    FIELD("TextBlock.ApplyFont", Byte, TextBlock.ApplyFont),
    FIELD("BulletBlock.Bullets", String, BulletBlock.Bullets),
    FIELD("BulletBlock.Style", ListStyle, BulletBlock.Style),
    FIELD("HRBlock.Width", Integer, HRBlock.Width),
    FIELD("HRBlock.Size", Integer, HRBlock.Size),
    FIELD("HRBlock.NoShade", Boolean, HRBlock.NoShade),
};

#undef FIELD

#define PFIELD(NAME, IS_STRING)                                                                                  \
    PageField { u"" #NAME, QLatin1StringView(#NAME), IS_STRING, [](TPagelette &p) -> void * { return &p.NAME; } }

const std::array<PageField, 14> kPageFields = {
    PFIELD(AlphaSort, false),   PFIELD(BlankFields, false), PFIELD(Border, false),    PFIELD(BrowserUsed, false),
    PFIELD(Color, true),        PFIELD(EmailAddress, false), PFIELD(EmailSubject, false), PFIELD(EnvReport, false),
    PFIELD(FormTitle, true),    PFIELD(FormFooter, false),  PFIELD(HostName, false),  PFIELD(Email, true),
    PFIELD(Redirect, true),     PFIELD(Subject, true),
};

#undef PFIELD

} // namespace PageFields
