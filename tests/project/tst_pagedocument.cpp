// The open page's rules and commands, without a window.

#include "document/pagefile.h"
#include "project/pagedocument.h"
#include "themes/thememodel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <functional>

using namespace Qt::StringLiterals;

using Step = std::function<void(PageDocument &)>;
Q_DECLARE_METATYPE(Step)

namespace {

TBlockEdit edited(const PageDocument &doc, int index, const std::function<void(TBlockEdit &)> &change)
{
    TBlockEdit edit = BlockEditOf(doc.page(), index);
    change(edit);
    return edit;
}

TFormElement field(const QString &name, TFieldKind kind = fkText)
{
    return {kind, name, {u"Size=30"_s}, {}, {}};
}

TWebTheme forest()
{
    TWebTheme themes;
    TThemeItem &theme = themes.Items.Add();
    theme.ThemeName = u"Forest"_s;
    theme.BGColor = 0x00E9F5EE;
    theme.LeftMargin = u"20"_s;
    return themes;
}

} // namespace

class TestPageDocument : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageDocument> m_doc;

    QString folder() const { return m_dir->path() + u'/'; }
    QList<int> types() const
    {
        QList<int> result;
        for (int i = 0; i < m_doc->blockCount(); ++i)
            result.append(m_doc->blockType(i));
        return result;
    }

