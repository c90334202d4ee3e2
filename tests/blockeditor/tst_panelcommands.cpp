#include "editorfixture.h"

#include "app/panels/bulletspanel.h"
#include "app/panels/imagepanel.h"
#include "app/panels/linkpanel.h"
#include "app/panels/panelcommands.h"
#include "app/panels/paragraphpanel.h"
#include "dialogs/miscdialog.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/listboxhrz.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::StringLiterals;

// The commands more than one panel offers, from the buttons of each panel that offers them:
// link targets from a favourite or a bookmark (link and image panels), and text import
// (paragraph and bullet list panels).
class TestPanelCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void favoriteFillsTheTaggedEditBox_data();
    void favoriteFillsTheTaggedEditBox();
    void bookmarkFillsTheTaggedEditBox();
    void textImportInsertsLinesAtTheCaret_data();
    void textImportInsertsLinesAtTheCaret();

private:
    QWidget *widget(const char *name) const { return control(*m_host, name); }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(*m_host, name); }

    QTemporaryDir m_dir;
    // The four panels side by side.
    std::unique_ptr<QWidget> m_host;
};

void TestPanelCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));
    Messages::setTestMode(true);
}

void TestPanelCommands::init()
{
    Messages::clearHistory();
    m_host = std::make_unique<QWidget>();
    auto *layout = new QHBoxLayout(m_host.get());
    layout->addWidget(new TLinkPanel);
    layout->addWidget(new TImagePanel);
    layout->addWidget(new TParagraphPanel);
    layout->addWidget(new TBulletsPanel);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void TestPanelCommands::cleanup()
{
    m_host.reset();
}

void TestPanelCommands::favoriteFillsTheTaggedEditBox_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("other");
    QTest::newRow("link panel") << u"btnLinkIE"_s << u"txtLinkAddress"_s << u"txtImageLink"_s;
    QTest::newRow("image panel") << u"btnImageIE"_s << u"txtImageLink"_s << u"txtLinkAddress"_s;
}

void TestPanelCommands::favoriteFillsTheTaggedEditBox()
{
    QFETCH(QString, button);
    QFETCH(QString, target);
    QFETCH(QString, other);
    const QString shortcut = m_dir.filePath(u"Walks.url"_s);
    QVERIFY(writeFile(shortcut, "[DEFAULT]\r\nBASEURL=http://wrong.example/\r\n"
                                "[internetshortcut]\r\nurl=http://walks.example/\r\nURL=http://second.example/\r\n"));
    const QString empty = m_dir.filePath(u"Empty.url"_s);
    QVERIFY(writeFile(empty, "[InternetShortcut]\r\nIconIndex=0\r\n"));

    const QByteArray buttonName = button.toLatin1();
    const QByteArray targetName = target.toLatin1();
    retype(*m_host, targetName.constData(), u"before"_s);
    FileDialogs::setNextFileName(shortcut);
    clickButton(widget(buttonName.constData()));
    QCOMPARE(FileDialogs::lastFilter(), u"Internet Shortcuts|*.url"_s);
    QCOMPARE(FileDialogs::lastFolder(), PanelCommands::favoritesFolder());
    QCOMPARE(edit(targetName.constData())->text(), u"http://walks.example/"_s);
    QVERIFY(edit(other.toLatin1().constData())->text().isEmpty());

    // A shortcut without an address, or Cancel, changes nothing.
    FileDialogs::setNextFileName(empty);
    clickButton(widget(buttonName.constData()));
    FileDialogs::setNextFileName(QString());
    clickButton(widget(buttonName.constData()));
    QCOMPARE(edit(targetName.constData())->text(), u"http://walks.example/"_s);
}

void TestPanelCommands::bookmarkFillsTheTaggedEditBox()
{
    const QString marks = m_dir.filePath(u"bookmarks.html"_s);
    QVERIFY(writeFile(marks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                             "    <DT><A HREF=\"https://www.debian.org/\" ADD_DATE=\"1712345680\">Debian</A>\n"
                             "    <DT><A HREF=\"https://doc.qt.io/qt-6/\">Qt 6</A>\n</DL><p>\n"));
    {
        QSettings store(m_dir.filePath(u"settings.ini"_s), QSettings::IniFormat);
        store.setValue(u"Software/Netscape/Netscape Navigator/Bookmark List/File Location"_s, marks);
    }
    SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));

    onNextDialog(m_host.get(), [](TfrmMisc *dialog) {
        auto *list = dialog->findChild<TListBoxHrz *>(u"lstBookmarks"_s);
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s));
    });
    clickButton(widget("btnImageNetscape"));
    QCOMPARE(edit("txtImageLink")->text(), u"https://doc.qt.io/qt-6/"_s);
    QVERIFY(edit("txtLinkAddress")->text().isEmpty());

    onNextDialog(m_host.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnOK"_s)); });
    clickButton(widget("btnLinkNetscape"));
    QCOMPARE(edit("txtLinkAddress")->text(), u"https://www.debian.org/"_s);

    onNextDialog(m_host.get(), [](TfrmMisc *dialog) { clickButton(dialog->findChild<QPushButton *>(u"btnCancel"_s)); });
    clickButton(widget("btnLinkNetscape"));
    QCOMPARE(edit("txtLinkAddress")->text(), u"https://www.debian.org/"_s);
}

void TestPanelCommands::textImportInsertsLinesAtTheCaret_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("paragraph, CR LF") << u"btnTextImport"_s << u"txtText"_s << QByteArray("one\r\ntwo\r\nthree")
                                      << u"one\ntwo\nthree\n"_s;
    QTest::newRow("bullets, LF and CR") << u"btnBulletImport"_s << u"txtBullets"_s << QByteArray("one\ntwo\rthree\n")
                                        << u"one\ntwo\nthree\n"_s;
    QTest::newRow("UTF-8") << u"btnTextImport"_s << u"txtText"_s << QByteArray("Caf\xc3\xa9 \xd0\x96\n")
                           << u"Café Ж\n"_s;
    QTest::newRow("Windows-1252") << u"btnTextImport"_s << u"txtText"_s << QByteArray("Caf\xe9 \x80\n")
                                  << u"Café €\n"_s;
}

void TestPanelCommands::textImportInsertsLinesAtTheCaret()
{
    QFETCH(QString, button);
    QFETCH(QString, memo);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, inserted);
    const QString path = m_dir.filePath(u"import.txt"_s);
    QVERIFY(writeFile(path, bytes));

    auto *box = control<QPlainTextEdit>(*m_host, memo.toLatin1().constData());
    box->setPlainText(u"Before [old] after"_s);
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(7);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);

    FileDialogs::setNextFileName(path);
    clickButton(widget(button.toLatin1().constData()));
    QCOMPARE(FileDialogs::lastFilter(), u"Text Files|*.txt"_s);
    QCOMPARE(box->toPlainText(), u"Before "_s + inserted + u" after"_s);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // A file that cannot be read is ignored.
    FileDialogs::setNextFileName(m_dir.filePath(u"missing.txt"_s));
    clickButton(widget(button.toLatin1().constData()));
    QCOMPARE(box->toPlainText(), u"Before "_s + inserted + u" after"_s);
}

QTEST_MAIN(TestPanelCommands)
#include "tst_panelcommands.moc"
