// The field dialog and the field bank dialog on their own: each kind's controls and sample,
// the choice list and its entry panel, loading and storing a field, and the field bank's list
// and file.

#include "formfixture.h"

#include "forms/fieldbank.h"
#include "forms/gui/commonfieldsdialog.h"
#include "forms/gui/fieldsdialog.h"
#include "platform/gui/messages.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QString kFieldBank = u"[Default Fields]\r\nFIELD0=Name|0\r\nFIELD1=E-Mail Address|0\r\n"
                           u"[Field Bank]\r\nFIELD0=E-Mail|0\r\nFIELD1=Phone|0\r\nFIELD2=Comments|1\r\n"_s;

TFormElement field(TFieldKind kind, const QString &name, const QStringList &strings)
{
    TFormElement element;
    element.FieldKind = kind;
    element.Name = name;
    element.Text = name;
    element.Strings = strings;
    return element;
}

} // namespace

class TestFormDialogs : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + u'/'; }
    QString fieldsIni() const { return folder() + u"Fields.ini"_s; }

    // Adds a choice through the entry panel, as a user types it.
    static void addChoice(TfrmFields &dialog, const QString &value, const QString &text, bool checked = false)
    {
        clickButton(control(dialog, "btnAdd"));
        QVERIFY(control(dialog, "pnlDropText")->isVisible());
        QTest::keyClicks(control(dialog, "txtDropValue"), value);
        QTest::keyClicks(control(dialog, "txtDropText"), text);
        if (checked)
            clickCheckBox(dialog, "chkCheck");
        clickButton(control(dialog, "btnDropApply"));
        QVERIFY(!control(dialog, "pnlDropText")->isVisible());
    }

