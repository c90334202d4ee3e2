// Send to web: the save question before the wizard, and the files the wizard is given.

#include "appfixture.h"

#include "document/pagefile.h"
#include "findcontrol.h"
#include "project/pagedocument.h"
#include "publish/gui/uploadwizard.h"

#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestSendToWeb : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppFixture> m_fixture;
    std::unique_ptr<TfrmMain> m_window;
    QStringList m_wizardList; // what the wizard showed, once it opened
    bool m_wizardOpened = false;

    // Presses Send to web; a wizard that opens is read and closed at once.
    void sendToWeb()
    {
        m_wizardOpened = false;
        m_wizardList.clear();
        QTimer::singleShot(0, this, [this] {
            if (auto *wizard = qobject_cast<TfrmUpload *>(QApplication::activeModalWidget())) {
                m_wizardOpened = true;
                m_wizardList = wizard->uploadList();
                wizard->close();
            }
        });
        QTest::mouseClick(control<QToolButton>(*m_window, u"btnUpload"_s), Qt::LeftButton);
        QCoreApplication::processEvents(); // the timer, when no wizard took it
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppFixture>();
        m_window = m_fixture->makeWindow();
    }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(Messages::pendingAnswers(), 0);
        m_fixture.reset();
    }

    void unsavedPageAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveDialogAnswered");
        QTest::addColumn<bool>("opens");
        QTest::newRow("cancel") << int(Messages::Cancel) << false << false;
        QTest::newRow("ok, save dialog cancelled") << int(Messages::Ok) << false << false;
        QTest::newRow("ok, saved") << int(Messages::Ok) << true << true;
    }
    void unsavedPageAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, saveDialogAnswered);
        QFETCH(bool, opens);
        // Pictures of the page: the background first, then the images by name, each file once.
        const QString folder = m_fixture->folder();
        for (const char *name : {"Upload/images/b.gif", "Upload/images/a.gif", "Upload/images/A.gif",
                                 "Upload/backgrounds/back.gif"}) {
            QFile f(folder + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        TPagelette page;
        page.AddDefaultBlocks();
        page.Page.Items(0)->PagePropertiesBlock.Background = u"back.gif"_s;
        page.Page.Items(1)->ImageBlock.FileName = u"b.gif"_s;
        for (const char *name : {"a.gif", "A.gif", "b.gif", "gone.gif"})
            page.InsertNewBlock(page.Page.Count(), btImage)->ImageBlock.FileName = QLatin1String(name);
        const QString path = folder + u"BriskoFiles/My Page.mbe"_s;
        QString error;
        QVERIFY(WriteDocument(path, page, &error));
        m_window->loadDocument(path);
        editBlock(*m_window, 1, [](TBlockEdit &edit) { edit.Item.ImageBlock.Alt = u"Changed"_s; });

        Messages::setNextAnswer(answer);
        if (answer == Messages::Ok) {
            FileDialogs::setNextFileName(saveDialogAnswered ? path : QString());
            if (saveDialogAnswered)
                Messages::setNextAnswer(Messages::Ok); // the page is saved in the upload folder
        }
        sendToWeb();
        QCOMPARE(Messages::shown().first(), u"You need to save %1 before uploading."_s.arg(path));
        QCOMPARE(Messages::lastButtons(), int(opens ? Messages::Ok | Messages::Help : Messages::Ok | Messages::Cancel));
        QCOMPARE(m_wizardOpened, opens);
        if (opens) {
            QCOMPARE(m_wizardList, (QStringList{folder + u"Upload/backgrounds/back.gif"_s, folder + u"Upload/images/a.gif"_s,
                                                folder + u"Upload/images/A.gif"_s, folder + u"Upload/images/b.gif"_s,
                                                folder + u"Upload/MyPage.html"_s}));
        }
    }

    void textTypedIntoThePanelCountsAsAChange()
    {
        m_window->loadDocument(m_fixture->sample());
        Messages::clearHistory();
        // Nothing changed: straight to the wizard, the page not yet published.
        sendToWeb();
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(m_wizardOpened);
        QVERIFY(m_wizardList.isEmpty());

        auto *title = control<QLineEdit>(*m_window, u"txtPageTitle"_s);
        QVERIFY(title->isVisible());
        QTest::keyClicks(title, u" and friends"_s);
        Messages::setNextAnswer(Messages::Cancel);
        sendToWeb();
        QCOMPARE(Messages::shown(), QStringList{u"You need to save %1 before uploading."_s.arg(m_fixture->sample())});
        QVERIFY(!m_wizardOpened);
    }
};

QTEST_MAIN(TestSendToWeb)
#include "tst_sendtoweb.moc"
