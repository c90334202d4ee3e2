// Where dialogs and message boxes open, whatever parent they are given, and what the title bars
// of the fixed-size ones offer.

#include "dialogs/miscdialog.h"
#include "dialogs/templatesdialog.h"
#include "platform/gui/dialogframe.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "themes/gui/colorpicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using namespace Qt::StringLiterals;

// Opens a modal window from the given parent and returns once it is closed.
using Opener = std::function<void(QWidget *parent)>;
Q_DECLARE_METATYPE(Opener)

class TestDialogFrames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // No browser bookmarks are set up: the bookmark dialog asks before it shows itself.
        SettingsStore::useFile(m_dir.filePath(u"settings.ini"_s));
        DialogFrame::centreEveryDialog();
    }

    void opensCentredOverItsWindow_data()
    {
        QTest::addColumn<Opener>("open");
        QTest::addColumn<bool>("fromControl"); // else without a parent
        QTest::addColumn<bool>("windowShown"); // else the screen is the owner
        QTest::addColumn<bool>("fixedSize");
        const Opener message = [](QWidget *parent) {
            Messages::show(parent, Messages::Kind::Confirmation, u"Go on?"_s, Messages::Yes | Messages::No);
        };
        const Opener plain = [](QWidget *parent) {
            QDialog dialog(parent);
            dialog.resize(200, 90);
            dialog.exec();
        };
        QTest::newRow("font") << Opener([](QWidget *parent) { TfrmMisc(parent).exec(); }) << true << true << true;
        QTest::newRow("bookmarks: the question before the dialog shows") << Opener([](QWidget *parent) {
            TfrmMisc dialog(parent);
            dialog.setDialogMode(TfrmMisc::BookmarkMode);
            dialog.exec();
        }) << true << true << true;
        QTest::newRow("colour picker") << Opener([](QWidget *parent) {
            TfrmColor(parent, QStringLiteral(BRISKO_PROGRAM_DIR)).exec();
        }) << true << true << true;
        QTest::newRow("templates") << Opener([this](QWidget *parent) { TfrmTemplates(m_dir.path(), parent).exec(); })
                                   << true << true << true;
        QTest::newRow("message from a dialog not shown yet") << Opener([message](QWidget *parent) {
            QDialog hidden(parent);
            message(&hidden);
        }) << true << true << true;
        QTest::newRow("message without a parent: the active window") << message << false << true << true;
        QTest::newRow("dialog without a window: the screen") << plain << false << false << false;
    }
    void opensCentredOverItsWindow()
    {
        QFETCH(Opener, open);
        QFETCH(bool, fromControl);
        QFETCH(bool, windowShown);
        QFETCH(bool, fixedSize);
        // Away from the middle of the screen, so that the screen's centre cannot pass for it.
        QWidget window;
        auto *edit = new QLineEdit(&window);
        window.setGeometry(60, 50, 560, 420);
        if (windowShown) {
            window.show();
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
        QRect frame;
        Qt::WindowFlags flags; // as given to the window manager
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            frame = modal->frameGeometry();
            flags = modal->windowHandle()->flags();
            QCOMPARE(modal->minimumSize() == modal->maximumSize(), fixedSize);
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                box->buttons().constLast()->click(); // "&No"
            else
                modal->reject();
        });
        open(fromControl ? edit : nullptr);

        const QPoint wanted =
            windowShown ? window.frameGeometry().center() : window.screen()->availableGeometry().center();
        QCOMPARE_LE((frame.center() - wanted).manhattanLength(), 2);
        // Only the close button, spelled out rather than left to the platform's defaults.
        const Qt::WindowFlags offered = Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
        if (fixedSize)
            QCOMPARE(flags & (offered | Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint), offered);
    }

    // Just after start-up a maximised main window may still have its old size: what opens over
    // it goes where the window is about to be, the middle of the screen.
    void opensCentredOverAWindowStillBeingMaximised()
    {
        QWidget window;
        window.setGeometry(60, 50, 300, 200);
        window.setWindowState(Qt::WindowMaximized);
        QDialog dialog;
        dialog.resize(200, 90);
        DialogFrame::centreOver(&dialog, &window);
        const QPoint wanted = window.screen()->availableGeometry().center();
        QCOMPARE_LE((dialog.frameGeometry().center() - wanted).manhattanLength(), 2);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestDialogFrames)
#include "tst_dialogframes.moc"
