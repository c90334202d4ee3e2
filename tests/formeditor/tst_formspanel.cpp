// The Forms panel's field commands on a page: adding, editing, removing, moving and dragging
// fields, clearing them, loading the basic fields and the advanced options, with the list and
// the page's form in the same order throughout; and a form built this way exported by
// brisko-export.

#include "formfixture.h"

#include "app/panels/formspanel.h"
#include "document/pagefile.h"
#include "forms/gui/commonfieldsdialog.h"
#include "forms/gui/fieldsdialog.h"
#include "html/formhtml.h"
#include "html/htmlfile.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "project/pagedocument.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QStringList fieldNames(const TWebForm &form)
{
    QStringList names;
    for (int i = 0; i < form.Count(); ++i)
        names.append(form.Items(i)->Name);
    return names;
}

} // namespace

class TestFormsPanel : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageDocument> m_doc;
    std::unique_ptr<TFormsPanel> m_panel;
    int m_changes = 0;

    QString folder() const { return m_dir->path() + u'/'; }
    const TPagelette &page() const { return m_doc->page(); }
    QString configFolder() const { return m_dir->path() + u"/config"_s; }
    TFieldListView *list() const { return control<TFieldListView>(*m_panel, "lvForms"); }
    QAction *menuItem(const char *name) const { return m_panel->findChild<QAction *>(QLatin1StringView(name)); }

    void writeFieldBank(const QByteArray &text)
    {
        QFile file(folder() + u"Fields.ini"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void setFields(const QStringList &names)
    {
        auto fresh = std::make_unique<TPagelette>(pageWithEveryBlock());
        for (const QString &name : names)
            fresh->WebForm.Add().Name = name;
        m_doc->adopt(std::move(fresh), {});
        m_changes = 0;
    }

    // The kind menu item, answered by filling the field dialog with name and pressing OK.
    void addField(const char *item, const QString &name, std::function<void(TfrmFields *)> fill = {})
    {
        whenShown<TfrmFields>(this, [name, fill](TfrmFields *dialog) {
            retype(*dialog, "txtName", name);
            retype(*dialog, "txtText", name + u":"_s);
            if (fill)
                fill(dialog);
            clickButton(control(*dialog, "btnOK"));
        });
        menuItem(item)->trigger();
    }

    void loadBasicFields(std::function<void(TfrmCommonFields *)> answer)
    {
        whenShown<TfrmCommonFields>(this, answer);
        clickButton(control(*m_panel, "btnFormBasic"));
    }

private Q_SLOTS:
    void initTestCase() { Messages::setTestMode(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        SettingsStore::useFile(configFolder() + u"/Marlowen Software/HTML Brisko4.ini"_s);
        Messages::clearHistory();
        m_doc = std::make_unique<PageDocument>(folder());
        m_doc->adopt(std::make_unique<TPagelette>(pageWithEveryBlock()), {});
        m_panel = std::make_unique<TFormsPanel>();
        m_panel->setProgramFolder(folder());
        m_panel->resize(520, 560);
        m_panel->setDocument(m_doc.get());
        m_panel->load(page(), *page().Page.Items(btForms));
        m_panel->show();
        m_changes = 0;
        connect(m_doc.get(), &PageDocument::changed, this, [this] { ++m_changes; });
    }

    void cleanup()
    {
        m_panel.reset();
        m_doc.reset();
        QCOMPARE(Messages::pendingAnswers(), 0);
    }

    void moveAndDragKeepListAndFormInStep_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("down button") << u"btnFormDown"_s << QStringList{u"B"_s, u"A"_s, u"C"_s};
        QTest::newRow("down menu") << u"popFormsMvDwn"_s << QStringList{u"B"_s, u"A"_s, u"C"_s};
        QTest::newRow("drag onto C") << u"drag"_s << QStringList{u"C"_s, u"B"_s, u"A"_s};
    }

    void moveAndDragKeepListAndFormInStep()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, order);
        setFields({u"A"_s, u"B"_s, u"C"_s});
        selectRow(list(), 0);
        QVERIFY(!control(*m_panel, "btnFormUp")->isEnabled());
        QVERIFY(control(*m_panel, "btnFormDown")->isEnabled());
        if (how == u"drag")
            dragRow(list(), 0, list(), 2);
        else if (how.startsWith(u"btn"))
            clickButton(control(*m_panel, qPrintable(how)));
        else
            menuItem(qPrintable(how))->trigger();
        QCOMPARE(rowTexts(list()), order);
        QCOMPARE(fieldNames(page().WebForm), order);
        QCOMPARE(list()->selectedRow()->text(0), u"A"_s);
        QCOMPARE(m_changes, 1);
        // Moving up undoes a move down.
        if (how != u"drag") {
            clickButton(control(*m_panel, "btnFormUp"));
            QCOMPARE(fieldNames(page().WebForm), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
        }
    }

    void removeAndClearAsk()
    {
        setFields({u"Only"_s});
        clickButton(control(*m_panel, "btnFormRemove")); // nothing selected: nothing asked
        selectRow(list(), 0);
        Messages::setNextAnswer(Messages::Yes);
        Messages::setNextAnswer(Messages::Ok);
        QTest::keyClick(list(), Qt::Key_Delete);
        QCOMPARE(Messages::shown(), (QStringList{u"Do you want to delete the selected field?"_s,
                                                 u"There must be at least one form field."_s}));
        QCOMPARE(page().WebForm.Count(), 1);
        QCOMPARE(list()->topLevelItemCount(), 1);

        setFields({u"A"_s, u"B"_s});
        selectRow(list(), 0);
        Messages::setNextAnswer(Messages::Cancel);
        clickButton(control(*m_panel, "btnFormRemove"));
        QCOMPARE(page().WebForm.Count(), 2);
        Messages::setNextAnswer(Messages::Yes);
        clickButton(control(*m_panel, "btnFormRemove"));
        QCOMPARE(fieldNames(page().WebForm), QStringList{u"B"_s});
        QCOMPARE(rowTexts(list()), QStringList{u"B"_s});

        Messages::clearHistory();
        Messages::setNextAnswer(Messages::No);
        clickButton(control(*m_panel, "btnFormClear"));
        QCOMPARE(page().WebForm.Count(), 1);
        Messages::setNextAnswer(Messages::Yes);
        clickButton(control(*m_panel, "btnFormClear"));
        QCOMPARE(Messages::shown().value(0), u"Do you want to clear ALL the forms fields?"_s);
        QCOMPARE(page().WebForm.Count(), 0);
        QCOMPARE(list()->topLevelItemCount(), 0);
        for (const char *name : {"btnFormClear", "btnFormUp", "btnFormDown", "btnFormRemove", "btnFormEdit"})
            QVERIFY2(!control(*m_panel, name)->isEnabled(), name);
    }

    void menuShowsListItemsOnlyOverTheList()
    {
        setFields({u"A"_s, u"B"_s});
        auto *menu = m_panel->findChild<QMenu *>(u"popForms"_s);
        const char *listItems[] = {"popFormsEdit", "popFormsDelete", "popFormsMvUp", "popFormsMvDwn"};
        clickButton(control(*m_panel, "btnFormAdd"));
        QTRY_VERIFY(menu->isVisible());
        QStringList visible;
        for (QAction *item : menu->actions()) {
            if (item->isVisible() && !item->isSeparator())
                visible.append(item->text());
        }
        QCOMPARE(visible, (QStringList{u"Text &Box"_s, u"Text &Area"_s, u"&Radio Button"_s, u"&Check Box"_s,
                                       u"&Drop Down List"_s}));
        menu->hide();

        selectRow(list(), 1);
        Q_EMIT list()->customContextMenuRequested(list()->visualItemRect(list()->topLevelItem(1)).center());
        QTRY_VERIFY(menu->isVisible());
        for (const char *name : listItems)
            QVERIFY2(menuItem(name)->isVisible(), name);
        QVERIFY(menuItem("popFormsEdit")->isEnabled() && menuItem("popFormsDelete")->isEnabled());
        QVERIFY(menuItem("popFormsMvUp")->isEnabled());
        QVERIFY(!menuItem("popFormsMvDwn")->isEnabled());
        menu->hide();
    }

    void loadBasicFieldsReplacesTheForm()
    {
        writeFieldBank("[Default Fields]\r\nFIELD0=Name|0\r\nFIELD1=Send|5\r\nFIELD2=Colour|4\r\n"
                       "[Colour]\r\nColour0=r|Red\r\n");
        setFields({u"Old"_s});

        // No to the clearing question leaves the form and turns the buttons back on.
        Messages::setNextAnswer(Messages::No);
        loadBasicFields([](TfrmCommonFields *dialog) { clickButton(control(*dialog, "btnOk")); });
        QCOMPARE(fieldNames(page().WebForm), QStringList{u"Old"_s});
        QCOMPARE(rowTexts(list()), QStringList{u"Old"_s});
        QVERIFY(control(*m_panel, "btnFormBasic")->isEnabled());
        QVERIFY(control(*m_panel, "btnFormClear")->isEnabled());

        Messages::setNextAnswer(Messages::Yes);
        loadBasicFields([](TfrmCommonFields *dialog) { clickButton(control(*dialog, "btnOk")); });
        QCOMPARE(fieldNames(page().WebForm), (QStringList{u"Name"_s, u"Send"_s, u"Colour"_s}));
        QCOMPARE(rowTexts(list(), 1), (QStringList{u"Text Box"_s, u"Button"_s, u"Drop Down"_s}));
        QCOMPARE(page().WebForm.Items(1)->FieldKind, fkButton);
        QVERIFY(page().WebForm.Items(1)->Strings.isEmpty());
        QCOMPARE(page().WebForm.Items(2)->Strings, QStringList{u"r|Red"_s});

        // A list that does not read changes nothing and asks nothing; the field bank dialog, which
        // could not read it either, leaves it in the file.
        const QByteArray broken = "[Default Fields]\r\nFIELD0=Phone|0\r\nFIELD1=State|4x\r\n";
        writeFieldBank(broken);
        Messages::clearHistory();
        Messages::setNextAnswer(Messages::Ok);
        Messages::setNextAnswer(Messages::Ok);
        loadBasicFields([](TfrmCommonFields *dialog) { clickButton(control(*dialog, "btnOk")); });
        QCOMPARE(Messages::shown(), QStringList(2, u"'4x' is not a valid integer value"_s));
        QCOMPARE(fileBytes(folder() + u"Fields.ini"_s), broken);
        QCOMPARE(fieldNames(page().WebForm), (QStringList{u"Name"_s, u"Send"_s, u"Colour"_s}));
        QCOMPARE(rowTexts(list()), (QStringList{u"Name"_s, u"Send"_s, u"Colour"_s}));
    }

    void advancedOptionsMapToThePage()
    {
        TFormOptions options;
        options.EnvReport = true;
        options.FormTitle = u"Contact"_s;
        m_doc->setFormOptions(options);
        m_changes = 0;
        whenShown<TfrmCommonFields>(this, [](TfrmCommonFields *dialog) {
            QCOMPARE(dialog->windowTitle(), u"E-mail Form Advanced Options"_s);
            QVERIFY(!control(*dialog, "btnReset")->isVisible());
            QCOMPARE(textOf(*dialog, "txtFormTitle"), u"Contact"_s);
            QVERIFY(isChecked(*dialog, "chkIP"));
            for (const char *name : {"chkSort", "chkBlankFields", "chkUseBorder", "chkBrowser", "chkAddress",
                                     "chkSubject", "chkIP", "chkHostname", "chkFooter"})
                clickCheckBox(*dialog, name);
            retype(*dialog, "txtFormTitle", u"Write to us"_s);
            // Only a web address will do.
            retype(*dialog, "txtFormAction", u"ftp://mail.example.org/send"_s);
            Messages::setNextAnswer(Messages::Ok);
            clickButton(control(*dialog, "btnOk"));
            QVERIFY(dialog->isVisible());
            retype(*dialog, "txtFormAction", u"https://mail.example.org/cgi-bin/send.pl"_s);
            clickButton(control(*dialog, "btnOk"));
        });
        clickButton(control(*m_panel, "btnFormOptions"));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(page().AlphaSort && page().BlankFields && page().Border && page().BrowserUsed && page().EmailAddress
                && page().EmailSubject && page().HostName && page().FormFooter);
        QVERIFY(!page().EnvReport);
        QCOMPARE(page().FormTitle, u"Write to us"_s);
        QCOMPARE(SettingsStore::instance().readString({}, u"FormAction"_s), u"https://mail.example.org/cgi-bin/send.pl"_s);
        QCOMPARE(m_changes, 1);

        // Emptied, the form posts to the built-in script again.
        whenShown<TfrmCommonFields>(this, [](TfrmCommonFields *dialog) {
            QCOMPARE(textOf(*dialog, "txtFormAction"), u"https://mail.example.org/cgi-bin/send.pl"_s);
            retype(*dialog, "txtFormAction", QString());
            clickButton(control(*dialog, "btnOk"));
        });
        clickButton(control(*m_panel, "btnFormOptions"));
        QCOMPARE(StoredFormAction(), QString());
    }

    // A field may not take the name, as the page writes it, of another field; its own is fine. The
    // dialog stays open.
    void fieldNamesStayUnique_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("adding with capitals and \"_\" for a space") << false << u"YOUR_email"_s << true;
        QTest::newRow("editing a field, keeping its name") << true << u"Name"_s << false;
        QTest::newRow("editing a field to another's name") << true << u"Your Email"_s << true;
    }
    void fieldNamesStayUnique()
    {
        QFETCH(bool, edit);
        QFETCH(QString, name);
        QFETCH(bool, refused);
        setFields({u"Name"_s, u"Your Email"_s});
        bool stayedOpen = false;
        whenShown<TfrmFields>(this, [&](TfrmFields *dialog) {
            retype(*dialog, "txtName", name);
            if (refused)
                Messages::setNextAnswer(Messages::Ok);
            clickButton(control(*dialog, "btnOK"));
            if ((stayedOpen = dialog->isVisible()))
                dialog->reject();
        });
        if (edit) {
            selectRow(list(), 0);
            QTest::keyClick(list(), Qt::Key_Return);
        } else {
            menuItem("popFormsTextBox")->trigger();
        }
        QCOMPARE(stayedOpen, refused);
        const QString message = u"Another field is already named %1. Please include a unique name for the field."_s;
        QCOMPARE(Messages::shown(), refused ? QStringList{message.arg(name)} : QStringList());
        QCOMPARE(page().WebForm.Count(), edit || refused ? 2 : 3);
    }

    // One field of every kind, built through the dialogs, is exported as the form generator writes it.
    void everyKindBuiltInTheDialogsIsExported()
    {
        writeFieldBank("[Default Fields]\r\nFIELD0=Send|5\r\n");
        loadBasicFields([](TfrmCommonFields *dialog) { clickButton(control(*dialog, "btnOk")); });
        addField("popFormsTextBox", u"Your Name"_s, [](TfrmFields *d) { retype(*d, "cbSize", u"40"_s); });
        addField("popFormsTextArea", u"Comments"_s, [](TfrmFields *d) { retype(*d, "txtCols", u"50"_s); });
        addField("popFormsRadio", u"Size"_s, [](TfrmFields *d) {
            for (const auto &[value, text] : {std::pair{u"s"_s, u"Small"_s}, std::pair{u"l"_s, u"Large"_s}}) {
                clickButton(control(*d, "btnAdd"));
                QTest::keyClicks(control(*d, "txtDropValue"), value);
                QTest::keyClicks(control(*d, "txtDropText"), text);
                clickCheckBox(*d, "chkCheck");
                clickButton(control(*d, "btnDropApply"));
            }
        });
        addField("popFormsCheck", u"Extras"_s, [](TfrmFields *d) {
            clickButton(control(*d, "btnAdd"));
            QTest::keyClicks(control(*d, "txtDropValue"), u"w"_s);
            QTest::keyClicks(control(*d, "txtDropText"), u"Gift wrap"_s);
            clickButton(control(*d, "btnDropApply"));
        });
        addField("popFormsCombo", u"Colour"_s, [](TfrmFields *d) {
            clickButton(control(*d, "btnAdd"));
            QTest::keyClicks(control(*d, "txtDropValue"), u"r"_s);
            QTest::keyClicks(control(*d, "txtDropText"), u"Red"_s);
            clickButton(control(*d, "btnDropApply"));
        });
        // Editing keeps the kind and the settings of a field.
        selectRow(list(), 1);
        whenShown<TfrmFields>(this, [](TfrmFields *dialog) {
            QCOMPARE(textOf(*dialog, "cbSize"), u"40"_s);
            retype(*dialog, "txtName", u"Full Name"_s);
            clickButton(control(*dialog, "btnOK"));
        });
        QTest::keyClick(list(), Qt::Key_Return);

        QCOMPARE(rowTexts(list()), (QStringList{u"Send"_s, u"Full Name"_s, u"Comments"_s, u"Size"_s, u"Extras"_s,
                                                u"Colour"_s}));
        QCOMPARE(fieldNames(page().WebForm), rowTexts(list()));
        QCOMPARE(page().WebForm.Items(1)->Strings, QStringList{u"Size=40"_s});
        QCOMPARE(page().WebForm.Items(2)->Strings, (QStringList{u"Cols=50"_s, u"Rows=15"_s}));
        QCOMPARE(page().WebForm.Items(3)->Strings, (QStringList{u"s|Small|No"_s, u"l|Large|Yes"_s}));
        QCOMPARE(page().WebForm.Items(4)->Strings, QStringList{u"w|Gift wrap|No"_s});
        QCOMPARE(page().WebForm.Items(5)->Strings, QStringList{u"r|Red"_s});
        QCOMPARE(m_changes, 7);

        retype(*m_panel, "txtFormAddress", u"club@example.com"_s);
        TBlockEdit address = BlockEditOf(page(), btForms);
        m_panel->commit(address);
        m_doc->commitBlock(btForms, address);
        const QString path = folder() + u"Form.mbe"_s;
        QString error;
        QVERIFY2(WriteDocument(path, page(), &error), qPrintable(error));

        // With and without the user's own form-to-mail address.
        for (const QString &action : {QString(), u"https://mail.example.org/send"_s}) {
            SettingsStore::instance().writeString({}, u"FormAction"_s, action);
            QVERIFY(SettingsStore::instance().sync());
            QProcess exporter;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"XDG_CONFIG_HOME"_s, configFolder());
            exporter.setProcessEnvironment(env);
            exporter.start(QStringLiteral(BRISKO_PROGRAM_DIR "/brisko-export"), {u"html"_s, path});
            QVERIFY(exporter.waitForFinished(30000));
            QCOMPARE(exporter.exitCode(), 0);
            const QByteArray page = exporter.readAllStandardOutput();
            const QByteArray form = EncodeHtmlLines(BuildFormHtml(m_doc->page(), action).split(u"\r\n"_s));
            QVERIFY2(page.contains(form.chopped(2)), page.constData());
            const QByteArray start = "<FORM ACTION=\"" + FormActionAddress(action).toLatin1() + "\" METHOD=\"POST\">";
            QVERIFY(page.contains(start));
            QVERIFY(page.contains("<INPUT TYPE=\"Radio\" NAME=\"size\" VALUE=\"l\" CHECKED> Large<BR>"));
        }
    }
};

QTEST_MAIN(TestFormsPanel)
#include "tst_formspanel.moc"
