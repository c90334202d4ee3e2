#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "platform/gui/plaintext.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QMessageBox *openBox()
{
    return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
}

QStringList buttonCaptions(const QMessageBox *box)
{
    QStringList captions;
    for (QAbstractButton *button : box->buttons())
        captions << button->text();
    return captions;
}

QAbstractButton *buttonCalled(const QMessageBox *box, const QString &caption)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void queuedAnswersAnswerBoxesInOrder();
    void boxWithoutQueuedAnswerDoesNotBlockInTestMode();
    void realBoxShowsCaptionIconAndButtons_data();
    void realBoxShowsCaptionIconAndButtons();
    void helpButtonShowsTopicAndKeepsBoxOpen();
    void closingWithoutAButton_data();
    void closingWithoutAButton();
    void toolTipsShowNamesAsTheyAre();
};

void TestMessages::init()
{
    Messages::clearHistory();
}

void TestMessages::cleanup()
{
    Messages::setTestMode(false);
    Help::quit();
}

void TestMessages::queuedAnswersAnswerBoxesInOrder()
{
    Messages::setTestMode(true);
    Messages::setNextAnswer(Messages::No);
    Messages::setNextAnswer(Messages::Yes);

    QCOMPARE(Messages::show(nullptr, Messages::Kind::Confirmation, u"First?"_s, Messages::Yes | Messages::No),
             int(Messages::No));
    QCOMPARE(Messages::lastKind(), Messages::Kind::Confirmation);
    QCOMPARE(Messages::show(nullptr, Messages::Kind::Confirmation, u"Second?"_s,
                            Messages::Yes | Messages::No | Messages::Cancel),
             int(Messages::Yes));
    QCOMPARE(Messages::lastButtons(), Messages::Yes | Messages::No | Messages::Cancel);
    QCOMPARE(Messages::pendingAnswers(), 0);
    QCOMPARE(Messages::shown(), (QStringList{u"First?"_s, u"Second?"_s}));

    Messages::clearHistory();
    QVERIFY(Messages::shown().isEmpty());
}

void TestMessages::boxWithoutQueuedAnswerDoesNotBlockInTestMode()
{
    Messages::setTestMode(true);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no answer queued.*Unexpected"_s));
    QCOMPARE(Messages::error(nullptr, u"Unexpected"_s), int(Messages::Cancel));
    QCOMPARE(Messages::shown(), QStringList{u"Unexpected"_s});
    QCOMPARE(Messages::lastKind(), Messages::Kind::Error);
}

void TestMessages::realBoxShowsCaptionIconAndButtons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");

    QTest::newRow("confirmation, No") << int(Messages::Kind::Confirmation) << (Messages::Yes | Messages::No)
                                      << u"Confirm"_s << int(QMessageBox::Question) << QStringList{u"&Yes"_s, u"&No"_s}
                                      << u"&No"_s << int(Messages::No);
    QTest::newRow("save question, Cancel")
        << int(Messages::Kind::Confirmation) << (Messages::Yes | Messages::No | Messages::Cancel) << u"Confirm"_s
        << int(QMessageBox::Question) << QStringList{u"&Yes"_s, u"&No"_s, u"Cancel"_s} << u"Cancel"_s
        << int(Messages::Cancel);
    QTest::newRow("error, OK") << int(Messages::Kind::Error) << int(Messages::Ok) << u"Error"_s
                               << int(QMessageBox::Critical) << QStringList{u"OK"_s} << u"OK"_s << int(Messages::Ok);
    QTest::newRow("warning, Yes") << int(Messages::Kind::Warning) << (Messages::Yes | Messages::No) << u"Warning"_s
                                  << int(QMessageBox::Warning) << QStringList{u"&Yes"_s, u"&No"_s} << u"&Yes"_s
                                  << int(Messages::Yes);
    QTest::newRow("information with help")
        << int(Messages::Kind::Information) << (Messages::Ok | Messages::Help) << u"Information"_s
        << int(QMessageBox::Information) << QStringList{u"OK"_s, u"&Help"_s} << u"OK"_s << int(Messages::Ok);
}

