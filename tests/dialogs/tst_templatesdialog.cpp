#include "art/art.h"
#include "dialogs/templatesdialog.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "viewer/htmllite.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A preview page whose title and text name it.
QByteArray previewPage(const QString &name)
{
    return "<HTML><HEAD><TITLE>" + name.toLatin1() + "</TITLE></HEAD><BODY><P>" + name.toLatin1() +
           " page</P><A HREF=\"elsewhere.html\">away</A></BODY></HTML>\r\n";
}

} // namespace

class TestTemplatesDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listsTemplatesThenProjects_data();
    void listsTemplatesThenProjects();
    void selectingAnEntryChoosesItsFileAndShowsItsPreview_data();
    void selectingAnEntryChoosesItsFileAndShowsItsPreview();
    void doubleClickOnAnEntryAccepts();
    void buttonsAndKeysClose_data();
    void buttonsAndKeysClose();
    void browseChoosesAnyFile_data();
    void browseChoosesAnyFile();
    void deleteAsksThenRemoves_data();
    void deleteAsksThenRemoves();
    void linksInThePreviewAreNeverFollowed();
    void fixedSizeCentredAndUnclipped();

private:
    QString folder() const { return m_dir->path() + u'/'; }
    void write(const QString &relative, const QByteArray &content = "TPF0");
    void addEntry(const QString &relative, bool withPreview);
    std::unique_ptr<TfrmTemplates> shownDialog();
    static void clickEntry(QListWidget *list, const QString &caption);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTemplatesDialog::initTestCase()
{
    Messages::setTestMode(true);
}

void TestTemplatesDialog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir(folder()).mkpath(u"Templates"_s);
    QDir(folder()).mkpath(u"BriskoFiles"_s);
    Messages::clearHistory();
}

void TestTemplatesDialog::cleanup()
{
    m_dir.reset();
}

void TestTemplatesDialog::write(const QString &relative, const QByteArray &content)
{
    const QString path = folder() + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

// A template or project file and, when asked for, its preview page titled by its base name.
void TestTemplatesDialog::addEntry(const QString &relative, bool withPreview)
{
    write(relative);
    if (withPreview) {
        const QString base = relative.left(relative.lastIndexOf(u'.'));
        write(base + u".html"_s, previewPage(QFileInfo(base).fileName()));
    }
}

std::unique_ptr<TfrmTemplates> TestTemplatesDialog::shownDialog()
{
    auto dialog = std::make_unique<TfrmTemplates>(folder());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        qWarning("the templates dialog was not exposed");
    return dialog;
}

void TestTemplatesDialog::clickEntry(QListWidget *list, const QString &caption)
{
    const QList<QListWidgetItem *> found = list->findItems(caption, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(caption));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

void TestTemplatesDialog::listsTemplatesThenProjects_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("icons");

    QTest::newRow("templates before projects, each folder by name")
        << QStringList{u"BriskoFiles/Club.mbe"_s, u"Templates/Plain.mbt"_s, u"Templates/Fancy.mbt"_s,
                       u"BriskoFiles/About me.mbe"_s}
        << QStringList{u"Fancy"_s, u"Plain"_s, u"About me"_s, u"Club"_s} << QList<int>{0, 0, 1, 1};
    QTest::newRow("names sorted without regard to case")
        << QStringList{u"Templates/beta.mbt"_s, u"Templates/Alpha.mbt"_s, u"Templates/Gamma.mbt"_s}
        << QStringList{u"Alpha"_s, u"beta"_s, u"Gamma"_s} << QList<int>{0, 0, 0};
    QTest::newRow("a bare name ending in mbt has an empty caption")
        << QStringList{u"Templates/xmbt"_s, u"BriskoFiles/ymbe"_s} << QStringList{QString(), QString()}
        << QList<int>{0, 1};
    QTest::newRow("caption keeps every dot but the last")
        << QStringList{u"Templates/v1.2 page.mbt"_s} << QStringList{u"v1.2 page"_s} << QList<int>{0};
    QTest::newRow("other extensions and the wrong folder are left out")
        << QStringList{u"Templates/Page.html"_s,  u"Templates/Page.mbe"_s,   u"Templates/Page.mbt.bak"_s,
                       u"BriskoFiles/Page.mbt"_s, u"BriskoFiles/Page.MBE"_s, u"Templates/Page.mbt"_s}
        << QStringList{u"Page"_s} << QList<int>{0};
    QTest::newRow("folders named like templates are left out")
        << QStringList{u"Templates/Folder.mbt/inside.txt"_s, u"Templates/Real.mbt"_s} << QStringList{u"Real"_s}
        << QList<int>{0};
    QTest::newRow("empty folders") << QStringList{} << QStringList{} << QList<int>{};
}

void TestTemplatesDialog::listsTemplatesThenProjects()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, icons);
    for (const QString &file : files)
        write(file);

    TfrmTemplates dialog(folder());
    auto *list = dialog.findChild<QListWidget *>(u"lvTemplates"_s);
    QVERIFY(list);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->text());
    QCOMPARE(shown, captions);
    for (int i = 0; i < list->count(); ++i) {
        const QImage icon = list->item(i)->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage expected = Art::documentIcon(icons[i]).toImage().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(icon == expected, qPrintable(u"icon of entry %1"_s.arg(i)));
    }
    QVERIFY(!dialog.findChild<QPushButton *>(u"btnOK"_s)->isEnabled());
    QVERIFY(dialog.SelectedFile().isEmpty());
}

