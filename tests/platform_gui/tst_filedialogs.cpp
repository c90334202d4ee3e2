#include "platform/gui/filedialogs.h"
#include "platform/gui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QFileDialog *openDialog()
{
    return qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
}

struct SeenDialog
{
    QString title;
    QStringList filters;
    QString folder;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool confirmsOverwrite = true;
};

// Answers the next file dialog by typing each of names and Enter while it is open, or cancels it
// when names is empty. A warning of the dialog's own (a missing file) is closed, and the dialog
// cancelled.
void answerNextDialog(QObject *context, const QStringList &names, SeenDialog *seen, bool ownWarning = false)
{
    QTimer::singleShot(0, context, [names, seen, ownWarning] {
        QTRY_VERIFY(openDialog());
        QFileDialog *dialog = openDialog();
        seen->title = dialog->windowTitle();
        seen->filters = dialog->nameFilters();
        seen->folder = dialog->directory().absolutePath();
        seen->mode = dialog->acceptMode();
        seen->confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        if (names.isEmpty()) {
            dialog->reject();
            return;
        }
        auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        QVERIFY(edit);
        // Typed as a user types: into the focused box, which keeps the list's selection in step.
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        if (ownWarning) {
            QTimer::singleShot(0, dialog, [dialog] {
                QTRY_VERIFY(QApplication::activeModalWidget() != dialog);
                QApplication::activeModalWidget()->close();
                dialog->reject();
            });
        }
        for (const QString &name : names) {
            if (!dialog->isVisible())
                break;
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
}

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersBecomeQtNotation_data();
    void filtersBecomeQtNotation();
    void savedNameGetsTheDefaultExtension_data();
    void savedNameGetsTheDefaultExtension();
    void hookRecordsWhatTheDialogWasOpenedWith();
    void saveDialogAcceptsNewNames();
    void replacingAnotherFileIsAsked_data();
    void replacingAnotherFileIsAsked();
    void openDialogReturnsTheChosenFileOrNothing();

private:
    QTemporaryDir m_dir;
};

void TestFileDialogs::filtersBecomeQtNotation_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("two pairs") << u"Brisko Template|*.mbt|Brisko Files|*.mbe"_s
                               << QStringList{u"Brisko Template (*.mbt)"_s, u"Brisko Files (*.mbe)"_s};
    QTest::newRow("several masks") << u"Images Files|*.gif;*.jpg;*.jpeg;*.bmp"_s
                                   << QStringList{u"Images Files (*.gif *.jpg *.jpeg *.bmp)"_s};
    QTest::newRow("all files") << u"All Files|*.*"_s << QStringList{u"All Files (*)"_s};
    QTest::newRow("masks already in the description")
        << u"HTML Files (*.htm;*.html)|*.htm;*.html"_s << QStringList{u"HTML Files (*.htm *.html)"_s};
    QTest::newRow("no mask") << u"Anything|"_s << QStringList{u"Anything (*)"_s};
    QTest::newRow("no description") << u"|*.txt"_s << QStringList{u"*.txt (*.txt)"_s};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestFileDialogs::filtersBecomeQtNotation()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(FileDialogs::toQtFilters(filter), expected);
}

void TestFileDialogs::savedNameGetsTheDefaultExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no extension") << u"/home/u/My Page"_s << u"/home/u/My Page.mbe"_s;
    QTest::newRow("own extension") << u"/home/u/My Page.mbe"_s << u"/home/u/My Page.mbe"_s;
    QTest::newRow("dot in the folder only") << u"/home/u/site.old/page"_s << u"/home/u/site.old/page.mbe"_s;
    QTest::newRow("cancelled") << QString() << QString();
}

void TestFileDialogs::savedNameGetsTheDefaultExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expected);

    FileDialogs::setNextFileName(chosen);
    QCOMPARE(FileDialogs::getSaveFileName(nullptr, u"Brisko Files|*.mbe"_s, u"mbe"_s, u"/home/u"_s), expected);
}