private Q_SLOTS:
    // A page opened from its file: page details, image, link, paragraph, a form with two fields.
    void openFormPage()
    {
        TPagelette page;
        page.AddDefaultBlocks();
        page.InsertNewBlock(4, btForms);
        page.WebForm.Add() = field(u"Name"_s);
        page.WebForm.Add() = field(u"Mail"_s);
        page.Email = u"club@example.org"_s;
        QString error;
        QVERIFY2(WriteDocument(folder() + u"Form.mbe"_s, page, &error), qPrintable(error));
        QVERIFY(m_doc->load(folder() + u"Form.mbe"_s).ok());
    }
    QByteArray bytes() const { return DocumentBytes(m_doc->page()); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        for (const char *sub : {"BriskoFiles", "Templates", "Upload/images"})
            QDir().mkpath(folder() + QString::fromLatin1(sub));
        m_doc = std::make_unique<PageDocument>(folder());
        m_doc->newPage();
    }

    void newPageHasItsFourBlocksAndNoName()
    {
        QCOMPARE(types(), (QList<int>{btPageProperties, btImage, btLink, btText}));
        QCOMPARE(m_doc->name(), u"Untitled"_s);
        QVERIFY(!m_doc->isModified());
    }

    void insertFollowsTheBlockListRules_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("insertedAt");
        QTest::newRow("before the page details: right after them") << 0 << int(btHeading) << 1;
        QTest::newRow("mid-page") << 2 << int(btHR) << 2;
        QTest::newRow("at the end") << 4 << int(btForms) << 4;
        QTest::newRow("past the end") << 5 << int(btHeading) << -1;
        QTest::newRow("page details are not inserted") << 1 << int(btPageProperties) << -1;
    }
    void insertFollowsTheBlockListRules()
    {
        QFETCH(int, position);
        QFETCH(int, type);
        QFETCH(int, insertedAt);
        QSignalSpy inserted(m_doc.get(), &PageDocument::blockInserted);
        const auto at = m_doc->insertBlock(position, type);
        QCOMPARE(at.value_or(-1), insertedAt);
        QCOMPARE(m_doc->blockCount(), insertedAt < 0 ? 4 : 5);
        QCOMPARE(inserted.size(), insertedAt < 0 ? 0 : 1);
        if (insertedAt >= 0)
            QCOMPARE(m_doc->blockType(insertedAt), type);
    }

    void onlyOneFormPerPage()
    {
        QVERIFY(m_doc->insertBlock(4, btForms));
        DocumentOutcome outcome;
        QVERIFY(!m_doc->insertBlock(1, btForms, &outcome));
        QCOMPARE(outcome.message, kSecondFormMessage);
        QCOMPARE(m_doc->blockCount(), 5);

        // Deleting the form's block empties the form, and a new form may then be added.
        TFormElement field;
        field.Name = u"email"_s;
        QVERIFY(m_doc->addField(field));
        TFormOptions options;
        options.FormTitle = u"Write to us"_s;
        QVERIFY(m_doc->setFormOptions(options));
        QSignalSpy cleared(m_doc.get(), &PageDocument::formChanged);
        QVERIFY(m_doc->deleteBlock(4).ok());
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(m_doc->page().WebForm.Count(), 0);
        QVERIFY(m_doc->page().FormTitle.isEmpty());
        QVERIFY(m_doc->insertBlock(4, btForms));
    }

    void pageDetailsCannotBeDeleted()
    {
        QSignalSpy deleted(m_doc.get(), &PageDocument::blockDeleted);
        QCOMPARE(m_doc->deleteBlock(0).message, kPageDetailsStayMessage);
        QVERIFY(m_doc->deleteBlock(2).ok());
        QCOMPARE(types(), (QList<int>{btPageProperties, btImage, btText}));
        QCOMPARE(deleted.size(), 1);
    }

    void moveKeepsThePageDetailsFirst_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("order");
        const QList<int> unchanged{btPageProperties, btImage, btLink, btText};
        QTest::newRow("down") << 1 << 3 << QList<int>{btPageProperties, btLink, btText, btImage};
        QTest::newRow("up") << 3 << 1 << QList<int>{btPageProperties, btText, btImage, btLink};
        QTest::newRow("onto the page details") << 2 << 0 << unchanged;
        QTest::newRow("the page details themselves") << 0 << 2 << unchanged;
        QTest::newRow("onto itself") << 2 << 2 << unchanged;
        QTest::newRow("below the last row") << 1 << 4 << unchanged;
    }
    void moveKeepsThePageDetailsFirst()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QList<int>, order);
        const bool moves = order != types();
        QSignalSpy moved(m_doc.get(), &PageDocument::blockMoved);
        QCOMPARE(m_doc->moveBlock(from, to), moves);
        QCOMPARE(types(), order);
        QCOMPARE(moved.size(), moves ? 1 : 0);
    }

    void loadNamesTheDocumentByItsFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("named");
        QTest::newRow("project") << u"Club.mbe"_s << true << true;
        QTest::newRow("template") << u"Club.mbt"_s << true << false;
        QTest::newRow("template in capitals") << u"Club.MBT"_s << true << true;
        QTest::newRow("not a page") << u"Broken.mbe"_s << false << false;
    }
    void loadNamesTheDocumentByItsFile()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, valid);
        QFETCH(bool, named);
        const QString path = folder() + fileName;
        TPagelette page;
        page.AddDefaultBlocks();
        page.InsertNewBlock(1, btHeading);
        QString error;
        if (valid) {
            QVERIFY(WriteDocument(path, page, &error));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("TPF0\x0aTPagelettX");
        }
        QSignalSpy reset(m_doc.get(), &PageDocument::pageReset);
        const DocumentOutcome outcome = m_doc->load(path);
        QCOMPARE(outcome.ok(), valid);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(m_doc->name(), named ? path : u"Untitled"_s);
        QCOMPARE(m_doc->blockCount(), valid ? 5 : 4);
        if (!valid) {
            QCOMPARE(outcome.message, kInvalidDocumentMessage);
            QVERIFY(!outcome.detail.isEmpty()); // the reason is kept for the user
        }
    }

    void saveWritesTheProjectAndBothPages()
    {
        m_doc->markModified();
        QSignalSpy named(m_doc.get(), &PageDocument::nameChanged);
        const QString path = folder() + u"BriskoFiles/My Page.mbe";
        const SaveOutcome outcome = m_doc->save(path, false);
        QVERIFY(outcome.project.ok());
        QVERIFY2(outcome.publishError.isEmpty(), qPrintable(outcome.publishError));
        QCOMPARE(outcome.publishedName, u"MyPage.html"_s);
        QVERIFY(QFile::exists(folder() + u"BriskoFiles/My Page.html"));
        QVERIFY(QFile::exists(folder() + u"Upload/MyPage.html"));
        QCOMPARE(m_doc->name(), path);
        QCOMPARE(named.size(), 1);
        QVERIFY(!m_doc->isModified());
    }

    void failedSavesKeepTheDocumentAndSayWhy()
    {
        m_doc->markModified();
        // No such folder: the project file cannot be created.
        const SaveOutcome outcome = m_doc->save(folder() + u"missing/My Page.mbe", false);
        QCOMPARE(outcome.project.message, u"Unable to create file."_s);
        QVERIFY(outcome.project.detail.contains(u"My Page.mbe"));
        QCOMPARE(m_doc->name(), u"Untitled"_s);
        QVERIFY(m_doc->isModified());
        QVERIFY(!QFile::exists(folder() + u"Upload/MyPage.html"));

        // A page that cannot be made still saves the project, and says why the page was not.
        TBlockEdit details = BlockEditOf(m_doc->page(), 0);
        details.Item.PagePropertiesBlock.IndentMargin = u"abc"_s;
        QVERIFY(m_doc->commitBlock(0, details));
        DocumentOutcome made;
        QVERIFY(!m_doc->buildHtml(0, false, &made));
        QCOMPARE(made.message, kPageNotMadeMessage);
        QVERIFY2(made.detail.contains(u"'abc' is not a valid integer value"), qPrintable(made.detail));
        const SaveOutcome partly = m_doc->save(folder() + u"BriskoFiles/My Page.mbe", false);
        QVERIFY(partly.project.ok());
        QCOMPARE(partly.publishError, made.detail);
        QVERIFY(!m_doc->isModified());
    }

    void saveAsTemplateKeepsTheNameAndFlag()
    {
        m_doc->markModified();
        const QString path = folder() + u"Templates/Club Page.mbt";
        QVERIFY(m_doc->saveAsTemplate(path, false).ok());
        QVERIFY(QFile::exists(path));
        QVERIFY(QFile::exists(folder() + u"Templates/Club Page.html"));
        QCOMPARE(m_doc->name(), u"Untitled"_s);
        QVERIFY(m_doc->isModified());
    }

    void modifiedIsAnnouncedOnChange()
    {
        QSignalSpy modified(m_doc.get(), &PageDocument::modifiedChanged);
        m_doc->markModified();
        m_doc->markModified();
        m_doc->setModified(false);
        QCOMPARE(modified.size(), 2);
    }

    void everyChangeIsUndoneAndRedone_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("name");
        QTest::newRow("commit") << Step([](PageDocument &d) {
            d.commitBlock(3, edited(d, 3, [](TBlockEdit &e) { e.Item.TextBlock.Text = u"Hello"_s; }));
        }) << u"Edit Paragraph"_s;
        QTest::newRow("form address") << Step([](PageDocument &d) {
            d.commitBlock(4, edited(d, 4, [](TBlockEdit &e) { e.Form.Subject = u"Hi"_s; }));
        }) << u"Edit Forms"_s;
        QTest::newRow("insert") << Step([](PageDocument &d) { d.insertBlock(2, btHeading); }) << u"Add Heading"_s;
        QTest::newRow("move") << Step([](PageDocument &d) { d.moveBlock(1, 3); }) << u"Move Image"_s;
        QTest::newRow("delete") << Step([](PageDocument &d) { d.deleteBlock(2); }) << u"Delete Link"_s;
        QTest::newRow("delete the form") << Step([](PageDocument &d) { d.deleteBlock(4); }) << u"Delete Forms"_s;
        QTest::newRow("theme") << Step([](PageDocument &d) { d.applyTheme(forest(), 0); }) << u"Apply Theme Forest"_s;
        QTest::newRow("add field") << Step([](PageDocument &d) { d.addField(field(u"Phone"_s)); }) << u"Add Field"_s;
        QTest::newRow("edit field") << Step([](PageDocument &d) { d.replaceField(1, field(u"E-Mail"_s, fkTextArea)); })
                                    << u"Edit Field"_s;
        QTest::newRow("remove field") << Step([](PageDocument &d) { d.removeField(0); }) << u"Remove Field"_s;
        QTest::newRow("move field") << Step([](PageDocument &d) { d.moveField(1, 0); }) << u"Move Field"_s;
        QTest::newRow("exchange fields") << Step([](PageDocument &d) { d.exchangeFields(0, 1); }) << u"Move Field"_s;
        QTest::newRow("clear fields") << Step([](PageDocument &d) { d.clearFields(); }) << u"Clear All Fields"_s;
        QTest::newRow("basic fields") << Step([](PageDocument &d) {
            TWebForm basic;
            basic.Add() = field(u"City"_s);
            d.loadBasicFields(basic);
        }) << u"Load Basic Fields"_s;
        QTest::newRow("form options") << Step([](PageDocument &d) {
            TFormOptions options = FormOptionsOf(d.page());
            options.Border = true;
            d.setFormOptions(options);
        }) << u"Change Form Options"_s;
    }
    void everyChangeIsUndoneAndRedone()
    {
        QFETCH(Step, step);
        QFETCH(QString, name);
        openFormPage();
        const QByteArray opened = bytes();
        QSignalSpy changed(m_doc.get(), &PageDocument::changed);
        step(*m_doc);
        const QByteArray done = bytes();
        QVERIFY(done != opened);
        QCOMPARE(m_doc->undoStack().count(), 1);
        QCOMPARE(m_doc->undoStack().undoText(), name);
        QVERIFY(m_doc->differsFromFile());
        QVERIFY(m_doc->isModified());

        m_doc->undo();
        QCOMPARE(bytes(), opened);
        QVERIFY(!m_doc->differsFromFile());
        QCOMPARE(m_doc->undoStack().redoText(), name);
        m_doc->redo();
        QCOMPARE(bytes(), done);
        QCOMPARE(changed.size(), 3);
    }

    void cleanPointFollowsOpenSaveAndRecovery()
    {
        openFormPage();
        QVERIFY(!m_doc->differsFromFile());
        m_doc->insertBlock(1, btHR);
        QVERIFY(m_doc->differsFromFile());
        QVERIFY(m_doc->save(folder() + u"BriskoFiles/Saved.mbe"_s, false).project.ok());
        QVERIFY(!m_doc->differsFromFile());
        QVERIFY(!m_doc->isModified());
        m_doc->undo();
        QVERIFY(m_doc->differsFromFile());
        QVERIFY(m_doc->isModified());
        m_doc->redo();
        QVERIFY(!m_doc->differsFromFile());

        // New, open and recovered work start a new history; recovered work was never saved.
        m_doc->newPage();
        QCOMPARE(m_doc->undoStack().count(), 0);
        QVERIFY(!m_doc->differsFromFile());
        m_doc->insertBlock(1, btHR);
        m_doc->adopt(std::make_unique<TPagelette>(m_doc->page()), u"Recovered"_s);
        QCOMPARE(m_doc->undoStack().count(), 0);
        QVERIFY(m_doc->differsFromFile());
    }

    void changesThatChangeNothingRecordNothing()
    {
        openFormPage();
        QSignalSpy changed(m_doc.get(), &PageDocument::changed);
        // A commit sets the modified flag even so.
        QVERIFY(!m_doc->commitBlock(3, BlockEditOf(m_doc->page(), 3)));
        QVERIFY(m_doc->isModified());
        // A block keeps its type, and only the Forms block carries the form's address.
        QVERIFY(!m_doc->commitBlock(3, edited(*m_doc, 3, [](TBlockEdit &e) {
            e.Item.BlockType = btHeading;
            e.Form.Email = u"other@example.org"_s;
        })));
        QVERIFY(!m_doc->commitBlock(9, BlockEditOf(m_doc->page(), 3)));
        QVERIFY(!m_doc->replaceField(0, *m_doc->page().WebForm.Items(0)));
        QVERIFY(!m_doc->setFormOptions(FormOptionsOf(m_doc->page())));
        QVERIFY(!m_doc->removeField(2));
        QVERIFY(m_doc->applyTheme(forest(), 0));
        QVERIFY(m_doc->applyTheme(forest(), 0));
        QCOMPARE(m_doc->undoStack().count(), 1);
        QCOMPARE(changed.size(), 1);
    }

    void themeGoesIntoThePageDetails()
    {
        TWebTheme themes;
        TThemeItem *theme = &themes.Items.Add();
        theme->ThemeName = u"Forest"_s;
        theme->BGColor = 0x00E9F5EE;
        theme->LeftMargin = u"20"_s;
        QVERIFY(m_doc->applyTheme(themes, 0));
        QVERIFY(!m_doc->applyTheme(themes, 1));
        const TPagePropertiesBlock &details = m_doc->page().Page.Items(0)->PagePropertiesBlock;
        QCOMPARE(details.ThemeName, u"Forest"_s);
        QCOMPARE(details.BGColor, 0x00E9F5EE);
        QCOMPARE(details.IndentMargin, u"20"_s);
    }
};

QTEST_GUILESS_MAIN(TestPageDocument)
#include "tst_pagedocument.moc"