void TestTemplatesDialog::selectingAnEntryChoosesItsFileAndShowsItsPreview_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("withPreview");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("serverRoot");
    QTest::addColumn<QString>("title");

    QTest::newRow("template") << u"Templates/Plain.mbt"_s << true << u"Plain"_s << u"Templates/Plain.mbt"_s
                              << u"Templates"_s << u"Plain"_s;
    QTest::newRow("project") << u"BriskoFiles/Club.mbe"_s << true << u"Club"_s << u"BriskoFiles/Club.mbe"_s
                             << u"BriskoFiles"_s << u"Club"_s;
    QTest::newRow("dotted name") << u"Templates/v1.2.mbt"_s << true << u"v1.2"_s << u"Templates/v1.2.mbt"_s
                                 << u"Templates"_s << u"v1.2"_s;
    // Without a preview page the viewer keeps the page shown before.
    QTest::newRow("project without preview") << u"BriskoFiles/Bare.mbe"_s << false << u"Bare"_s
                                             << u"BriskoFiles/Bare.mbe"_s << u"BriskoFiles"_s << u"Other"_s;
    // The file is rebuilt from the caption, so a bare "xmbt" stands for ".mbt".
    QTest::newRow("bare name") << u"Templates/xmbt"_s << false << QString() << u"Templates/.mbt"_s << u"Templates"_s
                               << u"Other"_s;
}

void TestTemplatesDialog::selectingAnEntryChoosesItsFileAndShowsItsPreview()
{
    QFETCH(QString, file);
    QFETCH(bool, withPreview);
    QFETCH(QString, caption);
    QFETCH(QString, selected);
    QFETCH(QString, serverRoot);
    QFETCH(QString, title);
    addEntry(file, withPreview);
    addEntry(u"Templates/Other.mbt"_s, true);

    const auto dialog = shownDialog();
    auto *list = dialog->findChild<QListWidget *>(u"lvTemplates"_s);
    auto *browser = dialog->findChild<ThtmlLite *>(u"browser"_s);
    clickEntry(list, u"Other"_s);
    clickEntry(list, caption);

    QVERIFY(dialog->findChild<QPushButton *>(u"btnOK"_s)->isEnabled());
    QCOMPARE(dialog->SelectedFile(), folder() + selected);
    QCOMPARE(browser->ServerRoot(), folder() + serverRoot);
    QCOMPARE(browser->DocumentTitle(), title);
    QVERIFY(browser->DocumentText().contains(title + u" page"_s));
}

