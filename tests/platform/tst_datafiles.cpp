#include "platform/inifile.h"
#include "platform/textutils.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

// Sanity checks of the text data files installed beside the program.
namespace {

QString dataFile(const QString &name)
{
    return QStringLiteral(BRISKO_SOURCE_DIR "/data/") + name;
}

QStringList fileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Text::splitLines(QString::fromLatin1(file.readAll()));
}

// Relative luminance of a "#RRGGBB" colour, as contrast ratios are defined.
double luminance(const QString &colour)
{
    double sum = 0;
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double v = colour.mid(1 + 2 * i, 2).toInt(nullptr, 16) / 255.0;
        sum += weights[i] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double contrast(const QString &a, const QString &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

class TestDataFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tipsAreShortPlainLines()
    {
        const QStringList tips = fileLines(dataFile(u"Tips.txt"_s));
        // The tip window never picks the last line, so twenty tips need a twenty-first line.
        QVERIFY(tips.size() > 20);
        for (const QString &tip : tips) {
            QVERIFY2(!tip.trimmed().isEmpty(), "blank tip");
            QVERIFY2(tip.size() <= 230, qPrintable(tip)); // what the tip label shows uncut
            for (const QChar c : tip)
                QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7F, qPrintable(tip));
        }
    }

    void webPaletteHoldsTheWebSafeColours()
    {
        const QStringList lines = fileLines(dataFile(u"Palettes/Web Palette.pal"_s));
        const QSet<QString> steps{u"0"_s, u"51"_s, u"102"_s, u"153"_s, u"204"_s, u"255"_s};
        QSet<QString> colours;
        for (const QString &line : lines) {
            // Only lines of digits and blanks longer than three characters are colours.
            if (!IsDigitsOrSpaces(line) || line.size() <= 3)
                continue;
            const QStringList parts = line.split(u' ');
            QCOMPARE(parts.size(), 3);
            for (const QString &part : parts)
                QVERIFY2(steps.contains(part), qPrintable(line));
            colours.insert(line);
        }
        QCOMPARE(colours.size(), 216);
        QVERIFY(!IsDigitsOrSpaces(lines.first())); // the title line is skipped
    }

    void themesAreCompleteAndReadable()
    {
        const IniFile ini(dataFile(u"themes.ini"_s));
        const QStringList themes = ini.sections();
        QVERIFY(themes.size() >= 7);
        QCOMPARE(themes.first(), u"Default"_s);

        const QString first = themes.first();
        QCOMPARE(ini.readString(first, u"BGColor"_s), u"#FFFFFF"_s);
        QCOMPARE(ini.readString(first, u"TextColor"_s), u"#000000"_s);
        QCOMPARE(ini.readString(first, u"LinkColor"_s), u"#0000FF"_s);
        QCOMPARE(ini.readString(first, u"ALinkColor"_s), u"#FF0000"_s);
        QCOMPARE(ini.readString(first, u"VLinkColor"_s), u"#990099"_s);
        QCOMPARE(ini.readString(first, u"LeftMargin"_s), u"0"_s);

        const QRegularExpression colourPattern(u"^#[0-9A-F]{6}$"_s);
        const QStringList colourKeys{u"BGColor"_s, u"TextColor"_s, u"LinkColor"_s, u"ALinkColor"_s, u"VLinkColor"_s};
        for (const QString &theme : themes) {
            QVERIFY2(ini.readString(theme, u"BGImage"_s, u"<none>"_s).isEmpty(), qPrintable(theme));
            const auto margin = Text::toInt(ini.readString(theme, u"LeftMargin"_s));
            QVERIFY2(margin && *margin >= 0 && *margin <= 500, qPrintable(theme));
            for (const QString &key : colourKeys)
                QVERIFY2(colourPattern.match(ini.readString(theme, key)).hasMatch(), qPrintable(theme + u' ' + key));

            const QString background = ini.readString(theme, u"BGColor"_s);
            auto contrastOf = [&](const QString &key) { return contrast(background, ini.readString(theme, key)); };
            QVERIFY2(contrastOf(u"TextColor"_s) >= 7.0, qPrintable(theme));
            QVERIFY2(contrastOf(u"LinkColor"_s) >= 4.5, qPrintable(theme));
            QVERIFY2(contrastOf(u"VLinkColor"_s) >= 4.5, qPrintable(theme));
            QVERIFY2(contrastOf(u"ALinkColor"_s) >= 3.0, qPrintable(theme));
        }
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
