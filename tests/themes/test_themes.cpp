#include "document/pagetheme.h"
#include "themes/themesfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

TThemeItem defaultTheme()
{
    TThemeItem theme;
    theme.ThemeName = QStringLiteral("Default");
    theme.LeftMargin = QStringLiteral("0");
    theme.BGColor = RGBColor(255, 255, 255);
    theme.TextColor = RGBColor(0, 0, 0);
    theme.LinkColor = RGBColor(0, 0, 255);
    theme.ALinkColor = RGBColor(255, 0, 0);
    theme.VLinkColor = RGBColor(128, 0, 128);
    return theme;
}

// A byte string literal with its embedded zero bytes.
template<size_t N>
QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestThemes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneThemeFileIsByteExact()
    {
        TWebTheme themes;
        themes.Items.Add() = defaultTheme();
        QByteArray want("TPF0\x09TWebTheme\x00", 15);
        want += QByteArray("\x05Items\x0e\x01", 8);
        want += QByteArray("\x09ThemeName\x06\x07" "Default", 19);
        want += QByteArray("\x0aLeftMargin\x06\x01" "0", 14);
        want += QByteArray("\x07" "BGColor\x04\xff\xff\xff\x00", 13);
        want += QByteArray("\x09TextColor\x02\x00", 12);
        want += QByteArray("\x09LinkColor\x04\x00\x00\xff\x00", 15);
        want += QByteArray("\x0a" "ALinkColor\x03\xff\x00", 14);
        want += QByteArray("\x0aVLinkColor\x04\x80\x00\x80\x00", 16);
        want += QByteArray("\x00\x00\x00\x00", 4);
        QCOMPARE(Stream::write(ThemesToStream(themes)).toHex(' '), want.toHex(' '));
    }

    void themesSurviveSaveAndLoad_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("rootName");
        QTest::newRow("empty container") << 0 << QString();
        QTest::newRow("named container") << 3 << QStringLiteral("WebTheme1");
    }

    void themesSurviveSaveAndLoad()
    {
        QFETCH(int, count);
        QFETCH(QString, rootName);
        TWebTheme themes;
        themes.Name = rootName;
        for (int i = 0; i < count; ++i) {
            TThemeItem &theme = themes.Items.Add();
            theme = defaultTheme();
            theme.ThemeName = QStringLiteral("Theme %1 \u0416").arg(i);
            theme.BGImage = i == 1 ? QStringLiteral("paper.gif") : QString();
            theme.LeftMargin = i == 2 ? QString() : QString::number(i * 50);
            theme.VLinkColor = -1 - i;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Themes.dat"));
        QString error;
        QVERIFY2(SaveThemes(path, themes, &error), qPrintable(error));
        TWebTheme loaded;
        QVERIFY2(LoadThemes(path, loaded, &error), qPrintable(error));
        QVERIFY(loaded == themes);
        if (count == 3) {
            QVERIFY(!readFile(path).contains(QByteArray("LeftMargin\x06\x00", 12)));
            QCOMPARE(loaded.Items.Items(2)->LeftMargin, QString());
        }
    }

    void brokenThemesFilesLoadNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a stream") << QByteArray("hello");
        QTest::newRow("a page") << bytes("TPF0\x0aTPagelette\x00\x00\x00");
        QTest::newRow("unknown theme property")
            << bytes("TPF0\x09TWebTheme\x00\x05Items\x0e\x01\x04" "Font\x02\x01\x00\x00\x00\x00");
        QTest::newRow("string colour")
            << bytes("TPF0\x09TWebTheme\x00\x05Items\x0e\x01\x07" "BGColor\x06\x01x\x00\x00\x00\x00");
    }

    void brokenThemesFilesLoadNothing()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Themes.dat"));
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        TWebTheme themes;
        themes.Items.Add().ThemeName = QStringLiteral("kept");
        QString error;
        QVERIFY(!LoadThemes(path, themes, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(themes.Items.Count(), 1);
    }

    void nameLookupIgnoresCaseAndFindsTheFirst()
    {
        TWebTheme themes;
        themes.Items.Add().ThemeName = QStringLiteral("Ocean");
        themes.Items.Add().ThemeName = QStringLiteral("Forest");
        themes.Items.Add().ThemeName = QStringLiteral("forest");
        QCOMPARE(themes.Items.IndexOfName(QStringLiteral("FOREST")), 1);
        QCOMPARE(themes.Items.IndexOfName(QStringLiteral("Desert")), -1);
    }

    void applyingAThemeCopiesItsEightValues()
    {
        TPagelette page;
        page.AddDefaultBlocks();
        TPagePropertiesBlock &d = page.Page.Items(0)->PagePropertiesBlock;
        d.PageTitle = QStringLiteral("Title");
        d.MetaText = QStringLiteral("a\tb");
        d.Underline = true;
        d.Background = QStringLiteral("old.gif");

        TWebTheme themes;
        TThemeItem &theme = themes.Items.Add();
        theme = {QStringLiteral("Night"), QString(), QStringLiteral("50"), 1, 2, 3, 4, 5};
        QVERIFY(ApplyTheme(themes, 0, page));
        QCOMPARE(d.ThemeName, QStringLiteral("Night"));
        QCOMPARE(d.Background, QString());
        QCOMPARE(d.IndentMargin, QStringLiteral("50"));
        QCOMPARE((QList<TColor>{d.BGColor, d.TextColor, d.LinkColor, d.ALinkColor, d.VLinkColor}),
                 (QList<TColor>{1, 2, 3, 4, 5}));
        QCOMPARE(d.PageTitle, QStringLiteral("Title"));
        QCOMPARE(d.MetaText, QStringLiteral("a\tb"));
        QVERIFY(d.Underline);

        QVERIFY(!ApplyTheme(themes, 1, page));
        TPagelette empty;
        QVERIFY(!ApplyTheme(themes, 0, empty));
    }
};

QTEST_GUILESS_MAIN(TestThemes)
#include "test_themes.moc"
