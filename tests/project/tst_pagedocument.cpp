// The open page's rules and commands, without a window.

#include "document/pagefile.h"
#include "project/pagedocument.h"
#include "themes/thememodel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
        m_doc->page().WebForm.Add().Name = u"email"_s;
        m_doc->page().FormTitle = u"Write to us"_s;
        QSignalSpy cleared(m_doc.get(), &PageDocument::formCleared);
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
        m_doc->page().Page.Items(0)->PagePropertiesBlock.IndentMargin = u"abc"_s;
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