private Q_SLOTS:
    void initTestCase() { Messages::setTestMode(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Messages::clearHistory();
    }

    void cleanup() { QCOMPARE(Messages::pendingAnswers(), 0); }

    void eachKindShowsItsControlsAndSample_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("visible");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("checkColumn");
        QTest::newRow("text box") << int(fkText) << u"cbSize"_s << u"QLineEdit"_s << QString();
        QTest::newRow("text area") << int(fkTextArea) << u"pnlTextArea"_s << u"QPlainTextEdit"_s << QString();
        QTest::newRow("radio") << int(fkRadio) << u"pnlDropDown chkCheck"_s << u"QRadioButton"_s << u"Selected"_s;
        QTest::newRow("check box") << int(fkCheckBox) << u"pnlDropDown chkCheck"_s << u"QCheckBox"_s << u"Checked"_s;
        QTest::newRow("drop down") << int(fkDropDown) << u"pnlDropDown"_s << u"QComboBox"_s << QString();
        QTest::newRow("button") << int(fkButton) << QString() << QString() << QString();
    }

    void eachKindShowsItsControlsAndSample()
    {
        QFETCH(int, kind);
        QFETCH(QString, visible);
        QFETCH(QString, sample);
        QFETCH(QString, checkColumn);
        TfrmFields dialog{TFieldKind(kind)};
        dialog.show();
        const QString caption = FieldKindCaptions[kind].toString();
        QCOMPARE(dialog.windowTitle(), u"Form Field (%1) - Untitled"_s.arg(caption));
        QCOMPARE(textOf(dialog, "lblSample"), u"Here is a sample of a "_s + caption);
        retype(dialog, "txtName", u"Your Name"_s);
        QCOMPARE(dialog.windowTitle(), u"Form Field (%1) - Your Name"_s.arg(caption));

        const QStringList shown = visible.split(u' ', Qt::SkipEmptyParts);
        for (const char *name : {"cbSize", "pnlTextArea", "pnlDropDown", "chkCheck"})
            QCOMPARE(!control(dialog, name)->isHidden(), shown.contains(QLatin1StringView(name)));
        QCOMPARE(control(dialog, "txtValue")->isEnabled(), kind != fkTextArea);
        QWidget *shownSample = control(dialog, "pnlSample")->findChild<QWidget *>(u"sample"_s);
        QCOMPARE(shownSample ? QString::fromLatin1(shownSample->metaObject()->className()) : QString(), sample);
        const auto *list = control<QTreeWidget>(dialog, "lvDropDown");
        if (!checkColumn.isEmpty())
            QCOMPARE(list->headerItem()->text(2), checkColumn);
        if (kind == fkText) { // the sample follows the value as it is typed
            retype(dialog, "txtValue", u"Jo"_s);
            QCOMPARE(static_cast<QLineEdit *>(shownSample)->text(), u"Jo"_s);
        }
        if (kind == fkRadio)
            QCOMPARE(textOf(dialog, "chkCheck"), u"Selected"_s);
    }

    void radioChoicesKeepOneSelected_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("radio") << int(fkRadio) << QStringList{u"s|Small|No"_s, u"l|Large|Yes"_s};
        QTest::newRow("check box") << int(fkCheckBox) << QStringList{u"s|Small|Yes"_s, u"l|Large|Yes"_s};
    }

    void radioChoicesKeepOneSelected()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, stored);
        TfrmFields dialog{TFieldKind(kind)};
        dialog.show();
        addChoice(dialog, u"s"_s, u"Small"_s, true);
        addChoice(dialog, u"l"_s, u"Large"_s, true);
        TFormElement element;
        StoreFieldDialog(dialog, TFieldKind(kind), element);
        QCOMPARE(element.Strings, stored);
        QCOMPARE(element.FieldKind, kind);
    }

    void choiceCommandsFollowTheSelection()
    {
        TfrmFields dialog{fkDropDown};
        dialog.show();
        auto *list = control<TFieldListView>(dialog, "lvDropDown");
        auto *sample = control(dialog, "pnlSample")->findChild<QComboBox *>(u"sample"_s);
        QCOMPARE(sample->itemText(0) + u',' + sample->itemText(1), u"One Selection,Two Selection"_s);

        // Enter and the edit and delete commands need a selected row.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!control(dialog, "pnlDropText")->isVisible());
        QVERIFY(!control(dialog, "btnEdit")->isEnabled());
        addChoice(dialog, u"CA"_s, u"California"_s);
        QCOMPARE(sample->count(), 1);
        QCOMPARE(sample->currentText(), u"California"_s);

        // Apply follows the box last changed.
        clickButton(control(dialog, "btnAdd"));
        QTest::keyClicks(control(dialog, "txtDropValue"), u"x"_s);
        QVERIFY(control(dialog, "btnDropApply")->isEnabled());
        QTest::keyClick(control(dialog, "txtDropValue"), Qt::Key_Backspace);
        QVERIFY(!control(dialog, "btnDropApply")->isEnabled());
        clickButton(control(dialog, "btnDropCancel"));
        QCOMPARE(list->topLevelItemCount(), 1);

        // The only choice cannot go: the message ends in two full stops and the sample keeps it.
        selectRow(list, 0);
        QVERIFY(control(dialog, "btnDelete")->isEnabled());
        Messages::setNextAnswer(Messages::Yes);
        Messages::setNextAnswer(Messages::Ok);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(Messages::shown(), (QStringList{u"Do you want to delete the seleted item?"_s,
                                                 u"There must be at least one item in the drop down box.."_s}));
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(sample->count(), 1);

        // A second choice can, and takes its sample entry with it; No keeps it.
        addChoice(dialog, u"NV"_s, u"Nevada"_s);
        selectRow(list, 0);
        Messages::setNextAnswer(Messages::No);
        clickButton(control(dialog, "btnDelete"));
        QCOMPARE(list->topLevelItemCount(), 2);
        Messages::setNextAnswer(Messages::Yes);
        clickButton(control(dialog, "btnDelete"));
        QCOMPARE(rowTexts(list), QStringList{u"NV"_s});
        QCOMPARE(sample->count(), 1);
        QCOMPARE(sample->itemText(0), u"Nevada"_s);
    }

    void dragExchangesChoicesButNotTheirFlags()
    {
        TfrmFields dialog{fkCheckBox};
        dialog.show();
        FillFieldDialog(dialog, field(fkCheckBox, u"Extras"_s, {u"w|Gift wrap|Yes"_s, u"c|Card|No"_s}));
        auto *list = control<TFieldListView>(dialog, "lvDropDown");
        dragRow(list, 0, list, 1);
        QCOMPARE(rowTexts(list), (QStringList{u"c"_s, u"w"_s}));
        QCOMPARE(rowTexts(list, 1), (QStringList{u"Card"_s, u"Gift wrap"_s}));
        QCOMPARE(rowTexts(list, 2), (QStringList{u"Yes"_s, u"No"_s}));
        QCOMPARE(list->selectedRow(), list->topLevelItem(1));

        TfrmFields dropDown{fkDropDown};
        dropDown.show();
        FillFieldDialog(dropDown, field(fkDropDown, u"Colour"_s, {u"r|Red"_s, u"g|Green"_s, u"b|Blue"_s}));
        auto *choices = control<TFieldListView>(dropDown, "lvDropDown");
        auto *sample = control(dropDown, "pnlSample")->findChild<QComboBox *>(u"sample"_s);
        dragRow(choices, 0, choices, 2);
        QCOMPARE(rowTexts(choices), (QStringList{u"b"_s, u"g"_s, u"r"_s}));
        QCOMPARE(sample->itemText(2), u"Red"_s);
    }

    void dropDownChoiceWithoutFlagCanBeEdited()
    {
        TfrmFields dialog{fkDropDown};
        dialog.show();
        FillFieldDialog(dialog, field(fkDropDown, u"State"_s, {u"AL|Alabama"_s, u"AK|Alaska"_s}));
        auto *list = control<TFieldListView>(dialog, "lvDropDown");
        QCOMPARE(list->topLevelItem(1)->text(2), QString());
        const QPoint second = list->visualItemRect(list->topLevelItem(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
        QTRY_VERIFY(control(dialog, "pnlDropText")->isVisible());
        QCOMPARE(textOf(dialog, "txtDropValue"), u"AK"_s);
        QCOMPARE(textOf(dialog, "txtDropText"), u"Alaska"_s);
        QTest::keyClicks(control(dialog, "txtDropText"), u" (US)"_s);
        clickButton(control(dialog, "btnDropApply"));
        QCOMPARE(list->topLevelItem(1)->text(1), u"Alaska (US)"_s);
        QCOMPARE(list->topLevelItem(1)->text(2), u"No"_s);

        TFormElement element = field(fkDropDown, u"State"_s, {});
        StoreFieldDialog(dialog, fkDropDown, element);
        QCOMPARE(element.Strings, (QStringList{u"AL|Alabama"_s, u"AK|Alaska (US)"_s}));
    }

    // A "|" in a choice would split its line differently when read back: the entry boxes keep it out.
    void choiceBoxesRefuseTheBar()
    {
        TfrmFields dialog{fkRadio};
        dialog.show();
        clickButton(control(dialog, "btnAdd"));
        auto *value = control<QLineEdit>(dialog, "txtDropValue");
        auto *text = control<QLineEdit>(dialog, "txtDropText");
        const int beeps = Messages::beepCount();
        QTest::keyClicks(value, u"a|b"_s);
        QCOMPARE(value->text(), u"ab"_s);
        QCOMPARE(Messages::beepCount(), beeps + 1);
        text->setFocus();
        QApplication::clipboard()->setText(u"Red | Blue|"_s);
        text->paste();
        QCOMPARE(text->text(), u"Red  Blue"_s);
        clickButton(control(dialog, "btnDropApply"));

        TFormElement element;
        StoreFieldDialog(dialog, fkRadio, element);
        QCOMPARE(element.Strings, QStringList{u"ab|Red  Blue|No"_s});
        TfrmFields again{fkRadio};
        FillFieldDialog(again, element);
        QCOMPARE(again.choices().value(0).text, u"Red  Blue"_s);
    }

    void emptyNameIsRefused()
    {
        TfrmFields dialog{fkText};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        retype(dialog, "txtName", QString());
        Messages::setNextAnswer(Messages::Ok);
        control(dialog, "txtValue")->setFocus();
        QCOMPARE(Messages::shown(),
                 QStringList{u"The Name field is a required field. Please include a unique name for the field."_s});
        QCOMPARE(textOf(dialog, "txtName"), u"Untitled"_s);

        // Enter in the name box closes without leaving it: the rule still holds, and the
        // dialog stays for the name to be seen.
        retype(dialog, "txtName", QString());
        Messages::setNextAnswer(Messages::Ok);
        QTest::keyClick(control(dialog, "txtName"), Qt::Key_Return);
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(textOf(dialog, "txtName"), u"Untitled"_s);
        QVERIFY(dialog.isVisible());
    }

    // Clicking into the name selects it all, so that typing replaces "Untitled".
    void nameIsSelectedWhenItGetsTheFocus()
    {
        TfrmFields dialog{fkText};
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *name = qobject_cast<QLineEdit *>(control(dialog, "txtName"));
        QVERIFY(name && !name->hasFocus());
        QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(name->width() / 2, name->height() / 2));
        QTRY_COMPARE(name->selectedText(), u"Untitled"_s);
        QTest::keyClicks(name, u"Phone"_s);
        QCOMPARE(name->text(), u"Phone"_s);
    }

    void storingKeepsOtherSettingLines()
    {
        QFile ini(fieldsIni());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Default Fields]\r\nFIELD0=Name|0\r\nFIELD1=Comments|1\r\n");
        ini.close();
        TWebForm form;
        QList<TFieldEntry> entries;
        QVERIFY(FieldBank(folder()).LoadDefaultFields(form, entries));

        for (int row = 0; row < 2; ++row) {
            const TFieldKind kind = form.Items(row)->FieldKind;
            TfrmFields dialog{kind};
            FillFieldDialog(dialog, *form.Items(row));
            dialog.show();
            QCOMPARE(textOf(dialog, "txtText"), form.Items(row)->Name);
            if (kind == fkText) {
                QCOMPARE(textOf(dialog, "cbSize"), u"30"_s);
                retype(dialog, "cbSize", u"40"_s);
            } else {
                retype(dialog, "txtRows", u"5"_s);
            }
            retype(dialog, "txtText", u"Line one"_s);
            QTest::keyClick(control(dialog, "txtText"), Qt::Key_Return);
            QTest::keyClicks(control(dialog, "txtText"), u"Line two"_s);
            StoreFieldDialog(dialog, kind, *form.Items(row));
        }
        QCOMPARE(form.Items(0)->Strings, (QStringList{u"Size=40"_s, u"Maxlength=100"_s}));
        QCOMPARE(form.Items(0)->Text, u"Line one\r\nLine two"_s);
        QCOMPARE(form.Items(1)->Strings, (QStringList{u"Cols=30"_s, u"Rows=5"_s}));
    }

    void fieldBankListIsComposedByDragging()
    {
        QFile ini(fieldsIni());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(kFieldBank.toLatin1());
        ini.close();
        TfrmCommonFields dialog(TfrmCommonFields::FieldBankMode, folder());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), u"Commonly Used Fields"_s);
        QVERIFY(!control(dialog, "pnlAdvanced")->isVisible());
        auto *defaults = control<TFieldListView>(dialog, "lvForms");
        auto *bank = control<TFieldListView>(dialog, "lvFieldBank");
        QCOMPARE(rowTexts(defaults), (QStringList{u"Name"_s, u"E-Mail Address"_s}));

        // A name the list already starts with selects that row instead.
        dragRow(bank, 0, defaults, 0);
        QCOMPARE(defaults->topLevelItemCount(), 2);
        QCOMPARE(defaults->selectedRow(), defaults->topLevelItem(1));
        QVERIFY(!dialog.isModified());

        dragRow(bank, 2, defaults, 1);
        dragRow(bank, 1, defaults, -1);
        QCOMPARE(rowTexts(defaults), (QStringList{u"Name"_s, u"Comments"_s, u"E-Mail Address"_s, u"Phone"_s}));
        QCOMPARE(rowTexts(defaults, 1).at(1), u"Text Area"_s);
        QCOMPARE(bank->topLevelItemCount(), 3);
        QVERIFY(!control(dialog, "btnMoveDown")->isEnabled());
        QVERIFY(control(dialog, "btnMoveUp")->isEnabled());

        clickButton(control(dialog, "btnMoveUp"));
        QCOMPARE(rowTexts(defaults), (QStringList{u"Name"_s, u"Comments"_s, u"Phone"_s, u"E-Mail Address"_s}));
        dragRow(defaults, 0, defaults, 1);
        QCOMPARE(rowTexts(defaults), (QStringList{u"Comments"_s, u"Name"_s, u"Phone"_s, u"E-Mail Address"_s}));
        dragRow(defaults, 2, bank, 0);
        selectRow(defaults, 0);
        QTest::keyClick(defaults, Qt::Key_Delete);
        QCOMPARE(rowTexts(defaults), (QStringList{u"Name"_s, u"E-Mail Address"_s}));

        clickButton(control(dialog, "btnOk"));
        QVERIFY(!dialog.isVisible());
        QList<TFieldEntry> saved;
        QVERIFY(FieldBank(folder()).LoadFieldList(u"Default Fields"_s, saved));
        QCOMPARE(saved, (QList<TFieldEntry>{{u"Name"_s, fkText}, {u"E-Mail Address"_s, fkText}}));
    }

    void fieldBankWritesOnlyWhenChanged()
    {
        QFile ini(fieldsIni());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(kFieldBank.toLatin1());
        ini.close();
        const QByteArray before = fileBytes(fieldsIni());
        const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-3600);
        QVERIFY(ini.open(QIODevice::ReadWrite));
        QVERIFY(ini.setFileTime(written, QFileDevice::FileModificationTime));
        ini.close();
        {
            TfrmCommonFields dialog(TfrmCommonFields::FieldBankMode, folder());
            dialog.show();
            clickButton(control(dialog, "btnOk"));
        }
        QCOMPARE(fileBytes(fieldsIni()), before);
        QCOMPARE(QFileInfo(fieldsIni()).lastModified().toUTC(), written);

        TfrmCommonFields dialog(TfrmCommonFields::FieldBankMode, folder());
        dialog.show();
        clickButton(control(dialog, "btnReset"));
        clickButton(control(dialog, "btnOk"));
        const QString text = QString::fromLatin1(fileBytes(fieldsIni()));
        QVERIFY2(text.contains(u"[Default Fields]\r\nFIELD0=Name|0\r\nFIELD1=E-Mail|0\r\nFIELD2=Address|0\r\n"
                               u"FIELD3=City|0\r\nFIELD4=State|4\r\nFIELD5=Zip Code/Postal Code|0\r\n"_s),
                 qPrintable(text));
        QVERIFY(text.contains(u"[Field Bank]\r\nFIELD0=E-Mail|0\r\nFIELD1=Phone|0\r\nFIELD2=Comments|1\r\n"_s));

        // A default list that cannot be read is reported and not replaced by the empty list
        // shown, though the missing bank section counts as a change.
        const QByteArray broken = "[Default Fields]\r\nFIELD0=State|4x\r\n";
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(broken);
        ini.close();
        Messages::setNextAnswer(Messages::Ok);
        TfrmCommonFields unread(TfrmCommonFields::FieldBankMode, folder());
        unread.show();
        QCOMPARE(Messages::shown(), QStringList{u"'4x' is not a valid integer value"_s});
        QVERIFY(unread.isModified());
        clickButton(control(unread, "btnOk"));
        QCOMPARE(fileBytes(fieldsIni()), broken);
    }

    // A list that cannot be saved is reported with the file and the reason, and stays to be saved.
    void failedSaveKeepsTheDialogOpen()
    {
        QVERIFY(QDir().mkpath(fieldsIni())); // a folder where the file should be
        TfrmCommonFields dialog(TfrmCommonFields::FieldBankMode, folder());
        dialog.show();
        QVERIFY(dialog.isModified()); // neither section exists
        Messages::setNextAnswer(Messages::Ok);
        clickButton(control(dialog, "btnOk"));
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().at(0).contains(fieldsIni()));
        QCOMPARE(Messages::lastKind(), Messages::Kind::Error);
        QVERIFY(!Messages::lastDetail().isEmpty());
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(TestFormDialogs)
#include "tst_formdialogs.moc"
