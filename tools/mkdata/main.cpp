// brisko-mkdata: builds the binary data files of the program folder from readable sources.
//   brisko-mkdata themes THEMES.ini OUT/Themes.dat
//   brisko-mkdata sample OUT/Sample.mbe
//   brisko-mkdata desktop OUT/brisko.desktop OUT/brisko.xml   (the desktop entry and MIME package to install)
#include "document/pagefile.h"
#include "platform/filetypes.h"
#include "platform/inifile.h"
#include "platform/savefile.h"
#include "platform/version.h"
#include "samplepage.h"
#include "themes/themesfile.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "brisko-mkdata: %s\n", message.toLocal8Bit().constData());
    return 1;
}

// "#RRGGBB" as a colour value.
std::optional<TColor> parseColor(const QString &text)
{
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (!text.startsWith(u'#') || text.size() != 7 || !ok)
        return std::nullopt;
    return RGBColor(int(rgb >> 16), int(rgb >> 8), int(rgb));
}

int buildThemes(const QString &source, const QString &target)
{
    const IniFile ini(source);
    if (!ini.errorString().isEmpty())
        return fail(ini.errorString());
    TWebTheme themes;
    for (const QString &section : ini.sections()) {
        TThemeItem &theme = themes.Items.Add();
        theme.ThemeName = section;
        theme.BGImage = ini.readString(section, QStringLiteral("BGImage"));
        theme.LeftMargin = ini.readString(section, QStringLiteral("LeftMargin"), QStringLiteral("0"));
        const std::pair<const char16_t *, TColor *> colours[] = {
            {u"BGColor", &theme.BGColor},       {u"TextColor", &theme.TextColor},
            {u"LinkColor", &theme.LinkColor},   {u"ALinkColor", &theme.ALinkColor},
            {u"VLinkColor", &theme.VLinkColor},
        };
        for (const auto &[key, colour] : colours) {
            const QString text = ini.readString(section, QString::fromUtf16(key));
            const auto value = parseColor(text);
            if (!value)
                return fail(QStringLiteral("%1: theme %2 has no colour %3 (\"#RRGGBB\")")
                                .arg(source, section, QString::fromUtf16(key)));
            *colour = *value;
        }
    }
    if (themes.Items.Count() == 0)
        return fail(QStringLiteral("%1 defines no theme").arg(source));
    QString error;
    return SaveThemes(target, themes, &error) ? 0 : fail(error);
}

constexpr QStringView kUsage = u"usage: brisko-mkdata themes THEMES.ini OUT | sample OUT | desktop ENTRY MIME";

// The installed desktop entry starts the program by name, from the system's program folder.
int buildDesktopFiles(const QString &entry, const QString &mime)
{
    QString error;
    if (!WriteFileAtomically(entry, DesktopEntry(QStringLiteral("brisko")), &error))
        return fail(QStringLiteral("%1: %2").arg(entry, error));
    if (!WriteFileAtomically(mime, MimePackage(), &error))
        return fail(QStringLiteral("%1: %2").arg(mime, error));
    return 0;
}

int buildSample(const QString &target)
{
    QString error;
    return WriteDocument(target, SamplePage(), &error) ? 0 : fail(error);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-mkdata", kUsage))
        return *answered;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == u"themes")
        return buildThemes(args[1], args[2]);
    if (args.size() == 2 && args[0] == u"sample")
        return buildSample(args[1]);
    if (args.size() == 3 && args[0] == u"desktop")
        return buildDesktopFiles(args[1], args[2]);
    return fail(kUsage.toString());
}
