// The upload wizard driven as the user drives it: the profile rules, the upload list, and sending
// to servers started on this machine.

#include "findcontrol.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/messages.h"
#include "platform/settingsstore.h"
#include "publish/formcheck.h"
#include "publish/gui/animate.h"
#include "publish/gui/transfercontroller.h"
#include "publish/gui/trustdecision.h"
#include "publish/gui/uploadwizard.h"
#include "publish/serverprofiles.h"
#include "testservers.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

void click(const QWidget &window, const QString &name)
{
    auto *button = control<QAbstractButton>(window, name);
    QVERIFY2(button->isEnabled(), qPrintable(name + u" is disabled"_s));
    QTest::mouseClick(button, Qt::LeftButton);
}

bool enabled(const QWidget &window, const QString &name)
{
    return control<QWidget>(window, name)->isEnabled();
}

void selectProfile(const QWidget &window, const QString &name)
{
    auto *list = control<QListWidget>(window, u"lvProfiles"_s);
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    QVERIFY(found.first()->isSelected());
}

QStringList profileNames(const QWidget &window)
{
    QStringList names;
    auto *list = control<QListWidget>(window, u"lvProfiles"_s);
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

// Fills the editor the way a user types; the port box starts at "21".
void typeProfile(const QWidget &window, const QString &name, const QString &password = u"pw"_s,
                 const QString &host = u"ftp.example.org"_s)
{
    auto *edit = control<QLineEdit>(window, u"txtProfileName"_s);
    edit->clear();
    QTest::keyClicks(edit, name);
    control<QLineEdit>(window, u"txtUserName"_s)->setText(u"walker"_s);
    control<QLineEdit>(window, u"txtPassword"_s)->setText(password);
    control<QLineEdit>(window, u"txtHostName"_s)->setText(host);
    control<QLineEdit>(window, u"txtInitialDir"_s)->setText(u"public_html"_s);
}

} // namespace