void TestMessages::realBoxShowsCaptionIconAndButtons()
{
    QFETCH(int, kind);
    QFETCH(int, buttons);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QStringList, captions);
    QFETCH(QString, click);
    QFETCH(int, answer);

    QString seenCaption;
    QString seenText;
    int seenIcon = -1;
    QStringList seenButtons;
    QList<Qt::TextFormat> seenFormats;
    bool clicked = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(openBox());
        QMessageBox *box = openBox();
        seenCaption = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenButtons = buttonCaptions(box);
        for (const QLabel *label : box->findChildren<QLabel *>()) {
            if (label->text().contains(u"<b>"))
                seenFormats.append(label->textFormat());
        }
        if (QAbstractButton *button = buttonCalled(box, click)) {
            QTest::mouseClick(button, Qt::LeftButton);
            clicked = true;
        } else {
            box->reject();
        }
    });
    const int result =
        Messages::show(nullptr, Messages::Kind(kind), u"Is <b>this</b> plain?"_s, buttons, 0, u"<b>A</b>.mbe"_s);

    QVERIFY(clicked);
    // The text and the detail beneath it are shown as they are.
    QCOMPARE(seenFormats, QList<Qt::TextFormat>(2, Qt::PlainText));
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenText, u"Is <b>this</b> plain?"_s);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons.size(), captions.size());
    for (const QString &expected : captions)
        QVERIFY2(seenButtons.contains(expected), qPrintable(seenButtons.join(u", ")));
    QCOMPARE(result, answer);
}

void TestMessages::helpButtonShowsTopicAndKeepsBoxOpen()
{
    bool openAfterHelp = false;
    bool helpVisible = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(openBox());
        QMessageBox *box = openBox();
        QTest::mouseClick(buttonCalled(box, u"&Help"_s), Qt::LeftButton);
        QApplication::processEvents();
        openAfterHelp = box->isVisible() && openBox() == box;
        helpVisible = !Help::currentPage().isEmpty();
        QTest::mouseClick(buttonCalled(box, u"&No"_s), Qt::LeftButton);
    });
    const int result = Messages::show(nullptr, Messages::Kind::Confirmation, u"Delete?"_s,
                                      Messages::Yes | Messages::No | Messages::Help, 42);
    QVERIFY(openAfterHelp);
    QVERIFY(helpVisible);
    QCOMPARE(Help::lastTopic(), 42);
    QCOMPARE(result, int(Messages::No));
}

// A question whose No throws something away takes Escape and the close button for no answer;
// other questions take them for No.
void TestMessages::closingWithoutAButton_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("answer");
    const int keep = Messages::Yes | Messages::No | Messages::CloseIsNoAnswer;
    QTest::newRow("keeping question, Escape") << keep << true << int(Messages::Cancel);
    QTest::newRow("keeping question, close button") << keep << false << int(Messages::Cancel);
    QTest::newRow("plain question, Escape") << (Messages::Yes | Messages::No) << true << int(Messages::No);
}

void TestMessages::closingWithoutAButton()
{
    QFETCH(int, buttons);
    QFETCH(bool, escape);
    QFETCH(int, answer);
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(openBox());
        escape ? QTest::keyClick(openBox(), Qt::Key_Escape) : void(openBox()->close());
    });
    QCOMPARE(Messages::show(nullptr, Messages::Kind::Confirmation, u"Restore?"_s, buttons), answer);
}

void TestMessages::toolTipsShowNamesAsTheyAre()
{
    for (const QString &name : {u"/home/u/logo.gif"_s, u"<b>bold</b> & <i>co</i>.gif"_s}) {
        const QString tip = PlainToolTip(name);
        QTextDocument shown; // as a tool tip reads it: markup when it looks like markup
        Qt::mightBeRichText(tip) ? shown.setHtml(tip) : shown.setPlainText(tip);
        QCOMPARE(shown.toPlainText(), name);
    }
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