void TestFileDialogs::hookRecordsWhatTheDialogWasOpenedWith()
{
    FileDialogs::setNextFileName(u"/x/a.mbt"_s);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Brisko Template|*.mbt|Brisko Files|*.mbe"_s, u"/x/"_s),
             u"/x/a.mbt"_s);
    QCOMPARE(FileDialogs::lastFilter(), u"Brisko Template|*.mbt|Brisko Files|*.mbe"_s);
    QCOMPARE(FileDialogs::lastFolder(), u"/x/"_s);

    // The hook answers one dialog only.
    SeenDialog seen;
    answerNextDialog(this, {}, &seen);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Text Files|*.txt"_s, m_dir.path()), QString());
    QCOMPARE(FileDialogs::lastFilter(), u"Text Files|*.txt"_s);
    QCOMPARE(seen.filters, QStringList{u"Text Files (*.txt)"_s});
}

void TestFileDialogs::saveDialogAcceptsNewNames()
{
    QVERIFY(m_dir.isValid());
    SeenDialog seen;
    answerNextDialog(this, {u"New Page"_s}, &seen);
    const QString chosen = FileDialogs::getSaveFileName(nullptr, u"Brisko Files|*.mbe"_s, u"mbe"_s, m_dir.path());
    QCOMPARE(chosen, m_dir.filePath(u"New Page.mbe"_s));
    QCOMPARE(seen.title, u"Save As"_s);
    QCOMPARE(seen.filters, QStringList{u"Brisko Files (*.mbe)"_s});
    QCOMPARE(seen.folder, QDir(m_dir.path()).absolutePath());
    QCOMPARE(seen.mode, QFileDialog::AcceptSave);
    QVERIFY(!seen.confirmsOverwrite); // the program asks its own question
}

// An existing file other than the page's own is replaced only on Yes; No goes back to the dialog.
void TestFileDialogs::replacingAnotherFileIsAsked_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("own");
    QTest::addColumn<int>("answer"); // 0: no question
    QTest::addColumn<QString>("expected");
    QTest::newRow("another file, Yes") << QStringList{u"Old"_s} << QString() << int(Messages::Yes) << u"Old.mbe"_s;
    QTest::newRow("another file, No, then a new name")
        << QStringList{u"Old"_s, u"Fresh"_s} << QString() << int(Messages::No) << u"Fresh.mbe"_s;
    QTest::newRow("the page's own file") << QStringList{u"Old"_s} << u"Old.mbe"_s << 0 << u"Old.mbe"_s;
}

void TestFileDialogs::replacingAnotherFileIsAsked()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, own);
    QFETCH(int, answer);
    QFETCH(QString, expected);
    QFile existing(m_dir.filePath(u"Old.mbe"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    Messages::setTestMode(true);
    Messages::clearHistory();
    if (answer)
        Messages::setNextAnswer(answer);
    SeenDialog seen;
    answerNextDialog(this, typed, &seen);
    QCOMPARE(FileDialogs::getSaveFileName(nullptr, u"Brisko Files|*.mbe"_s, u"mbe"_s, m_dir.path(),
                                          own.isEmpty() ? QString() : m_dir.filePath(own)),
             m_dir.filePath(expected));
    QCOMPARE(Messages::shown().size(), answer ? 1 : 0);
    Messages::setTestMode(false);
}

void TestFileDialogs::openDialogReturnsTheChosenFileOrNothing()
{
    QFile existing(m_dir.filePath(u"Walking Club.mbe"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    SeenDialog seen;
    answerNextDialog(this, {u"Walking Club.mbe"_s}, &seen);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Brisko Files|*.mbe"_s, m_dir.path(), u"Open a Page"_s),
             existing.fileName());
    QCOMPARE(seen.title, u"Open a Page"_s);
    QCOMPARE(seen.mode, QFileDialog::AcceptOpen);

    // A name that does not exist cannot be opened.
    answerNextDialog(this, {u"Missing.mbe"_s}, &seen, true);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Brisko Files|*.mbe"_s, m_dir.path()), QString());
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