class TestUploadWizard : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    SettingsStore &store() { return SettingsStore::instance(); }
    QString stored(const QString &profile, const QString &value)
    {
        return store().readString(u"Profiles/"_s + profile, value, u"<none>"_s);
    }
    // A profile whose user has already agreed to send in clear text to a server without TLS.
    void addProfile(const QString &name, const QString &host, int port, bool clearTextAccepted = true,
                    int connections = ServerProfile().connections)
    {
        ServerProfile p;
        p.name = name;
        p.userName = TestServer::user();
        p.password = TestServer::password();
        p.host = host;
        p.port = QString::number(port);
        p.initialDir = u"public_html"_s;
        p.clearTextAccepted = clearTextAccepted;
        p.connections = connections;
        ServerProfiles::SaveProfile(store(), p);
    }
    // Shows the wizard with one small page to send; returns the page's path.
    QString showWithPage(TfrmUpload &wizard)
    {
        const QString page = m_dir->filePath(u"page.html"_s);
        writeFile(page, "<HTML></HTML>\r\n");
        wizard.setUploadList({page});
        wizard.setStateFolder(m_dir->filePath(u"state"_s));
        wizard.show();
        return page;
    }
    // Sends the list to the named profile and waits for the transfer's end.
    QList<FileResult> send(TfrmUpload &wizard, const QString &profile)
    {
        click(wizard, u"btnServers"_s);
        selectProfile(wizard, profile);
        click(wizard, u"btnUpload"_s);
        QSignalSpy ended(&wizard, &TfrmUpload::transferEnded);
        click(wizard, u"btnSend"_s);
        if (wizard.isSending()) {
            // The wizard answers while the files travel.
            [&] {
                QVERIFY(control<QWidget>(wizard, u"pnlProgress"_s)->isVisible());
                QVERIFY(control<TAnimate>(wizard, u"Animate"_s)->isActive());
                QVERIFY(!enabled(wizard, u"btnSend"_s));
            }();
            if (!ended.wait(40000))
                qWarning("the transfer did not end");
        }
        return wizard.results();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        Messages::setTestMode(true);
    }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
        Messages::clearHistory();
    }
    void cleanup()
    {
        QCOMPARE(Messages::pendingAnswers(), 0);
    }

    void duplicateNamesAreRefusedAndCancelCutsTheCaption()
    {
        TfrmUpload wizard;
        wizard.show();
        QCOMPARE(wizard.windowTitle(), u"Upload Wizard"_s);
        click(wizard, u"btnAdd"_s);
        QCOMPARE(wizard.windowTitle(), u"Upload Wizard - Add"_s);
        QVERIFY(!enabled(wizard, u"btnApply"_s)); // the name is empty
        typeProfile(wizard, u"Home"_s);
        // No secret store answers here: the user is told once where the password went.
        Messages::setNextAnswer(Messages::Ok);
        click(wizard, u"btnApply"_s);
        QVERIFY(Messages::shown().value(0).contains(u"kept in the settings file"_s));
        QCOMPARE(profileNames(wizard), QStringList{u"Home"_s});
        QCOMPARE(wizard.windowTitle(), u"Upload Wizard "_s);
        Messages::clearHistory();

        const int beeps = Messages::beepCount();
        click(wizard, u"btnAdd"_s);
        typeProfile(wizard, u"home"_s);
        Messages::setNextAnswer(Messages::Ok);
        click(wizard, u"btnApply"_s);
        QCOMPARE(Messages::shown(), QStringList{u"There is already a server profile with this name."_s});
        QCOMPARE(Messages::beepCount(), beeps + 1);
        QVERIFY(control<QWidget>(wizard, u"pnlProfiles"_s)->isVisible());
        QCOMPARE(ServerProfiles::ReadProfileNames(store()), QStringList{u"Home"_s});
        click(wizard, u"btnCancel"_s);
        QCOMPARE(wizard.windowTitle(), u"Upload Wizard "_s);
        QVERIFY(!control<QWidget>(wizard, u"pnlProfiles"_s)->isVisible());

        // Renaming Home to HOME finds Home itself.
        selectProfile(wizard, u"Home"_s);
        click(wizard, u"btnEdit"_s);
        QCOMPARE(wizard.windowTitle(), u"Upload Wizard - Edit"_s);
        control<QLineEdit>(wizard, u"txtProfileName"_s)->setText(u"HOME"_s);
        Messages::setNextAnswer(Messages::Ok);
        click(wizard, u"btnApply"_s);
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(profileNames(wizard), QStringList{u"Home"_s});
        // Escape answers Cancel in the editor.
        QTest::keyClick(control<QLineEdit>(wizard, u"txtProfileName"_s), Qt::Key_Escape);
        QVERIFY(!control<QWidget>(wizard, u"pnlProfiles"_s)->isVisible());
        QVERIFY(wizard.isVisible());
    }

    void renameMovesEveryValueInItsStoredForm()
    {
        TfrmUpload wizard;
        wizard.show();
        // The password's stored form: Base64 of the scrambled bytes, padded by its length.
        const QStringList passwords{u"a"_s, u"ab"_s, u"abc"_s};
        const QStringList endings{u"=="_s, u"="_s, QString()};
        Messages::setNextAnswer(Messages::Ok); // the password is in the settings file, said once
        for (int i = 0; i < 3; ++i) {
            click(wizard, u"btnAdd"_s);
            typeProfile(wizard, u"P%1"_s.arg(i), passwords[i]);
            click(wizard, u"btnApply"_s);
            const QString form = stored(u"P%1"_s.arg(i), u"Password"_s);
            QCOMPARE(form.size(), 4);
            QVERIFY(form.endsWith(endings[i]));
            QCOMPARE(form.count(u'='), endings[i].size());
        }
        // The passwords are in the settings file: its owner's alone.
        const QFileDevice::Permissions mode = QFile::permissions(m_dir->filePath(u"settings.ini"_s));
        QVERIFY(mode & QFileDevice::ReadOwner);
        QVERIFY(!(mode & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
        ServerProfile trusted;
        QVERIFY(ServerProfiles::LoadProfile(store(), u"P2"_s, &trusted));
        trusted.trustedKey = u"SHA256:abc"_s;
        ServerProfiles::SaveProfile(store(), trusted);

        selectProfile(wizard, u"P2"_s);
        click(wizard, u"btnEdit"_s);
        QCOMPARE(control<QLineEdit>(wizard, u"txtPassword"_s)->text(), u"abc"_s);
        control<QLineEdit>(wizard, u"txtProfileName"_s)->setText(u"Club <web>"_s);
        control<QLineEdit>(wizard, u"txtPort"_s)->setText(u"2121"_s);
        control<QLineEdit>(wizard, u"txtHostName"_s)->setText(u"ftp.example.org"_s);
        QCOMPARE(control<QSpinBox>(wizard, u"updnConnections"_s)->value(), 4);
        control<QSpinBox>(wizard, u"updnConnections"_s)->setValue(2);
        if (const QString pictures = qEnvironmentVariable("BRISKO_PANEL_PICTURES"); !pictures.isEmpty())
            wizard.grab().save(pictures + u"/profile-editor.png"_s);
        click(wizard, u"btnApply"_s);
        QCOMPARE(ServerProfiles::ReadProfileNames(store()).contains(u"P2"_s), false);
        QCOMPARE(profileNames(wizard), (QStringList{u"P0"_s, u"P1"_s, u"Club <web>"_s}));
        ServerProfile moved;
        QVERIFY(ServerProfiles::LoadProfile(store(), u"Club <web>"_s, &moved));
        QCOMPARE(moved.userName, u"walker"_s);
        QCOMPARE(moved.password, u"abc"_s);
        QCOMPARE(moved.host, u"ftp.example.org"_s);
        QCOMPARE(moved.initialDir, u"public_html"_s);
        QCOMPARE(moved.port, u"2121"_s);
        QCOMPARE(moved.connections, 2);
        // Another port is another server: the key trusted for the old one goes.
        QCOMPARE(moved.trustedKey, QString());
        // A profile stored without a port shows 21.
        store().writeString(u"Profiles/Bare"_s, u"Host"_s, u"example.org"_s);
        TfrmUpload again;
        again.show();
        selectProfile(again, u"Bare"_s);
        click(again, u"btnEdit"_s);
        QCOMPARE(control<QLineEdit>(again, u"txtPort"_s)->text(), u"21"_s);
        QCOMPARE(control<QSpinBox>(again, u"updnConnections"_s)->value(), 4);
    }

    void keyFiltersAndApplyCheckWhatWasPasted()
    {
        TfrmUpload wizard;
        wizard.show();
        click(wizard, u"btnAdd"_s);
        auto *port = control<QLineEdit>(wizard, u"txtPort"_s);
        QTest::keyClicks(port, u"a-5x"_s);
        QCOMPARE(port->text(), u"215"_s);
        QTest::keyClick(port, Qt::Key_Backspace);
        QCOMPARE(port->text(), u"21"_s);
        // Select all works, so a new port replaces the old one.
        QTest::keyClick(port, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(port, u"2121"_s);
        QCOMPARE(port->text(), u"2121"_s);
        port->setText(u"21"_s);
        auto *name = control<QLineEdit>(wizard, u"txtProfileName"_s);
        QTest::keyClicks(name, u"a<b>/c:d"_s);
        // The single angle quotation marks, which no test key types.
        for (const QChar c : {u'\u2039', u'\u203A', u'e'}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(name, &press);
        }
        QCOMPARE(name->text(), u"a<b>cde"_s);

        // Pasted text passes no key filter; Apply looks again and names the problem.
        const struct {
            QString name, port, problem;
        } cases[] = {
            {u"my/site"_s, u"21"_s, u"character /"_s},
            {u"site"_s, QString(), u"port"_s},
            {u"site"_s, u"70000"_s, u"port"_s},
            {u"site"_s, u"2x"_s, u"port"_s},
        };
        for (const auto &c : cases) {
            name->clear();
            name->insert(c.name);
            port->clear();
            port->insert(c.port);
            Messages::clearHistory();
            Messages::setNextAnswer(Messages::Ok);
            click(wizard, u"btnApply"_s);
            QCOMPARE(Messages::shown().size(), 1);
            QVERIFY2(Messages::shown().first().contains(c.problem), qPrintable(Messages::shown().first()));
            QVERIFY(control<QWidget>(wizard, u"pnlProfiles"_s)->isVisible());
            QVERIFY(ServerProfiles::ReadProfileNames(store()).isEmpty());
        }
    }

    void deleteLeavesNothingSelectedAndSendNeedsAProfile()
    {
        addProfile(u"One"_s, u"example.org"_s, 21);
        addProfile(u"Two"_s, u"example.org"_s, 21);
        TfrmUpload wizard;
        wizard.setUploadList({m_dir->filePath(u"settings.ini"_s)});
        wizard.show();
        QVERIFY(!enabled(wizard, u"btnDelete"_s) && !enabled(wizard, u"btnEdit"_s) && !enabled(wizard, u"btnUpload"_s));
        selectProfile(wizard, u"One"_s);
        QVERIFY(enabled(wizard, u"btnDelete"_s) && enabled(wizard, u"btnEdit"_s) && enabled(wizard, u"btnUpload"_s));
        Messages::setNextAnswer(Messages::No);
        click(wizard, u"btnDelete"_s);
        QCOMPARE(profileNames(wizard), (QStringList{u"One"_s, u"Two"_s}));
        const int beeps = Messages::beepCount();
        Messages::setNextAnswer(Messages::Yes);
        click(wizard, u"btnDelete"_s);
        QCOMPARE(Messages::beepCount(), beeps + 1);
        QCOMPARE(Messages::shown().last(), u"Do you want to delete the selected server profile?"_s);
        QCOMPARE(profileNames(wizard), QStringList{u"Two"_s});
        QCOMPARE(ServerProfiles::ReadProfileNames(store()), QStringList{u"Two"_s});
        QVERIFY(control<QListWidget>(wizard, u"lvProfiles"_s)->selectedItems().isEmpty());
        QVERIFY(!enabled(wizard, u"btnDelete"_s) && !enabled(wizard, u"btnEdit"_s) && !enabled(wizard, u"btnUpload"_s));
        // Opened again, the wizard selects the only profile left.
        QVERIFY(enabled(TfrmUpload(), u"btnUpload"_s));

        // Leaving the editor enables Upload with no profile selected; Send then sends nothing.
        click(wizard, u"btnAdd"_s);
        click(wizard, u"btnCancel"_s);
        click(wizard, u"btnUpload"_s);
        Messages::clearHistory();
        Messages::setNextAnswer(Messages::Ok);
        click(wizard, u"btnSend"_s);
        QCOMPARE(Messages::shown(), QStringList{u"Select a server profile first."_s});
        QVERIFY(!wizard.isSending());
        QVERIFY(wizard.results().isEmpty());
    }

    void uploadListEditing()
    {
        addProfile(u"One"_s, u"example.org"_s, 21);
        TfrmUpload withProfile;
        withProfile.show();
        selectProfile(withProfile, u"One"_s);
        click(withProfile, u"btnUpload"_s);
        QVERIFY(!enabled(withProfile, u"btnSend"_s) && !enabled(withProfile, u"btnUpRemove"_s));
        const QString path = m_dir->filePath(u"settings.ini"_s);
        for (int i = 0; i < 2; ++i) {
            FileDialogs::setNextFileName(path);
            click(withProfile, u"btnUpAdd"_s);
        }
        QCOMPARE(FileDialogs::lastFilter(), u"All Files|*.*"_s);
        QCOMPARE(withProfile.uploadList(), (QStringList{path, path}));
        auto *list = control<QListWidget>(withProfile, u"lstUpload"_s);
        QCOMPARE(list->currentRow(), 1);
        QVERIFY(enabled(withProfile, u"btnSend"_s) && enabled(withProfile, u"btnUpRemove"_s));
        click(withProfile, u"btnUpRemove"_s);
        click(withProfile, u"btnUpRemove"_s);
        QVERIFY(withProfile.uploadList().isEmpty());
        QVERIFY(!enabled(withProfile, u"btnSend"_s) && !enabled(withProfile, u"btnUpRemove"_s));
    }

    void sendsThePageToTheLocalServer()
    {
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        TestServer server(u"ftp"_s, remote);
        QVERIFY(server.isRunning());
        addProfile(u"Club"_s, u"127.0.0.1"_s, server.port(), false);
        const QString local = m_dir->filePath(u"Upload"_s);
        QDir().mkpath(local + u"/images"_s);
        QByteArray photo(300000, 'p');
        for (int i = 0; i < photo.size(); ++i)
            photo[i] = char(i * 31 / 7);
        writeFile(local + u"/images/photo.jpg"_s, photo);
        writeFile(local + u"/MyPage.html"_s, "<HTML><IMG SRC=\"photo.jpg\"><IMG SRC=\"logo.gif\"></HTML>\r\n");
        const QStringList files{local + u"/images/photo.jpg"_s, local + u"/MyPage.html"_s};

        TfrmUpload wizard;
        wizard.setUploadList(files);
        wizard.setPublishedPage(files.last());
        wizard.setStateFolder(m_dir->filePath(u"state"_s));
        wizard.show();
        // The page uses a picture that is nowhere: the user is asked, and says to go on. The server offers no
        // TLS: nothing goes until the user agrees to clear text, which the profile then remembers.
        Messages::setNextAnswer(Messages::Yes);
        Messages::setNextAnswer(Messages::Yes);
        send(wizard, u"Club"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isSending(), 40000);
        const QList<FileResult> results = wizard.results();
        QVERIFY(Messages::shown().first().contains(u"logo.gif is missing on disk"_s));
        QCOMPARE(Messages::shown().value(1), u"This server does not encrypt the connection: your password and your "
                                              u"files can be read on the way. Send anyway?"_s);
        QCOMPARE(stored(u"Club"_s, u"ClearTextAccepted"_s), u"1"_s);
        QCOMPARE(results.size(), 2);
        for (const FileResult &r : results)
            QCOMPARE(r.status, FileResult::Sent);
        QCOMPARE(readFile(remote + u"/public_html/photo.jpg"_s), photo);
        QCOMPARE(readFile(remote + u"/public_html/MyPage.html"_s), readFile(files.last()));
        QVERIFY(!control<QWidget>(wizard, u"pnlProgress"_s)->isVisible());
        QVERIFY(!control<TAnimate>(wizard, u"Animate"_s)->isActive());
        QCOMPARE(control<TAnimate>(wizard, u"Animate"_s)->frame(), 0);
        auto *lines = control<QListWidget>(wizard, u"lstResults"_s);
        QCOMPARE(lines->item(0)->text(), u"sent photo.jpg (300000 bytes)"_s);
        QCOMPARE(control<QLabel>(wizard, u"lblResult"_s)->text(), u"2 sent, 0 unchanged, 0 failed"_s);

        // Declining the check's question sends nothing.
        Messages::clearHistory();
        Messages::setNextAnswer(Messages::No);
        click(wizard, u"btnSend"_s);
        QVERIFY(!wizard.isSending());

        // Sent again unchanged: each file is only checked, never said to be sent; the agreement holds.
        Messages::clearHistory();
        QSignalSpy texts(wizard.transfer(), &TransferController::fileText);
        Messages::setNextAnswer(Messages::Yes);
        send(wizard, u"Club"_s);
        QCOMPARE(wizard.results().value(1).status, FileResult::Unchanged);
        QStringList seen;
        for (const QList<QVariant> &args : std::as_const(texts))
            seen << args.first().toString();
        seen.sort(); // two connections check the two files at once
        QCOMPARE(seen, (QStringList{u"Checking MyPage.html"_s, u"Checking photo.jpg"_s}));
        QCOMPARE(Messages::shown().size(), 1);

        // Reopened, the wizard selects the profile sent to last, and Upload is ready.
        addProfile(u"Other"_s, u"example.org"_s, 21);
        TfrmUpload reopened;
        QCOMPARE(control<QListWidget>(reopened, u"lvProfiles"_s)->selectedItems().value(0)->text(), u"Club"_s);
        QVERIFY(enabled(reopened, u"btnUpload"_s));

        // A form posting to the built-in address is named, and the page is sent all the same.
        writeFile(local + u"/MyPage.html"_s,
                  "<HTML><IMG SRC=\"photo.jpg\"><FORM ACTION=\"http://forms.marlowen.example/cgi-bin/FormMail.pl\">"
                  "</FORM></HTML>\r\n");
        Messages::clearHistory();
        Messages::setNextAnswer(Messages::Ok);
        QCOMPARE(send(wizard, u"Club"_s).size(), 2);
        QCOMPARE(Messages::shown(), QStringList{kBuiltInFormAddressWarning.toString()});
        QCOMPARE(readFile(remote + u"/public_html/MyPage.html"_s), readFile(files.last()));
    }

    void progressReadsAsAUserWould_data()
    {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("elapsedMs");
        QTest::addColumn<QString>("text");
        QTest::newRow("no pace yet") << 3'400'000LL << 150'000'000LL << 1999LL << u"3.4 of 150 MB, 2 %"_s;
        QTest::newRow("minutes left") << 3'400'000LL << 150'000'000LL << 10'000LL
                                      << u"3.4 of 150 MB, 2 %, about 7 min 12 s left"_s;
        QTest::newRow("seconds left") << 40'000'000LL << 50'000'000LL << 8'000LL
                                      << u"40 of 50 MB, 80 %, about 2 s left"_s;
        QTest::newRow("hours left") << 1'000'000LL << 500'000'000LL << 60'000LL
                                    << u"1.0 of 500 MB, 0 %, about 8 h 19 min left"_s;
        QTest::newRow("small page in KB") << 1'500LL << 3'000LL << 5'000LL << u"1.5 of 3.0 KB, 50 %, about 5 s left"_s;
    }
    void progressReadsAsAUserWould()
    {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(qint64, elapsedMs);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(TransferSummary(done, total, elapsedMs), text);
    }

    void destroyingTheWizardMidTransferEndsAtOnce()
    {
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        TestServer server(u"ftp"_s, remote, {u"--throttle"_s, u"200000"_s});
        QVERIFY(server.isRunning());
        addProfile(u"Slow"_s, u"127.0.0.1"_s, server.port());
        const QString big = m_dir->filePath(u"big.jpg"_s);
        writeFile(big, QByteArray(50'000'000, 'b'));
        auto wizard = std::make_unique<TfrmUpload>();
        wizard->setUploadList({big});
        wizard->setStateFolder(m_dir->filePath(u"state"_s));
        wizard->show();
        click(*wizard, u"btnUpload"_s);
        click(*wizard, u"btnSend"_s);
        // The whole send's progress stands beside the bar, once bytes move.
        auto *total = control<QLabel>(*wizard, u"lblTotal"_s);
        QTRY_VERIFY_WITH_TIMEOUT(total->text().contains(u" of 50 MB, "_s), 10000);
        QCOMPARE(control<QLabel>(*wizard, u"lblProgress"_s)->text(), u"Sending big.jpg"_s);
        QElapsedTimer clock;
        clock.start();
        wizard.reset();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!QFile::exists(remote + u"/public_html/big.jpg"_s));
    }

    void serverThatDropsTlsAfterTrustIsRefused()
    {
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        TestServer server(u"ftp"_s, remote);
        QVERIFY(server.isRunning());
        addProfile(u"Home"_s, u"127.0.0.1"_s, server.port());
        store().writeString(u"Profiles/Home"_s, u"TrustedKey"_s, u"SHA256:AAAA"_s);
        TfrmUpload wizard;
        showWithPage(wizard);
        // Even with clear text once agreed, a server whose TLS key was trusted is never used without TLS.
        Messages::setNextAnswer(Messages::Ok);
        send(wizard, u"Home"_s);
        QCOMPARE(Messages::lastKind(), Messages::Kind::Warning);
        QVERIFY(Messages::shown().value(0).contains(u"no longer offers an encrypted connection"_s));
        QCOMPARE(wizard.results().value(0).status, FileResult::Failed);
        QVERIFY(!QFile::exists(remote + u"/public_html/page.html"_s));
    }

    void trustDecisionAfterARefusedTransfer_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("trustedKey");
        QTest::addColumn<bool>("tlsRefused");
        QTest::addColumn<bool>("keyChanged");
        QTest::addColumn<QString>("untrusted");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("says");
        using K = TrustDecision::Kind;
        QTest::newRow("clear text asked") << u"ftp.example.org"_s << QString() << true << false << QString()
                                          << int(K::ClearText) << u"does not encrypt"_s;
        QTest::newRow("ftpes demands tls") << u"ftpes://example.org"_s << QString() << true << false << QString()
                                           << int(K::None) << QString();
        QTest::newRow("certificate") << u"ftps://example.org"_s << QString() << false << false << u"SHA256:y"_s
                                     << int(K::TrustKey) << u"F4:88:75"_s;
        QTest::newRow("ssh host key") << u"sftp://example.org"_s << QString() << false << false << u"SHA256:y"_s
                                      << int(K::TrustKey) << u"ssh-keygen -l"_s;
        QTest::newRow("all sent") << u"ftp.example.org"_s << QString() << false << false << QString() << int(K::None)
                                  << QString();
    }
    void trustDecisionAfterARefusedTransfer()
    {
        QFETCH(QString, host);
        QFETCH(QString, trustedKey);
        QFETCH(bool, tlsRefused);
        QFETCH(bool, keyChanged);
        QFETCH(QString, untrusted);
        QFETCH(int, kind);
        QFETCH(QString, says);
        ServerProfile p;
        p.name = u"Home"_s;
        p.host = host;
        p.trustedKey = trustedKey;
        TransferOutcome outcome;
        outcome.tlsRefused = tlsRefused;
        outcome.keyChanged = keyChanged;
        outcome.untrustedFingerprint = untrusted;
        outcome.certificateSha256 = u"F4:88:75"_s;
        const TrustDecision d = TrustDecision::after(outcome, p);
        QCOMPARE(int(d.kind), kind);
        QVERIFY2(d.text.contains(says), qPrintable(d.text));
        // Only a question changes the profile, and only in what it asked about.
        const bool asks = d.kind == TrustDecision::Kind::TrustKey || d.kind == TrustDecision::Kind::ClearText;
        QCOMPARE(d.accept(outcome, &p), asks);
        QCOMPARE(p.clearTextAccepted, d.kind == TrustDecision::Kind::ClearText);
        QCOMPARE(p.trustedKey, d.kind == TrustDecision::Kind::TrustKey ? untrusted : trustedKey);
    }

    void severalConnectionsTellOfEachFileAndAWholeThatNeverGoesBack()
    {
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        TestServer server(u"ftp"_s, remote, {u"--throttle"_s, u"400000"_s});
        QVERIFY(server.isRunning());
        TransferOptions options;
        options.target = PublishTarget::fromProfile(u"127.0.0.1"_s, QString::number(server.port()), TestServer::user(),
                                                    TestServer::password(), u"public_html"_s);
        for (const QString &name : {u"a.jpg"_s, u"b.jpg"_s}) {
            options.files << m_dir->filePath(name);
            writeFile(options.files.last(), QByteArray(400'000, 'x'));
        }
        options.connections = 2;
        TransferController transfer;
        QSignalSpy texts(&transfer, &TransferController::fileText);
        QSignalSpy summaries(&transfer, &TransferController::summary);
        QSignalSpy finished(&transfer, &TransferController::finished);
        QVERIFY(transfer.start(options));
        QVERIFY(finished.wait(30000));
        QStringList seen;
        for (const QList<QVariant> &args : std::as_const(texts))
            seen << args.first().toString();
        QVERIFY2(seen.contains(u"Sending a.jpg"_s) && seen.contains(u"Sending b.jpg"_s), qPrintable(seen.join(u'|')));
        int last = 0;
        for (const QList<QVariant> &args : std::as_const(summaries)) {
            QVERIFY2(args.at(1).toInt() >= last, qPrintable(args.first().toString()));
            last = args.at(1).toInt();
        }
        QCOMPARE(last, 1000);
        QCOMPARE(transfer.outcome().results.size(), 2);
        QCOMPARE(transfer.outcome().results.at(1).status, FileResult::Sent);
    }

    void stopEndsTheTransferAndKeepsWhatArrived()
    {
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        TestServer server(u"ftp"_s, remote, {u"--fault"_s, u"freeze"_s, u"--after"_s, u"100000"_s});
        QVERIFY(server.isRunning());
        // One connection, so that the file after the frozen one is never begun.
        addProfile(u"Club"_s, u"127.0.0.1"_s, server.port(), true, 1);
        const QStringList files{m_dir->filePath(u"small.html"_s), m_dir->filePath(u"big.jpg"_s),
                                m_dir->filePath(u"last.gif"_s)};
        writeFile(files[0], "<HTML></HTML>");
        writeFile(files[1], QByteArray(30'000'000, 'b'));
        writeFile(files[2], "GIF89a");
        TfrmUpload wizard;
        wizard.setUploadList(files);
        wizard.setStateFolder(m_dir->filePath(u"state"_s));
        wizard.show();
        click(wizard, u"btnServers"_s);
        selectProfile(wizard, u"Club"_s);
        click(wizard, u"btnUpload"_s);
        click(wizard, u"btnSend"_s);
        auto *progress = control<QLabel>(wizard, u"lblProgress"_s);
        QTRY_VERIFY_WITH_TIMEOUT(progress->text().startsWith(u"Sending big.jpg"_s), 10000);
        QVERIFY(!enabled(wizard, u"btnServers"_s) && !enabled(wizard, u"btnUpAdd"_s));
        click(wizard, u"btnStop"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.isSending(), 1500);
        const QList<FileResult> results = wizard.results();
        QCOMPARE(results.size(), 3);
        QCOMPARE(results[0].status, FileResult::Sent);
        QCOMPARE(results[1].status, FileResult::Failed);
        QCOMPARE(results[2].status, FileResult::Failed);
        QCOMPARE(results[2].reason, u"not sent: stopped"_s);
        QVERIFY(!QFile::exists(remote + u"/public_html/big.jpg"_s));
        QVERIFY(enabled(wizard, u"btnSend"_s) && enabled(wizard, u"btnServers"_s));
    }

    void serverKeyIsTrustedPerProfileAndAChangeRefused_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("ssh host key") << u"sftp"_s;
        QTest::newRow("certificate, implicit tls") << u"ftps"_s;
    }
    void serverKeyIsTrustedPerProfileAndAChangeRefused()
    {
        QFETCH(QString, mode);
        const QString remote = m_dir->filePath(u"remote"_s);
        QDir().mkpath(remote + u"/public_html"_s);
        QStringList extra;
        if (mode != u"sftp"_s) {
            const QString cert = m_dir->filePath(u"cert.pem"_s);
            QVERIFY(TestServer::makeCertificate(cert));
            extra << u"--cert"_s << cert;
        }
        TestServer server(mode, remote, extra);
        QVERIFY(server.isRunning());
        addProfile(u"Home"_s, mode + u"://127.0.0.1"_s, server.port());
        TfrmUpload wizard;
        const QString page = showWithPage(wizard);
        // Unknown key: refused, its fingerprint shown; trusting it stores it and sends again.
        Messages::setNextAnswer(Messages::Yes);
        QSignalSpy ended(&wizard, &TfrmUpload::transferEnded);
        send(wizard, u"Home"_s);
        QVERIFY(ended.size() == 2 || ended.wait(40000));
        const QString question = Messages::shown().value(0);
        const QString key = stored(u"Home"_s, u"TrustedKey"_s);
        QVERIFY2(key.startsWith(u"SHA256:"_s) && question.contains(key), qPrintable(question));
        QVERIFY(!question.contains(TestServer::password()));
        if (mode == u"sftp"_s) {
            QCOMPARE(key, server.fingerprint());
        } else {
            // The whole certificate's SHA-256 in hex pairs, as the host and openssl show it.
            const QByteArray pem = readFile(extra.last());
            const qsizetype begin = pem.indexOf("-----BEGIN CERTIFICATE-----") + 27;
            const QByteArray der = QByteArray::fromBase64(pem.mid(begin, pem.indexOf("-----END CERTIFICATE") - begin));
            const QString hex = QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':'));
            QVERIFY2(question.contains(hex.toUpper()), qPrintable(question));
        }
        QCOMPARE(wizard.results().value(0).status, FileResult::Sent);
        QCOMPARE(readFile(remote + u"/public_html/page.html"_s), readFile(page));

        // A key other than the trusted one is refused with a warning, and never offered for trust.
        store().writeString(u"Profiles/Home"_s, u"TrustedKey"_s, u"SHA256:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"_s);
        writeFile(page, "<HTML>changed</HTML>\r\n");
        Messages::clearHistory();
        Messages::setNextAnswer(Messages::Ok);
        send(wizard, u"Home"_s);
        QCOMPARE(Messages::lastKind(), Messages::Kind::Warning);
        QVERIFY(Messages::shown().value(0).contains(u"changed"_s));
        QCOMPARE(wizard.results().value(0).status, FileResult::Failed);
        QCOMPARE(readFile(remote + u"/public_html/page.html"_s), QByteArray("<HTML></HTML>\r\n"));
    }
};

QTEST_MAIN(TestUploadWizard)
#include "tst_uploadwizard.moc"
