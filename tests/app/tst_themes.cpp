// The main window's theme dialog: what the page, the theme list and the preview get from it.

#include "appfixture.h"

#include "findcontrol.h"
#include "html/pagehtml.h"
#include "platform/gui/help.h"
#include "project/pagedocument.h"
#include "themes/gui/themedialog.h"
#include "themes/themesfile.h"
#include "viewer/htmllite.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QColor qcolor(TColor c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void click(const QWidget &window, const QString &button)
{
    QTest::mouseClick(control<QAbstractButton>(window, button), Qt::LeftButton);
}

// Runs steps on the theme dialog once it is open; the steps close it.
void whenThemeDialogOpens(std::function<void(TfrmTheme &)> steps)
{
    QTimer::singleShot(0, [steps] {
        auto *dialog = qobject_cast<TfrmTheme *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        steps(*dialog);
        if (dialog->isVisible())
            qWarning("the theme dialog was left open");
    });
}

// Answers the colour picker once it is open with colour and OK.
void whenPickerOpens(TColor colour)
{
    QTimer::singleShot(0, [colour] {
        QWidget *picker = QApplication::activeModalWidget();
        QVERIFY(picker && picker->objectName() == u"TfrmColor");
        const QStringList bars = {u"hsbRed"_s, u"hsbGreen"_s, u"hsbBlue"_s};
        for (int i = 0; i < 3; ++i)
            control<QScrollBar>(*picker, bars[i])->setValue((colour >> (8 * i)) & 0xFF);
        click(*picker, u"bntOK"_s);
    });
}

void clickEntry(const TfrmTheme &dialog, const QString &name)
{
    auto *list = control<QListWidget>(dialog, u"lstEditThemes"_s);
    const QListWidgetItem *item = list->findItems(name, Qt::MatchExactly).value(0);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

} // namespace

class TestThemeCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;

    const TPagePropertiesBlock &details() const { return m_window->document().Page.Items(0)->PagePropertiesBlock; }
    ThtmlLite *browser() const { return child<ThtmlLite>(m_window.get(), "browser"); }
    QColor previewBackground() const
    {
        const QImage shot = browser()->grab().toImage();
        return shot.pixelColor(5, shot.height() / 2);
    }
    QStringList themeList() const { return rowTexts(child<QListWidget>(m_window.get(), "lstThemes")); }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppFixture>();
        QVERIFY(QFile::copy(QStringLiteral(BRISKO_PROGRAM_DIR "/Palettes/Web Palette.pal"),
                            m_fixture->folder() + u"Palettes/Web Palette.pal"_s));
        m_window = m_fixture->makeWindow();
    }
    void cleanup()
    {
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_window.reset();
        m_fixture.reset();
    }

    // Every "What's This?" topic of the dialog leads to a page the program ships.
    void everyHelpTopicOfTheDialogHasAPage()
    {
        TWebTheme themes;
        const TfrmTheme dialog(themes, m_fixture->folder());
        QSet<int> topics;
        for (const QWidget *widget : dialog.findChildren<QWidget *>()) {
            if (const int topic = Help::topicOf(widget)) {
                topics.insert(topic);
                QVERIFY2(QFile::exists(u":/help/%1.html"_s.arg(topic)), qPrintable(widget->objectName()));
            }
        }
        QCOMPARE(topics.size(), 10);
    }

    // A theme made with a colour and a background picture shows in the preview, tiled, and
    // is there again after a restart.
    void themeMadeInTheDialogShowsInViewPageAndAfterRestart()
    {
        QImage stripes(16, 16, QImage::Format_RGB32);
        stripes.fill(Qt::red);
        for (int y = 0; y < 16; ++y)
            for (int x = 8; x < 16; ++x)
                stripes.setPixelColor(x, y, Qt::blue);
        const QString picture = m_fixture->root() + u"stripes.bmp"_s;
        QVERIFY(stripes.save(picture, "BMP"));
        const TColor colour = RGBColor(10, 20, 30);

        m_window->viewPage();
        whenThemeDialogOpens([&](TfrmTheme &dialog) {
            click(dialog, u"btnAdd"_s);
            control<QLineEdit>(dialog, u"txtDescription"_s)->setText(u"Meadow"_s);
            whenPickerOpens(colour);
            QTest::mouseDClick(control(dialog, u"lblBGColor"_s), Qt::LeftButton);
            FileDialogs::setNextFileName(picture);
            click(dialog, u"btnBackground"_s);
            click(dialog, u"btnApply"_s);
            click(dialog, u"btnOK"_s);
        });
        click(*m_window, u"btnThemeEdit"_s);

        QCOMPARE(details().ThemeName, u"Meadow"_s);
        QCOMPARE(details().BGColor, colour);
        QCOMPARE(details().Background, u"stripes.bmp"_s);
        QVERIFY(QFileInfo(m_fixture->folder() + u"Upload/backgrounds/stripes.bmp"_s).isFile());
        QVERIFY(m_window->modified());
        const std::optional<QStringList> page = m_window->buildPageHtml(pmPreview);
        QVERIFY(page && page->join(u'\n').contains(u"<BODY BGCOLOR=\"#0A141E\""_s));
        const auto verifyTiles = [this] {
            const QImage shot = browser()->grab().toImage();
            const int y = shot.height() * 3 / 4;
            int red = 0;
            int blue = 0;
            for (int x = 20; x < 52; ++x) {
                QCOMPARE(shot.pixelColor(x, y), shot.pixelColor(x + 16, y));
                red += shot.pixelColor(x, y) == QColor(Qt::red);
                blue += shot.pixelColor(x, y) == QColor(Qt::blue);
            }
            QCOMPARE(red, 16);
            QCOMPARE(blue, 16);
        };
        verifyTiles();

        m_window.reset();
        m_window = m_fixture->makeWindow();
        QVERIFY(themeList().contains(u"Meadow"_s));
        QCOMPARE(m_window->themes().Items.Items(m_window->themes().Items.IndexOfName(u"Meadow"_s))->BGColor, colour);
        m_window->viewPage();
        auto *list = child<QListWidget>(m_window.get(), "lstThemes");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->findItems(u"Meadow"_s, Qt::MatchExactly).value(0)).center());
        verifyTiles();
    }

    // Only OK with a theme selected applies it; only "Edit Themes" also shows it in the
    // preview; a deletion is written and listed whichever way the dialog closes.
    void closingTheDialogDecidesWhatThePageGets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pick");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("theme");
        QTest::addColumn<bool>("refreshed");
        QTest::newRow("Choose Page Theme, OK") << u"btnTheme"_s << u"Ocean"_s << true << u"Ocean"_s << false;
        QTest::newRow("Edit Themes, OK") << u"btnThemeEdit"_s << u"Ocean"_s << true << u"Ocean"_s << true;
        QTest::newRow("Edit Themes, Cancel") << u"btnThemeEdit"_s << u"Ocean"_s << false << u"Default"_s << false;
        QTest::newRow("OK after deleting the selected theme")
            << u"btnThemeEdit"_s << QString() << true << u"Default"_s << false;
        QTest::newRow("Cancel after deleting the selected theme")
            << u"btnTheme"_s << QString() << false << u"Default"_s << false;
    }
    void closingTheDialogDecidesWhatThePageGets()
    {
        QFETCH(QString, pick);
        QFETCH(bool, ok);
        QFETCH(QString, theme);
        QFETCH(bool, refreshed);
        m_window->viewPage();
        const TPagePropertiesBlock before = details();
        const QColor shownBefore = previewBackground();
        whenThemeDialogOpens([pick, ok](TfrmTheme &dialog) {
            QCOMPARE(dialog.selectedIndex(), 0);
            if (pick.isEmpty()) {
                Messages::setNextAnswer(Messages::Yes);
                click(dialog, u"btnRemove"_s);
            } else {
                clickEntry(dialog, pick);
            }
            Messages::clearHistory();
            click(dialog, ok ? u"btnOK"_s : u"btnCancel"_s);
        });
        QFETCH(QString, button);
        // The page details panel's button lies in the Create Page view, behind the preview.
        control<QAbstractButton>(*m_window, button)->click();

        QCOMPARE(details().ThemeName, theme);
        const TThemeItem *applied = m_window->themes().Items.Items(m_window->themes().Items.IndexOfName(theme));
        if (theme == before.ThemeName || !applied)
            QVERIFY(details() == before);
        else
            QCOMPARE(details().BGColor, applied->BGColor);
        QCOMPARE(previewBackground(), refreshed ? qcolor(details().BGColor) : shownBefore);

        TWebTheme saved;
        if (pick.isEmpty()) {
            QVERIFY(LoadThemes(m_fixture->folder() + u"Themes.dat"_s, saved, nullptr));
            QVERIFY(saved == m_window->themes());
            QVERIFY(!themeList().contains(u"Default"_s));
        }
        QCOMPARE(themeList().size(), m_window->themes().Items.Count());
    }
};

QTEST_MAIN(TestThemeCommands)
#include "tst_themes.moc"
