#include "app/blockeditor.h"
#include "dialogs/miscdialog.h"
#include "platform/gui/help.h"
#include "platform/gui/messages.h"
#include "themes/gui/colorpicker.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// Every control that offers "What's This?" or F1 help must lead to a page the program ships.
class TestHelpTopics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyAttachedTopicHasAPage();
};

void TestHelpTopics::everyAttachedTopicHasAPage()
{
    // A box would mean a window could not be built; fail instead of waiting for an answer.
    Messages::setTestMode(true);
    TBlockEditor editor;
    TfrmMisc misc;
    // The shipped program folder holds the palettes the picker loads.
    TfrmColor picker(nullptr, QStringLiteral(BRISKO_PROGRAM_DIR));
    int attached = 0;
    for (const QWidget *window : {static_cast<QWidget *>(&editor), static_cast<QWidget *>(&misc),
                                  static_cast<QWidget *>(&picker)}) {
        for (const QWidget *widget : window->findChildren<QWidget *>()) {
            const int topic = Help::topicOf(widget);
            if (topic == 0)
                continue;
            ++attached;
            const QString page = u":/help/%1.html"_s.arg(topic);
            QVERIFY2(QFile::exists(page), qPrintable(widget->objectName() + u" → "_s + page));
        }
    }
    QVERIFY(attached > 60);
    QVERIFY(Messages::shown().isEmpty());
}

QTEST_MAIN(TestHelpTopics)
#include "tst_helptopics.moc"
