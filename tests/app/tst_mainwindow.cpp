// The main window's document commands, views, theme list and window placement.

#include "appfixture.h"

#include "app/blockeditor.h"
#include "app/windowplacement.h"
#include "document/pagefile.h"
#include "dialogs/miscdialog.h"
#include "dialogs/templatesdialog.h"
#include "dialogs/tipsdialog.h"
#include "platform/gui/help.h"
#include "platform/gui/shell.h"
#include "themes/gui/colorpicker.h"
#include "viewer/htmllite.h"

#include <QLineEdit>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kSavedMessage = u"\"MyPage.html\" page has been automatically saved in your Uploads folder."_s;

// Answers the templates dialog once it is open: picks the entry captioned entry, or cancels
// when entry is empty.
void answerTemplatesDialog(const QString &entry)
{
    QTimer::singleShot(0, [entry] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog && dialog->objectName() == u"TfrmTemplates");
        if (entry.isEmpty()) {
            QTest::mouseClick(child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
            return;
        }
        auto *list = child<QListWidget>(dialog, "lvTemplates");
        const auto items = list->findItems(entry, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        list->setCurrentItem(items.first());
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;

    TBlockList *blocks() const { return child<TBlockList>(m_window.get(), "lstBlocks"); }
    void clickRow(int row)
    {
        QTest::mouseClick(blocks()->viewport(), Qt::LeftButton, {}, rowPoint(blocks(), row));
    }
    QString title(const QString &name) const { return name + u" - " + kApplicationTitle; }
    // Saves under fileName in the projects folder, answering the message that follows with OK.
    bool saveAs(const QString &path)
    {
        FileDialogs::setNextFileName(path);
        Messages::setNextAnswer(Messages::Ok);
        return m_window->savePage();
    }
    QString projects() const { return m_fixture->folder() + u"BriskoFiles/"; }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppFixture>();
        m_window = m_fixture->makeWindow();
    }
    void cleanup()
    {
        QVERIFY2(Messages::shown().isEmpty(), qPrintable(Messages::shown().join(u'|')));
        m_window.reset();
        m_fixture.reset();
    }

    void documentIsNamedByTheFileItCameFrom_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("named");
        QTest::addColumn<bool>("valid");
        QTest::newRow("project") << u"Club.mbe"_s << true << true;
        QTest::newRow("template") << u"Club.mbt"_s << false << true;
        QTest::newRow("template in capitals") << u"Club.MBT"_s << true << true;
        // An unreadable file leaves a new, unnamed page: its name would claim it had been opened.
        QTest::newRow("not a page") << u"Broken.mbe"_s << false << false;
    }
    void documentIsNamedByTheFileItCameFrom()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, named);
        QFETCH(bool, valid);
        const QString path = projects() + fileName;
        if (valid) {
            QVERIFY(QFile::copy(m_fixture->sample(), path));
        } else {
            QFile broken(path);
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write("TPF0\x0aTPagelettX");
            Messages::setNextAnswer(Messages::Ok);
        }
        m_window->loadDocument(path);
        QCOMPARE(m_window->documentName(), named ? path : u"Untitled"_s);
        QCOMPARE(m_window->windowTitle(), title(named ? fileName : u"Untitled"_s));
        QCOMPARE(blocks()->count(), m_window->document().Page.Count());
        QCOMPARE(blocks()->currentRow(), 0);
        if (!valid) {
            QCOMPARE(Messages::shown(), QStringList{kInvalidDocumentMessage});
            QVERIFY(!Messages::lastDetail().isEmpty()); // the reader's reason, beneath the message
            QCOMPARE(blocks()->count(), 4);
            Messages::clearHistory();
        }
        QVERIFY(!m_window->modified());
    }

    void modifiedFlagFollowsCommitsAndNew()
    {
        QVERIFY(!m_window->modified());
        clickRow(2);
        QVERIFY(m_window->modified());
        Messages::setNextAnswer(Messages::Cancel);
        QVERIFY(!m_window->newPage());
        QVERIFY(m_window->modified());
        QCOMPARE(blocks()->currentRow(), 2);
        Messages::setNextAnswer(Messages::No);
        QVERIFY(m_window->newPage());
        QVERIFY(!m_window->modified());
        QCOMPARE(m_window->windowTitle(), title(u"Untitled"_s));
        QCOMPARE(Messages::shown(), (QStringList(2, u"Would you like to save changes to Untitled?"_s)));
        Messages::clearHistory();
        QTest::mouseClick(child<QToolButton>(m_window.get(), "btnPreview"), Qt::LeftButton);
        QVERIFY(m_window->modified()); // generating the page commits the open panel
    }

    // Save commits the open panel first, and stops at a project file it cannot write; a
    // published page it cannot write is reported instead of announced.
    void saveWritesTheProjectAndItsPages_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("publishBlocked");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("saved");
        const QString project = u"BriskoFiles/My Page.mbe"_s;
        QTest::newRow("saved") << project << false << kSavedMessage << true;
        QTest::newRow("project cannot be written") << u"missing/My Page.mbe"_s << false
                                                   << kUnableToCreateFileMessage << false;
        QTest::newRow("published page cannot be written")
            << project << true << u"The page was saved, but \"MyPage.html\" could not be written"_s << true;
    }
    void saveWritesTheProjectAndItsPages()
    {
        QFETCH(QString, target);
        QFETCH(bool, publishBlocked);
        QFETCH(QString, message);
        QFETCH(bool, saved);
        const QString path = m_fixture->folder() + target;
        const QString published = m_fixture->folder() + u"Upload/MyPage.html";
        if (publishBlocked)
            QVERIFY(QDir().mkpath(published)); // a folder where the page belongs
        clickRow(3);
        child<QPlainTextEdit>(m_window.get(), "txtText")->setPlainText(u"Typed just before Save"_s);

        QCOMPARE(saveAs(path), saved);
        QCOMPARE(FileDialogs::lastFilter(), u"Brisko Files|*.mbe"_s);
        QCOMPARE(FileDialogs::lastFolder(), projects());
        const QStringList shown = Messages::shown();
        Messages::clearHistory();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(message), qPrintable(shown.first()));
        if (!saved)
            QVERIFY2(Messages::lastDetail().contains(u"My Page.mbe"), qPrintable(Messages::lastDetail()));
        QCOMPARE(m_window->documentName(), saved ? path : u"Untitled"_s);
        QCOMPARE(m_window->windowTitle(), saved ? title(u"My Page.mbe"_s) : QString(kApplicationTitle + u" - Untitled"));
        QCOMPARE(m_window->modified(), !saved);
        QCOMPARE(QFile::exists(projects() + u"My Page.html"), saved);
        QCOMPARE(QFileInfo(published).isFile(), saved && !publishBlocked);
        if (saved) {
            const auto file = LoadDocument(path, nullptr);
            QVERIFY(file);
            QCOMPARE(file->Page.Items(3)->TextBlock.Text, u"Typed just before Save"_s);
        }
    }

    void closingAsksAboutUnsavedChanges_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveTo"); // empty: the save dialog is cancelled
        QTest::addColumn<bool>("closes");
        const QString good = u"BriskoFiles/My Page.mbe"_s, bad = u"missing/My Page.mbe"_s;
        QTest::newRow("no") << int(Messages::No) << QString() << true;
        QTest::newRow("cancel") << int(Messages::Cancel) << QString() << false;
        QTest::newRow("yes, saved") << int(Messages::Yes) << good << true;
        QTest::newRow("yes, save dialog cancelled") << int(Messages::Yes) << QString() << false;
        QTest::newRow("yes, save failed") << int(Messages::Yes) << bad << false;
    }
    void closingAsksAboutUnsavedChanges()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, closes);
        clickRow(1);
        Messages::setNextAnswer(answer);
        if (answer == Messages::Yes)
            FileDialogs::setNextFileName(saveTo.isEmpty() ? QString() : m_fixture->folder() + saveTo);
        if (!saveTo.isEmpty())
            Messages::setNextAnswer(Messages::Ok);
        QCOMPARE(m_window->close(), closes);
        QCOMPARE(m_window->isVisible(), !closes);
        QCOMPARE(Messages::shown().first(), u"Would you like to save changes to Untitled?"_s);
        Messages::clearHistory();
        if (!saveTo.isEmpty() && saveTo.startsWith(u"missing"))
            QVERIFY(m_window->modified());
    }

    void saveAsTemplateWritesTheTemplateAndItsPreview()
    {
        const QString elsewhere = m_fixture->root() + u"Club.mbt";
        FileDialogs::setNextFileName(elsewhere);
        QVERIFY(m_window->saveAsTemplate());
        QCOMPARE(FileDialogs::lastFilter(), u"Brisko Template|*.mbt"_s);
        QCOMPARE(FileDialogs::lastFolder(), QString(m_fixture->folder() + u"Templates/"));
        QVERIFY(QFile::exists(elsewhere));
        QVERIFY(QFile::exists(m_fixture->folder() + u"Templates/Club.html"));
        QCOMPARE(m_window->documentName(), u"Untitled"_s);
    }

    void openLoadsTheChosenFile_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("blockCount");
        QTest::newRow("project") << u"Walking Club"_s << u"BriskoFiles/Walking Club.mbe"_s << 10;
        QTest::newRow("cancelled: the new page stays") << QString() << u"Untitled"_s << 4;
    }
    void openLoadsTheChosenFile()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(int, blockCount);
        m_window->loadDocument(m_fixture->sample());
        clickRow(1);
        Messages::setNextAnswer(Messages::No);
        answerTemplatesDialog(entry);
        m_window->openPage();
        Messages::clearHistory();
        QCOMPARE(m_window->documentName(), entry.isEmpty() ? name : m_fixture->folder() + name);
        QCOMPARE(m_window->document().Page.Count(), blockCount);
        QCOMPARE(blocks()->count(), blockCount);
    }

    void savedPageComesBackThroughOpen()
    {
        clickRow(2);
        child<QLineEdit>(m_window.get(), "txtLinkAddress")->setText(u"http://example.org/"_s);
        QVERIFY(saveAs(projects() + u"Round Trip.mbe"));
        const TPagelette saved = m_window->document();
        Messages::clearHistory();
        answerTemplatesDialog(u"Round Trip"_s);
        m_window->openPage();
        QVERIFY(m_window->document() == saved);
        QCOMPARE(m_window->document().Page.Items(2)->LinkBlock.LinkURL, u"http://example.org/"_s);
        QCOMPARE(m_window->documentName(), QString(projects() + u"Round Trip.mbe"));
    }

    void viewPageShowsThePageInItsThemeColours()
    {
        m_window->loadDocument(m_fixture->sample());
        QTest::mouseClick(child<QToolButton>(m_window.get(), "btnPreview"), Qt::LeftButton);
        auto *browser = child<ThtmlLite>(m_window.get(), "browser");
        QVERIFY(browser->isVisible());
        QVERIFY(!child<QWidget>(m_window.get(), "pnlCreate")->isVisible());
        QCOMPARE(browser->ServerRoot(), QString(m_fixture->folder() + u"Upload"));
        QVERIFY(browser->DocumentText().contains(u"Riverside Walking Club"_s));
        auto *themes = child<QListWidget>(m_window.get(), "lstThemes");
        QCOMPARE(themes->currentItem()->text(), u"Forest"_s);
        const auto background = [browser] {
            const QImage shot = browser->grab().toImage();
            return shot.pixelColor(5, shot.height() / 2); // in the page's left margin
        };
        QCOMPARE(background(), QColor(0xEE, 0xF5, 0xE9));
        const QString shots = qEnvironmentVariable("BRISKO_SCREENSHOTS");
        if (!shots.isEmpty())
            m_window->grab().save(shots + u"/view-page.png");

        const QListWidgetItem *ocean = themes->findItems(u"Ocean"_s, Qt::MatchExactly).value(0);
        QVERIFY(ocean);
        QTest::mouseClick(themes->viewport(), Qt::LeftButton, {}, themes->visualItemRect(ocean).center());
        const TPagePropertiesBlock &details = m_window->document().Page.Items(0)->PagePropertiesBlock;
        QCOMPARE(details.ThemeName, u"Ocean"_s);
        const TColor bg = m_window->themes().Items.Items(themes->row(ocean))->BGColor;
        QCOMPARE(details.BGColor, bg);
        QCOMPARE(background(), QColor(bg & 0xFF, (bg >> 8) & 0xFF, (bg >> 16) & 0xFF));

        auto *toggle = child<QToolButton>(m_window.get(), "btnToggle");
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(!themes->isVisible());
        QVERIFY(!child<QWidget>(m_window.get(), "bevSpacer")->isVisible());
        QTest::mouseClick(toggle, Qt::LeftButton);
        QVERIFY(themes->isVisible());
        if (!shots.isEmpty()) {
            m_window->showCreateView();
            m_window->grab().save(shots + u"/create-page.png");
        }
    }

    // At its smallest the window still gives the block editor all the room its panels need.
    void smallestWindowKeepsThePanelsWhole()
    {
        m_window->loadDocument(m_fixture->sample());
        m_window->showNormal();
        m_window->resize(1, 1);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(m_window->width() >= 628 && m_window->height() >= 478);
        TBlockEditor *editor = m_window->blockEditor();
        for (int row = 0; row < blocks()->count(); ++row) {
            clickRow(row);
            QCoreApplication::processEvents();
            QVERIFY2(editor->width() >= editor->minimumSizeHint().width(),
                     qPrintable(u"row %1: %2 < %3"_s.arg(row).arg(editor->width()).arg(editor->minimumSizeHint().width())));
            QVERIFY2(editor->height() >= editor->minimumSizeHint().height(), qPrintable(QString::number(row)));
        }
    }

    void pageThatCannotBeMadeIsReported()
    {
        editBlock(*m_window, 0, [](TBlockEdit &edit) { edit.Item.PagePropertiesBlock.IndentMargin = u"wide"_s; });
        Messages::setNextAnswer(Messages::Ok);
        m_window->viewPage();
        QCOMPARE(Messages::shown(), QStringList{u"Error Creating Web Page"_s});
        QCOMPARE(Messages::lastDetail(), u"'wide' is not a valid integer value"_s);
        Messages::clearHistory();
    }

    // Preview Page writes the page for the browser beside the projects and hands it over; a
    // file that cannot be written is reported and nothing is opened.
    void previewPageOpensThePageInTheBrowser_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("browser");
        QTest::newRow("opened") << true << true;
        QTest::newRow("no browser") << true << false;
        QTest::newRow("preview file cannot be written") << false << true;
    }
    void previewPageOpensThePageInTheBrowser()
    {
        QFETCH(bool, writable);
        QFETCH(bool, browser);
        const QString preview = projects() + u"~tmp.html";
        QList<QUrl> opened;
        SetOpenUrlHandler([&](const QUrl &url) {
            opened.append(url);
            return browser;
        });
        if (!writable)
            QVERIFY(QDir().mkpath(preview)); // a folder where the file belongs
        editBlock(*m_window, 2, [](TBlockEdit &edit) {
            edit.Item.LinkBlock.UseDropBox = true;
            edit.Item.LinkBlock.DropBoxText = u"http://example.org/\tExample\r\n"_s;
        });
        auto *button = child<QToolButton>(m_window.get(), "btnExternalView");
        for (int click = 0; click < 2; ++click) { // the second preview overwrites the first
            if (!browser || !writable)
                Messages::setNextAnswer(Messages::Ok);
            button->click();
        }
        if (!browser) { // a web link of the program keeps its own message
            Messages::setNextAnswer(Messages::Ok);
            child<QToolButton>(m_window.get(), "btnHosting")->click();
        }
        SetOpenUrlHandler({});
        if (!writable) {
            QVERIFY(opened.isEmpty());
            QCOMPARE(Messages::shown().value(0), u"The page could not be written for the web browser."_s);
            QVERIFY(Messages::lastDetail().contains(u"~tmp.html"));
            Messages::clearHistory();
            return;
        }
        QCOMPARE(opened.mid(0, 2), QList<QUrl>(2, QUrl::fromLocalFile(preview)));
        QFile file(preview);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("document.write"));
        if (!browser) {
            QCOMPARE(
                Messages::shown(),
                QStringList(2, u"No program to open web pages was found. The preview page is in %1."_s.arg(preview))
                    << kNoDefaultClientMessage.toString());
            Messages::clearHistory();
        }
        // Closing the window takes the file away.
        Messages::setNextAnswer(Messages::No);
        QVERIFY(m_window->close());
        Messages::clearHistory();
        QVERIFY(!QFile::exists(preview));
    }

    // Every control and menu of the program that offers help leads to a written page.
    void everyHelpTopicHasAPage()
    {
        TfrmTemplates templates(m_fixture->folder());
        TfrmMisc misc;
        TfrmColor picker(nullptr, QStringLiteral(BRISKO_PROGRAM_DIR)); // with the shipped palettes
        TfrmTips tips(m_fixture->folder(), true);
        QStringList missing;
        int offered = 0;
        for (const QWidget *window : std::initializer_list<const QWidget *>{m_window.get(), &templates, &misc, &picker, &tips}) {
            for (const QWidget *widget : window->findChildren<QWidget *>()) {
                if (const int topic = Help::topicOf(widget)) {
                    ++offered;
                    if (!QFile::exists(u":/help/%1.html"_s.arg(topic)))
                        missing.append(widget->objectName() + u" → "_s + QString::number(topic));
                }
            }
        }
        // The help menu's contents, and the saved-page message's Help button.
        for (const QString &page : {u"contents"_s, u"171"_s}) {
            if (!QFile::exists(u":/help/%1.html"_s.arg(page)))
                missing.append(page);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u", ")));
        QVERIFY(offered > 80);
    }

    void failedFileTypeRegistrationStillOpensTheFile_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::newRow("registered") << true;
        QTest::newRow("data folder unusable") << false;
    }
    void failedFileTypeRegistrationStillOpensTheFile()
    {
        QFETCH(bool, writable);
        const QString data = m_fixture->root() + u"desktop";
        if (!writable) {
            QFile blocker(data); // a file where the folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            Messages::setNextAnswer(Messages::Ok);
        }
        AppFixture::useDataFolder(data);
        m_window = m_fixture->makeWindow({m_fixture->sample()});
        QCOMPARE(Messages::shown().size(), writable ? 0 : 1);
        Messages::clearHistory();
        QCOMPARE(QFile::exists(data + u"/applications/brisko.desktop"), writable);
        // The icons, at the sizes they are drawn in.
        for (const char *icon : {"16x16/apps/brisko.png", "128x128/apps/brisko.png",
                                 "64x64/mimetypes/application-x-brisko-project.png",
                                 "32x32/mimetypes/application-x-brisko-template.png"})
            QVERIFY2(QFile::exists(data + u"/icons/hicolor/" + QLatin1StringView(icon)) == writable, icon);
        QCOMPARE(m_window->documentName(), m_fixture->sample());
        QCOMPARE(blocks()->count(), 10);
        QVERIFY(child<QToolButton>(m_window.get(), "btnCreate")->isChecked());
        QVERIFY(child<QWidget>(m_window.get(), "pnlCreate")->isVisible());
    }

    void placementIsRead_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<QRect>("bounds");
        QTest::addColumn<int>("paneWidth");
        const QRect current(5, 6, 700, 500);
        QTest::newRow("first start") << QString() << QString() << QString() << false << current << 250;
        QTest::newRow("normal") << u"Normal"_s << u"900"_s << u"600"_s << true << QRect(20, 10, 900, 500) << 500;
        QTest::newRow("normal in other letters") << u"normal"_s << u"900"_s << u"300"_s << false << current << 300;
        QTest::newRow("not numbers") << u"Normal"_s << u"wide"_s << u"x"_s << true << QRect(20, 10, 700, 500) << 250;
    }
    void placementIsRead()
    {
        QFETCH(QString, state);
        QFETCH(QString, width);
        QFETCH(QString, pane);
        QFETCH(bool, normal);
        QFETCH(QRect, bounds);
        QFETCH(int, paneWidth);
        SettingsStore store(m_fixture->root() + u"placement.ini");
        const auto put = [&store](const char *name, const QString &value) {
            if (!value.isEmpty())
                store.writeString(u"Position"_s, QString::fromLatin1(name), value);
        };
        put("WindowState", state);
        put("Width", width);
        put("PaneWidth", pane);
        put("Top", u"10"_s);
        put("Left", u"20"_s);
        const TWindowPlacement placement = ReadWindowPlacement(store, QRect(5, 6, 700, 500), 250);
        QCOMPARE(placement.normal, normal);
        QCOMPARE(placement.bounds, bounds);
        QCOMPARE(placement.paneWidth, paneWidth);
        QCOMPARE(ReadShowTips(store), 1);
    }

    void placementIsStoredOnClose_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("storedState");
        QTest::addColumn<QString>("storedWidth");
        QTest::newRow("normal") << int(Qt::WindowNoState) << u"Normal"_s << u"910"_s;
        QTest::newRow("maximized: bounds untouched") << int(Qt::WindowMaximized) << u"Maximized"_s << u"1000"_s;
        QTest::newRow("minimized: pane only") << int(Qt::WindowMinimized) << u"Normal"_s << u"1000"_s;
    }
    void placementIsStoredOnClose()
    {
        QFETCH(int, state);
        QFETCH(QString, storedState);
        QFETCH(QString, storedWidth);
        m_window->resize(910, 640);
        m_window->setPaneWidth(320);
        QTRY_COMPARE(m_window->paneWidth(), 320);
        m_window->setWindowState(Qt::WindowStates(state));
        QVERIFY(m_window->close());
        const SettingsStore &store = SettingsStore::instance();
        QCOMPARE(store.readString(u"Position"_s, u"WindowState"_s), storedState);
        QCOMPARE(store.readString(u"Position"_s, u"Width"_s), storedWidth);
        QCOMPARE(store.readInteger(u"Position"_s, u"PaneWidth"_s, 0), 320);
        if (state == Qt::WindowNoState) {
            auto reopened = m_fixture->makeWindow();
            QCOMPARE(reopened->size(), QSize(910, 640));
            QTRY_COMPARE(reopened->paneWidth(), 320);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
