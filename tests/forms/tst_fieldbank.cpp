#include "forms/fieldbank.h"
#include "platform/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Entries as "name|kind" for readable comparisons.
QStringList described(const QList<TFieldEntry> &entries)
{
    QStringList lines;
    for (const TFieldEntry &entry : entries)
        lines.append(entry.Name % u'|' % QString::number(entry.Kind));
    return lines;
}

TFormElement element(TFieldKind kind, const QString &name, const QStringList &strings)
{
    TFormElement e;
    e.FieldKind = kind;
    e.Name = name;
    e.Text = name;
    e.Strings = strings;
    return e;
}

} // namespace

class TestFieldBank : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FieldBank> m_bank;

    void writeFields(const QByteArray &text)
    {
        QFile file(m_bank->filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_bank = std::make_unique<FieldBank>(m_dir->path() + u'/');
    }

    void loadFieldListReadsNumberedEntries_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("error");

        // clang-format off
        QTest::newRow("plain") << QByteArray("FIELD0=Name|0\nFIELD1=State|4\n") << true
            << QStringList{u"Name|0"_s, u"State|4"_s} << "";
        QTest::newRow("by number, not line order") << QByteArray("FIELD1=B|1\nFIELD0=A|0\n") << true
            << QStringList{u"A|0"_s, u"B|1"_s} << "";
        QTest::newRow("bad kinds skipped")
            << QByteArray("FIELD0=Comments|9\nFIELD1=Comments|\nFIELD2=Comments\nFIELD3=Big|59\nFIELD4=Ok|5\n")
            << true << QStringList{u"Ok|5"_s} << "";
        QTest::newRow("bare digit, empty name") << QByteArray("FIELD0=3\n") << true << QStringList{u"|3"_s} << "";
        QTest::newRow("numbers past the count") << QByteArray("FIELD1=One|0\nFIELD2=Two|0\n") << true
            << QStringList{u"One|0"_s} << "";
        QTest::newRow("comments are not lines") << QByteArray("; FIELD0=x|0\nFIELD1=One|0\n") << true
            << QStringList() << "";
        QTest::newRow("kind not a whole number") << QByteArray("FIELD0=Name|0\nFIELD1=State|4x\n") << false
            << QStringList{u"untouched|0"_s} << "'4x' is not a valid integer value";
        // clang-format on
    }

    void loadFieldListReadsNumberedEntries()
    {
        QFETCH(QByteArray, section);
        QFETCH(bool, loaded);
        QFETCH(QStringList, entries);
        QFETCH(QString, error);

        writeFields("[Other]\nFIELD0=Stray|0\n[Default Fields]\n" + section);
        QList<TFieldEntry> list{{u"untouched"_s, fkText}};
        QString message = u"stale"_s;
        QCOMPARE(m_bank->LoadFieldList(u"default fields"_s, list, &message), loaded);
        QCOMPARE(described(list), entries);
        QCOMPARE(message, error);

        // A section that does not exist is no error, and the list keeps its rows.
        QVERIFY(!m_bank->LoadFieldList(u"Missing"_s, list, &message));
        QVERIFY(message.isEmpty());
        QCOMPARE(described(list), entries);
    }

    void readChoicesNormalisesLinesByKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QStringList>("strings");

        const QByteArray gender = "Gender0=f|Female|Yes\nGender1=m|Male|\nGender2=m|Male\n"
                                  "Gender3=nobar\nGender4=\nGender5=x|y|z|w\n";
        // clang-format off
        QTest::newRow("radio") << int(fkRadio) << gender
            << QStringList{u"f|Female|Yes"_s, u"m|Male|"_s, u"m||Male"_s, u"x|y|z|w"_s};
        QTest::newRow("check box") << int(fkCheckBox) << QByteArray("Gender0=m|Male\n") << QStringList{u"m||Male"_s};
        QTest::newRow("drop-down") << int(fkDropDown)
            << QByteArray("Gender0=AL|Alabama\nGender1=Alaska\nGender2=a|b|c\n")
            << QStringList{u"AL|Alabama"_s, u"|Alaska"_s, u"a|b|c"_s};
        QTest::newRow("text box empties the list") << int(fkText) << gender << QStringList();
        // clang-format on
    }

    void readChoicesNormalisesLinesByKind()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, section);
        QFETCH(QStringList, strings);

        writeFields("[Gender]\n" + section);
        QStringList read{u"old"_s};
        m_bank->ReadChoices(u"Gender"_s, kind, read);
        QCOMPARE(read, strings);

        read = QStringList{u"old"_s};
        m_bank->ReadChoices(u"Missing"_s, kind, read);
        QCOMPARE(read, QStringList{u"old"_s});
    }

    void defaultFieldsBecomeFormFields()
    {
        writeFields("[Default Fields]\nFIELD0=Name|0\nFIELD1=State|4\nFIELD2=Comments|1\nFIELD3=Gender|2\n"
                    "FIELD4=Credit Card Type|4\nFIELD5=Submit|5\n"
                    "[State]\nState0=AL|Alabama\nState1=AK|Alaska\n[Gender]\nGender0=f|Female|Yes\n"
                    "[CREDIT]\nCREDIT0=VISA|Visa\nCREDIT1=MC|MasterCard\n");
        TWebForm form;
        QList<TFieldEntry> rows;
        QString error;
        QVERIFY2(m_bank->LoadDefaultFields(form, rows, &error), qPrintable(error));
        QCOMPARE(rows.size(), 6);
        QCOMPARE(form.Count(), 6);
        QCOMPARE(*form.Items(0), element(fkText, u"Name"_s, {u"Size=30"_s, u"Maxlength=100"_s}));
        QCOMPARE(*form.Items(1), element(fkDropDown, u"State"_s, {u"AL|Alabama"_s, u"AK|Alaska"_s}));
        QCOMPARE(*form.Items(2), element(fkTextArea, u"Comments"_s, {u"Cols=30"_s, u"Rows=15"_s}));
        QCOMPARE(*form.Items(3), element(fkRadio, u"Gender"_s, {u"f|Female|Yes"_s}));
        QCOMPARE(*form.Items(4), element(fkDropDown, u"Credit Card Type"_s, {u"VISA|Visa"_s, u"MC|MasterCard"_s}));
        QCOMPARE(*form.Items(5), element(fkButton, u"Submit"_s, {}));

        // One entry at a time gives the same element; an unknown kind adds nothing.
        TWebForm single;
        QVERIFY(m_bank->CreateFieldFromEntry(single, u"Credit Card Type"_s, fkDropDown));
        QCOMPARE(*single.Items(0), *form.Items(4));
        QVERIFY(!m_bank->CreateFieldFromEntry(single, u"State"_s, 6, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(single.Count(), 1);

        // Without the file there are no default fields at all.
        QVERIFY(QFile::remove(m_bank->filePath()));
        QVERIFY(!m_bank->LoadDefaultFields(single, rows));
        QCOMPARE(single.Count(), 1);
    }

    // The rows and the fields come from one reading; when it fails neither is touched.
    void failedDefaultFieldsLeaveTheFormAlone()
    {
        writeFields("[Default Fields]\nFIELD0=Name|0\nFIELD1=State|4x\n");
        TWebForm form;
        form.Add().Name = u"Kept"_s;
        QList<TFieldEntry> rows{{u"Kept"_s, fkText}};
        QString error;
        QVERIFY(!m_bank->LoadDefaultFields(form, rows, &error));
        QCOMPARE(error, u"'4x' is not a valid integer value"_s);
        QCOMPARE(form.Count(), 1);
        QCOMPARE(rows, (QList<TFieldEntry>{{u"Kept"_s, fkText}}));
    }

    void exchangingFieldsKeepsTheOthersInPlace_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QString>("order");
        QTest::newRow("first and last") << 0 << 3 << u"DBCA"_s;
        QTest::newRow("last and first") << 3 << 0 << u"DBCA"_s;
        QTest::newRow("neighbours") << 1 << 2 << u"ACBD"_s;
        QTest::newRow("same") << 2 << 2 << u"ABCD"_s;
        QTest::newRow("out of range") << 0 << 4 << u"ABCD"_s;
    }

    void exchangingFieldsKeepsTheOthersInPlace()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QString, order);
        TWebForm form;
        for (const QChar name : u"ABCD"_s)
            form.Add().Name = name;
        form.ExchangeFields(a, b);
        QString names;
        for (int i = 0; i < form.Count(); ++i)
            names += form.Items(i)->Name;
        QCOMPARE(names, order);
    }

    void choiceSectionMapsOnlyTheExactCreditCardNames()
    {
        QCOMPARE(FieldBank::ChoiceSection(u"Credit Card Type"_s), u"CREDIT"_s);
        QCOMPARE(FieldBank::ChoiceSection(u"Credit Card Exp Year"_s), u"YEAR"_s);
        QCOMPARE(FieldBank::ChoiceSection(u"Credit Card Exp Month"_s), u"MONTH"_s);
        QCOMPARE(FieldBank::ChoiceSection(u"credit card type"_s), u"credit card type"_s);
    }

    void saveFieldListReplacesOnlyItsSection()
    {
        writeFields("; my notes\r\n[Field Bank]\r\nFIELD0=Phone|0\r\n\r\n"
                    "[Default Fields]\r\nFIELD0=Old|0\r\nFIELD1=Older|1\r\nFIELD2=Oldest|2\r\nFIELD6=Stray|0\r\n"
                    "\r\n[State]\r\nState0=AL|Alabama\r\n");
        QVERIFY(m_bank->SaveFieldList(u"Default Fields"_s, FieldBank::BuiltInDefaultFields()));

        const IniFile ini(m_bank->filePath());
        QCOMPARE(ini.lines().first(), u"; my notes"_s);
        QCOMPARE(ini.sections(), QStringList({u"Field Bank"_s, u"State"_s, u"Default Fields"_s}));
        QCOMPARE(ini.readSection(u"Default Fields"_s),
                 QStringList({u"FIELD0"_s, u"FIELD1"_s, u"FIELD2"_s, u"FIELD3"_s, u"FIELD4"_s, u"FIELD5"_s}));
        QCOMPARE(ini.readString(u"Default Fields"_s, u"FIELD5"_s), u"Zip Code/Postal Code|0"_s);

        QList<TFieldEntry> list;
        QVERIFY(m_bank->LoadFieldList(u"Default Fields"_s, list));
        QCOMPARE(list, FieldBank::BuiltInDefaultFields());

        const FieldBank nowhere(m_dir->filePath(u"no such folder/"_s));
        QString error;
        QVERIFY(!nowhere.SaveFieldList(u"Default Fields"_s, list, &error));
        QVERIFY2(error.contains(u"Fields.ini"), qPrintable(error));
    }

    // What a list reads as, it saves as: the field bank window compares the two to see a change.
    void savedListReadsBackTheSame_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<int>("count");
        QByteArray many;
        for (int i = 0; i < 10000; ++i)
            many += "field" + QByteArray::number(i) + "=Field " + QByteArray::number(i) + '|' + char('0' + i % 6) + '\n';
        QTest::newRow("no keys") << QByteArray() << 0;
        QTest::newRow("no usable entries") << QByteArray("FIELD0=Comments|9\nNote\n") << 0;
        QTest::newRow("some skipped") << QByteArray("FIELD0=A|0\nFIELD1=B|7\nfield2=C|5\n") << 2;
        QTest::newRow("ten thousand, keys in any case") << many << 10000;
    }

    void savedListReadsBackTheSame()
    {
        QFETCH(QByteArray, section);
        QFETCH(int, count);

        writeFields("[Field Bank]\r\n" + section);
        QList<TFieldEntry> first;
        QVERIFY(m_bank->LoadFieldList(FieldBank::FieldBankSection.toString(), first));
        QCOMPARE(first.size(), count);
        QVERIFY(m_bank->SaveFieldList(FieldBank::FieldBankSection.toString(), first));
        QList<TFieldEntry> second{{u"stale"_s, fkText}};
        QVERIFY(m_bank->LoadFieldList(FieldBank::FieldBankSection.toString(), second));
        QCOMPARE(second, first);
    }

    void shippedFieldBankIsUsable()
    {
        const FieldBank shipped(QStringLiteral(BRISKO_SOURCE_DIR "/data/"));
        const IniFile ini(shipped.filePath());

        QList<TFieldEntry> defaults;
        QVERIFY(shipped.LoadFieldList(FieldBank::DefaultFieldsSection.toString(), defaults));
        QCOMPARE(defaults, FieldBank::BuiltInDefaultFields());

        QList<TFieldEntry> bank;
        QVERIFY(shipped.LoadFieldList(FieldBank::FieldBankSection.toString(), bank));
        QCOMPARE(bank.size(), ini.readSection(FieldBank::FieldBankSection.toString()).size()); // none skipped
        QStringList names;
        for (const TFieldEntry &entry : std::as_const(bank)) {
            names.append(entry.Name);
            TWebForm form;
            QVERIFY(shipped.CreateFieldFromEntry(form, entry.Name, entry.Kind));
            if (entry.Kind == fkRadio || entry.Kind == fkCheckBox || entry.Kind == fkDropDown)
                QVERIFY2(!form.Items(0)->Strings.isEmpty(), qPrintable(entry.Name));
        }
        // The field bank window refuses a field when a listed name begins with its name.
        for (const QString &name : std::as_const(names)) {
            for (const QString &other : std::as_const(names))
                QVERIFY2(name == other || !other.startsWith(name, Qt::CaseInsensitive), qPrintable(other));
        }
        for (const TFieldEntry &entry : std::as_const(defaults))
            QVERIFY2(names.contains(entry.Name), qPrintable(entry.Name));

        QStringList states;
        shipped.ReadChoices(u"State"_s, fkDropDown, states);
        QCOMPARE(states.size(), 51);
    }
};

QTEST_GUILESS_MAIN(TestFieldBank)
#include "tst_fieldbank.moc"