void TestTemplatesDialog::doubleClickOnAnEntryAccepts()
{
    addEntry(u"Templates/Plain.mbt"_s, false);
    addEntry(u"BriskoFiles/Club.mbe"_s, false);
    const auto dialog = shownDialog();
    auto *list = dialog->findChild<QListWidget *>(u"lvTemplates"_s);

    // On the empty space below the entries nothing happens.
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, list->viewport()->height() - 5));
    QVERIFY(dialog->isVisible());

    const QListWidgetItem *club = list->findItems(u"Club"_s, Qt::MatchExactly).value(0);
    QVERIFY(club);
    const QPoint at = list->visualItemRect(club).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->SelectedFile(), folder() + u"BriskoFiles/Club.mbe"_s);
}

void TestTemplatesDialog::buttonsAndKeysClose_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");

    QTest::newRow("OK") << u"btnOK"_s << 0 << int(QDialog::Accepted);
    QTest::newRow("Enter presses OK") << QString() << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Cancel") << u"btnCancel"_s << 0 << int(QDialog::Rejected);
    QTest::newRow("Escape") << QString() << int(Qt::Key_Escape) << int(QDialog::Rejected);
}

void TestTemplatesDialog::buttonsAndKeysClose()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, result);
    addEntry(u"Templates/Plain.mbt"_s, false);
    const auto dialog = shownDialog();
    clickEntry(dialog->findChild<QListWidget *>(u"lvTemplates"_s), u"Plain"_s);

    if (!button.isEmpty())
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    else
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get(), Qt::Key(key));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), result);
}

void TestTemplatesDialog::browseChoosesAnyFile_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<bool>("withPreview");
    QTest::addColumn<QString>("title");

    QTest::newRow("with a preview page beside it") << u"Elsewhere/Gamma.mbt"_s << true << u"Gamma"_s;
    QTest::newRow("without a preview page") << u"Elsewhere/Delta.mbe"_s << false << QString();
    QTest::newRow("cancelled") << QString() << false << QString();
}

void TestTemplatesDialog::browseChoosesAnyFile()
{
    QFETCH(QString, picked);
    QFETCH(bool, withPreview);
    QFETCH(QString, title);
    if (!picked.isEmpty())
        addEntry(picked, withPreview);
    const auto dialog = shownDialog();
    auto *browser = dialog->findChild<ThtmlLite *>(u"browser"_s);

    const QString path = picked.isEmpty() ? QString() : folder() + picked;
    FileDialogs::setNextFileName(path);
    QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnOpen"_s), Qt::LeftButton);

    QCOMPARE(FileDialogs::lastFilter(), u"Brisko Template|*.mbt|Brisko Files|*.mbe"_s);
    QCOMPARE(FileDialogs::lastFolder(), folder() + u"BriskoFiles/"_s);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->SelectedFile(), path);
    QCOMPARE(dialog->findChild<QPushButton *>(u"btnOK"_s)->isEnabled(), !path.isEmpty());
    QCOMPARE(browser->DocumentTitle(), title);
    if (withPreview)
        QCOMPARE(browser->ServerRoot(), folder() + u"Elsewhere"_s);
}

void TestTemplatesDialog::deleteAsksThenRemoves_data()
{
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("fileVanished");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("entryKept");
    QTest::addColumn<bool>("filesKept");
    QTest::addColumn<bool>("previewShown");

    QTest::newRow("Yes removes file, preview page and entry")
        << true << false << int(Messages::Yes) << false << false << false;
    QTest::newRow("No changes nothing") << true << false << int(Messages::No) << true << true << true;
    QTest::newRow("a vanished file leaves its entry") << true << true << int(Messages::Yes) << true << true << false;
    QTest::newRow("nothing selected asks nothing") << false << false << 0 << true << true << false;
}

