#include "editorfixture.h"

#include "dialogs/miscdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestFontButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontButtonChoosesTheMemoFont_data();
    void fontButtonChoosesTheMemoFont();
};

void TestFontButtons::fontButtonChoosesTheMemoFont_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("block");
    QTest::addColumn<bool>("ok");

    QTest::newRow("heading, OK") << u"btnHeadingFont"_s << int(btHeading) << true;
    QTest::newRow("heading, Cancel") << u"btnHeadingFont"_s << int(btHeading) << false;
    QTest::newRow("paragraph, OK") << u"btnTextFont"_s << int(btText) << true;
    QTest::newRow("paragraph, Cancel") << u"btnTextFont"_s << int(btText) << false;
}

void TestFontButtons::fontButtonChoosesTheMemoFont()
{
    QFETCH(QString, button);
    QFETCH(int, block);
    QFETCH(bool, ok);

    TPagelette doc = pageWithEveryBlock();
    TPageItem &item = *doc.Page.Items(block);
    const bool heading = block == btHeading;
    // The block starts with a font of its own that it does not apply yet.
    QString &attributes = heading ? item.HeadingBlock.Attributes : item.TextBlock.Attributes;
    quint8 &applyFont = heading ? item.HeadingBlock.ApplyFont : item.TextBlock.ApplyFont;
    attributes = u"\"Arial\", 14, [fsItalic], [$00000080]"_s;
    applyFont = 0;

    TBlockEditor editor;
    editor.resize(520, 560);
    editor.show();
    editor.loadBlock(doc, block);
    const int tag = heading ? TBlockEditor::HeadingFont : TBlockEditor::TextFont;
    const TFontSpec before = editor.memoFont(tag);
    QCOMPARE(before.Size, 14);

    TFontSpec offered;
    QString sizeShown;
    QTimer::singleShot(0, &editor, [&] {
        auto *dialog = qobject_cast<TfrmMisc *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("the font dialog did not open");
        offered = dialog->sampleFont();
        sizeShown = dialog->findChild<QComboBox *>(u"cbSize"_s)->currentText();
        dialog->findChild<QComboBox *>(u"cbSize"_s)->setCurrentIndex(0);
        QTest::mouseClick(dialog->findChild<QToolButton *>(u"btnBold"_s), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>(ok ? u"btnOK"_s : u"btnCancel"_s), Qt::LeftButton);
    });
    QTest::mouseClick(control<QPushButton>(editor, button.toLatin1().constData()), Qt::LeftButton);

    QCOMPARE(offered, before);
    QCOMPARE(sizeShown, u"4"_s);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    TFontSpec expected = before;
    if (ok) {
        expected.Size = 20;
        expected.Bold = true;
    }
    QCOMPARE(editor.memoFont(tag), expected);
    QVERIFY(editor.commitBlock(doc));
    QCOMPARE(applyFont, quint8(ok ? 1 : 0));
    QCOMPARE(attributes, FontToDescription(expected));
}

QTEST_MAIN(TestFontButtons)
#include "tst_fontbuttons.moc"
