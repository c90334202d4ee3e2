// The program folder the build lays out: every file the program expects, readable by it.
#include "document/pagefile.h"
#include "themes/themesfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

    const QString m_folder = QStringLiteral(BRISKO_PROGRAM_DIR "/");

private Q_SLOTS:
    void everyFolderAndFileIsThere()
    {
        for (const char *name : {"BriskoFiles", "Templates", "Upload", "Upload/images", "Upload/backgrounds",
                                 "Palettes"})
            QVERIFY2(QFileInfo(m_folder + QLatin1StringView(name)).isDir(), name);
        for (const char *name : {"Themes.dat", "Fields.ini", "Tips.txt", "Palettes/Web Palette.pal",
                                 "BriskoFiles/Walking Club.mbe", "BriskoFiles/Walking Club.html",
                                 "Upload/WalkingClub.html"})
            QVERIFY2(QFileInfo(m_folder + QLatin1StringView(name)).isFile(), name);
    }

    void capitalisedPictureFoldersReachTheRealOnes()
    {
        QCOMPARE(QFileInfo(m_folder + u"Upload/Images").canonicalFilePath(),
                 QFileInfo(m_folder + u"Upload/images").canonicalFilePath());
        QCOMPARE(QFileInfo(m_folder + u"Upload/Backgrounds").canonicalFilePath(),
                 QFileInfo(m_folder + u"Upload/backgrounds").canonicalFilePath());
    }

    void themesStartWithDefault()
    {
        TWebTheme themes;
        QString error;
        QVERIFY2(LoadThemes(m_folder + u"Themes.dat", themes, &error), qPrintable(error));
        QVERIFY(themes.Items.Count() >= 7);
        const TThemeItem &first = *themes.Items.Items(0);
        QCOMPARE(first.ThemeName, QStringLiteral("Default"));
        QCOMPARE(first.LeftMargin, QStringLiteral("0"));
        QCOMPARE(first.BGImage, QString());
        QCOMPARE((QList<TColor>{first.BGColor, first.TextColor, first.LinkColor, first.ALinkColor, first.VLinkColor}),
                 (QList<TColor>{RGBColor(255, 255, 255), 0, RGBColor(0, 0, 255), RGBColor(255, 0, 0),
                                RGBColor(153, 0, 153)}));
        for (int i = 0; i < themes.Items.Count(); ++i) {
            const TThemeItem &theme = *themes.Items.Items(i);
            QVERIFY(!theme.ThemeName.isEmpty());
            QVERIFY2(themes.Items.IndexOfName(theme.ThemeName) == i, "theme names are unique");
            QVERIFY(theme.TextColor != theme.BGColor);
        }
    }

    void sampleProjectOpensWithItsTheme()
    {
        QString error;
        const auto page = LoadDocument(m_folder + u"BriskoFiles/Walking Club.mbe", &error);
        QVERIFY2(page, qPrintable(error));
        QVERIFY(page->Page.Count() > 5);
        QCOMPARE(page->Page.Items(0)->BlockType, quint8(btPageProperties));
        TWebTheme themes;
        QVERIFY(LoadThemes(m_folder + u"Themes.dat", themes, &error));
        QVERIFY(themes.Items.IndexOfName(page->Page.Items(0)->PagePropertiesBlock.ThemeName) >= 0);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_programfolder.moc"
