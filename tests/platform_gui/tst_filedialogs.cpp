#include "platform/gui/filedialogs.h"

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

// Answers the next file dialog by typing name into its file name box and pressing Enter, or
// cancels it when name is empty.
void answerNextDialog(QObject *context, const QString &name, SeenDialog *seen)
{
    QTimer::singleShot(0, context, [name, seen] {
        QTRY_VERIFY(openDialog());
        QFileDialog *dialog = openDialog();
        seen->title = dialog->windowTitle();
        seen->filters = dialog->nameFilters();
        seen->folder = dialog->directory().absolutePath();
        seen->mode = dialog->acceptMode();
        seen->confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        QVERIFY(edit);
        // A question box on Enter (overwrite, missing file) would be a failure: it is closed, and
        // the dialog cancelled, if it is still there a moment later.
        QTimer::singleShot(100, dialog, [dialog] {
            if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != dialog)
                QApplication::activeModalWidget()->close();
            dialog->reject();
        });
        edit->setText(name);
        QTest::keyClick(edit, Qt::Key_Return);
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
    void saveDialogAcceptsNewAndExistingNames();
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

void TestFileDialogs::saveDialogAcceptsNewAndExistingNames()
{
    QVERIFY(m_dir.isValid());
    SeenDialog seen;
    answerNextDialog(this, u"New Page"_s, &seen);
    const QString chosen = FileDialogs::getSaveFileName(nullptr, u"Brisko Files|*.mbe"_s, u"mbe"_s, m_dir.path());
    QCOMPARE(chosen, m_dir.filePath(u"New Page.mbe"_s));
    QCOMPARE(seen.title, u"Save As"_s);
    QCOMPARE(seen.filters, QStringList{u"Brisko Files (*.mbe)"_s});
    QCOMPARE(seen.folder, QDir(m_dir.path()).absolutePath());
    QCOMPARE(seen.mode, QFileDialog::AcceptSave);
    QVERIFY(!seen.confirmsOverwrite);

    // An existing file is chosen without a question.
    QFile existing(m_dir.filePath(u"Old.mbe"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    answerNextDialog(this, u"Old"_s, &seen);
    QCOMPARE(FileDialogs::getSaveFileName(nullptr, u"Brisko Files|*.mbe"_s, u"mbe"_s, m_dir.path()),
             m_dir.filePath(u"Old.mbe"_s));
}

void TestFileDialogs::openDialogReturnsTheChosenFileOrNothing()
{
    QFile existing(m_dir.filePath(u"Walking Club.mbe"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    SeenDialog seen;
    answerNextDialog(this, u"Walking Club.mbe"_s, &seen);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Brisko Files|*.mbe"_s, m_dir.path(), u"Open a Page"_s),
             existing.fileName());
    QCOMPARE(seen.title, u"Open a Page"_s);
    QCOMPARE(seen.mode, QFileDialog::AcceptOpen);

    // A name that does not exist cannot be opened.
    answerNextDialog(this, u"Missing.mbe"_s, &seen);
    QCOMPARE(FileDialogs::getOpenFileName(nullptr, u"Brisko Files|*.mbe"_s, m_dir.path()), QString());
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