void TestTemplatesDialog::deleteAsksThenRemoves()
{
    QFETCH(bool, select);
    QFETCH(bool, fileVanished);
    QFETCH(int, answer);
    QFETCH(bool, entryKept);
    QFETCH(bool, filesKept);
    QFETCH(bool, previewShown);
    addEntry(u"Templates/Alpha.mbt"_s, true);
    addEntry(u"Templates/Beta.mbt"_s, true);
    const QString file = folder() + u"Templates/Alpha.mbt"_s;
    const QString preview = folder() + u"Templates/Alpha.html"_s;

    const auto dialog = shownDialog();
    auto *list = dialog->findChild<QListWidget *>(u"lvTemplates"_s);
    auto *browser = dialog->findChild<ThtmlLite *>(u"browser"_s);
    auto *ok = dialog->findChild<QPushButton *>(u"btnOK"_s);
    if (select)
        clickEntry(list, u"Alpha"_s);
    if (fileVanished)
        QVERIFY(QFile::remove(file));
    if (answer)
        Messages::setNextAnswer(answer);
    QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnDelete"_s), Qt::LeftButton);

    QCOMPARE(Messages::shown(), answer ? QStringList{u"Do you want to delete Alpha?"_s} : QStringList{});
    QCOMPARE(!list->findItems(u"Alpha"_s, Qt::MatchExactly).isEmpty(), entryKept);
    QVERIFY(!list->findItems(u"Beta"_s, Qt::MatchExactly).isEmpty());
    QCOMPARE(QFile::exists(file), filesKept && !fileVanished);
    QCOMPARE(QFile::exists(preview), filesKept);
    QCOMPARE(browser->DocumentTitle(), previewShown ? u"Alpha"_s : QString());
    QCOMPARE(ok->isEnabled(), previewShown);
    if (answer == Messages::Yes) {
        // Nothing takes the deleted entry's place: OK stays off until the user chooses again.
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(dialog->SelectedFile(), file);
        QVERIFY(browser->DocumentText().trimmed().isEmpty());
    }
}

void TestTemplatesDialog::linksInThePreviewAreNeverFollowed()
{
    TfrmTemplates dialog(folder());
    auto *browser = dialog.findChild<ThtmlLite *>(u"browser"_s);
    bool handled = false;
    Q_EMIT browser->OnHotSpotClick(u"elsewhere.html"_s, handled);
    QVERIFY(handled);
}

void TestTemplatesDialog::fixedSizeCentredAndUnclipped()
{
    addEntry(u"Templates/A template with a rather long name.mbt"_s, false);
    const auto dialog = shownDialog();
    QCOMPARE(dialog->windowTitle(), u"Templates"_s);
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY2(qAbs(dialog->width() - 545) <= 20 && qAbs(dialog->height() - 345) <= 20,
             qPrintable(u"%1 x %2"_s.arg(dialog->width()).arg(dialog->height())));
    const QPoint centre = dialog->screen()->availableGeometry().center();
    // The frame, unknown until the window is shown, may shift it by its width.
    QVERIFY2((dialog->frameGeometry().center() - centre).manhattanLength() <= 10,
             qPrintable(u"centre %1,%2 on a screen centred at %3,%4"_s.arg(dialog->frameGeometry().center().x())
                            .arg(dialog->frameGeometry().center().y())
                            .arg(centre.x())
                            .arg(centre.y())));
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->objectName()));
        QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(button->objectName()));
    }
    QVERIFY(!dialog->findChild<QPushButton *>(u"btnOpen"_s)->icon().isNull());
    QVERIFY(!dialog->findChild<QPushButton *>(u"btnDelete"_s)->icon().isNull());
    QCOMPARE(Help::topicOf(dialog->findChild<QListWidget *>(u"lvTemplates"_s)), 64);
    QCOMPARE(Help::topicOf(dialog->findChild<ThtmlLite *>(u"browser"_s)), 76);
}

QTEST_MAIN(TestTemplatesDialog)
#include "tst_templatesdialog.moc"
