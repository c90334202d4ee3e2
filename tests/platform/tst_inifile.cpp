#include "platform/inifile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "diskfull.h"

using namespace Qt::StringLiterals;

namespace {

const QString kNone = u"<none>"_s;

IniFile iniFromBytes(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    IniFile ini;
    ini.load(buffer);
    return ini;
}

QByteArray savedBytes(IniFile &ini)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return ini.save(buffer) ? buffer.data() : QByteArray("<save failed>");
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsValuesLikeProfileFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QByteArray file = "lead=0\r\n[Main]\r\nKey=first\r\nkey=second\r\n  Spaced  =  some value  \r\n"
                                "Quoted=\"  padded  \"\r\nHalf=\"open\r\nSingle='x'\r\nEmpty=\"\"\r\nEquation=a=b\r\n"
                                "NoEquals\r\n; Comment=1\r\n  ;Indented=1\r\n\r\n[ main ]\r\nOther=hidden\r\n"
                                "[Unclosed\r\nu=1\r\n";
        // clang-format off
        QTest::newRow("case ignored")        << file << "MAIN" << "KEY" << "first";
        QTest::newRow("first of two keys")   << file << "Main" << "key" << "first";
        QTest::newRow("blanks trimmed")      << file << "Main" << "spaced" << "some value";
        QTest::newRow("quotes removed")      << file << "Main" << "Quoted" << "  padded  ";
        QTest::newRow("lone quote kept")     << file << "Main" << "Half" << "\"open";
        QTest::newRow("single quotes kept")  << file << "Main" << "Single" << "'x'";
        QTest::newRow("empty quotes")        << file << "Main" << "Empty" << "";
        QTest::newRow("later = kept")        << file << "Main" << "Equation" << "a=b";
        QTest::newRow("line without =")      << file << "Main" << "NoEquals" << "";
        QTest::newRow("comment")             << file << "Main" << "; Comment" << kNone;
        QTest::newRow("indented comment")    << file << "Main" << "Indented" << kNone;
        QTest::newRow("second copy unread")  << file << "main" << "Other" << kNone;
        QTest::newRow("before any section")  << file << "" << "lead" << kNone;
        QTest::newRow("unclosed header")     << file << "Unclosed" << "u" << "1";
        QTest::newRow("missing section")     << file << "Nope" << "Key" << kNone;
        QTest::newRow("LF line ends")        << QByteArray("[A]\nx=1\ny=2\n") << "A" << "y" << "2";
        QTest::newRow("CR line ends")        << QByteArray("[A]\rx=1\ry=2") << "A" << "y" << "2";
        QTest::newRow("Windows-1252")        << QByteArray("[A]\r\nx=Caf\xe9 \x80\r\n") << "A" << "x"
                                             << u"Caf\u00e9 \u20ac"_s;
        QTest::newRow("UTF-8 with mark")     << QByteArray("\xEF\xBB\xBF[A]\r\nx=Gda\xc5\x84sk\r\n") << "A" << "x"
                                             << u"Gda\u0144sk"_s;
        QTest::newRow("Kelvin sign is k")    << QByteArray("\xEF\xBB\xBF[A]\r\n\xE2\x84\xAA=kelvin\r\n") << "A" << "K"
                                             << "kelvin";
        QTest::newRow("sharp s is no ss")    << QByteArray("\xEF\xBB\xBF[A]\r\nstra\xC3\x9F" "e=x\r\n") << "A"
                                             << "STRASSE" << kNone;
        // clang-format on
    }

    void readsValuesLikeProfileFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const IniFile ini = iniFromBytes(text);
        QCOMPARE(ini.readString(section, key, kNone), expected);
        // Read at once, the section gives each key the same value.
        QCOMPARE(ini.readSectionValues(section).value(IniFile::keyIndex(key), kNone), expected);
    }

    void listsSectionsAndKeyLinesInFileOrder()
    {
        const IniFile ini = iniFromBytes("[S]\r\n; note\r\nB=1\r\n\r\nA\r\nb=2\r\n[T]\r\n[s]\r\nC=3\r\n[Empty]\r\n");
        QCOMPARE(ini.readSection(u"s"_s), QStringList({u"B"_s, u"A"_s, u"b"_s}));
        QCOMPARE(ini.readSection(u"missing"_s), QStringList());
        QCOMPARE(ini.sections(), QStringList({u"S"_s, u"T"_s, u"Empty"_s}));
        QVERIFY(ini.sectionExists(u"EMPTY"_s));
        QVERIFY(!ini.sectionExists(u"Beta"_s));
    }

    void missingFileReadsAsEmptyAndSaveCreatesIt()
    {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(u"absent.ini"_s));
        QVERIFY(ini.errorString().isEmpty());
        QVERIFY(ini.sections().isEmpty());
        ini.writeString(u"A"_s, u"b"_s, u"1"_s);
        QVERIFY2(ini.save(), qPrintable(ini.errorString()));
        QCOMPARE(fileBytes(ini.fileName()), QByteArray("[A]\r\nb=1\r\n"));
    }

    void writeStringEditsOnlyWhatItMust_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray file = "; top\r\n[One]\r\nA=1\r\n; keep\r\nB=2\r\n\r\n[Two]\r\nC=3\r\n";
        // clang-format off
        QTest::newRow("replace in place, spelling kept") << file << "one" << "b" << "20"
            << QByteArray("; top\r\n[One]\r\nA=1\r\n; keep\r\nB=20\r\n\r\n[Two]\r\nC=3\r\n");
        QTest::newRow("new key after the last key") << file << "ONE" << "D" << "4"
            << QByteArray("; top\r\n[One]\r\nA=1\r\n; keep\r\nB=2\r\nD=4\r\n\r\n[Two]\r\nC=3\r\n");
        QTest::newRow("new section at the end") << file << "Three" << "E" << "5"
            << file + "\r\n[Three]\r\nE=5\r\n";
        QTest::newRow("section without keys") << QByteArray("[S]\r\n; comment\r\n[T]\r\n") << "S" << "k" << "v"
            << QByteArray("[S]\r\nk=v\r\n; comment\r\n[T]\r\n");
        QTest::newRow("first of two sections") << QByteArray("[S]\r\nk=1\r\n[s]\r\nk=2\r\n") << "S" << "k" << "9"
            << QByteArray("[S]\r\nk=9\r\n[s]\r\nk=2\r\n");
        QTest::newRow("line breaks flattened") << QByteArray() << "S" << "k" << "a\r\nb"
            << QByteArray("[S]\r\nk=a  b\r\n");
        QTest::newRow("unencodable text as UTF-8") << QByteArray("; x\r\n[S]\r\n") << "S" << "k" << u"\u0144 \u2192"_s
            << QByteArray("\xEF\xBB\xBF; x\r\n[S]\r\nk=\xc5\x84 \xe2\x86\x92\r\n");
        QTest::newRow("UTF-8 file stays UTF-8") << QByteArray("\xEF\xBB\xBF[S]\r\n") << "S" << "k" << "plain"
            << QByteArray("\xEF\xBB\xBF[S]\r\nk=plain\r\n");
        QTest::newRow("Windows-1252 kept") << QByteArray("[S]\r\nk=\x80\r\n") << "S" << "j" << u"\u00e9"_s
            << QByteArray("[S]\r\nk=\x80\r\nj=\xe9\r\n");
        // clang-format on
    }

    void writeStringEditsOnlyWhatItMust()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);

        IniFile ini = iniFromBytes(before);
        ini.writeString(section, key, value);
        QCOMPARE(savedBytes(ini), after);
    }

    void writtenValuesReadBackUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        for (const QString &value : {u"Name|0"_s, u"  padded "_s, u"\"quoted\""_s, u""_s, u";x"_s, u"\u0144"_s})
            QTest::newRow(qPrintable(value)) << value;
    }

    void writtenValuesReadBackUnchanged()
    {
        QFETCH(QString, value);
        IniFile ini;
        ini.writeString(u"S"_s, u"k"_s, value);
        QCOMPARE(iniFromBytes(savedBytes(ini)).readString(u"S"_s, u"k"_s, kNone), value);
    }

    void eraseSectionRemovesEveryCopyAndKeepsTheRest()
    {
        IniFile ini = iniFromBytes("; head\r\n[A]\r\nx=1\r\n[Gone]\r\ny=2\r\n; gone too\r\n"
                                   "[B]\r\nz=3\r\n[GONE]\r\nw=4\r\n");
        ini.eraseSection(u"gone"_s);
        QVERIFY(!ini.sectionExists(u"Gone"_s));
        QCOMPARE(savedBytes(ini), QByteArray("; head\r\n[A]\r\nx=1\r\n[B]\r\nz=3\r\n"));
        // An emptied section can stay, without keys; a section that is there is not added twice.
        ini.addSection(u"Gone"_s);
        ini.addSection(u"b"_s);
        QCOMPARE(savedBytes(ini), QByteArray("; head\r\n[A]\r\nx=1\r\n[B]\r\nz=3\r\n\r\n[Gone]\r\n"));
    }

    void failedSaveLeavesTheOldFile()
    {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Fields.ini"_s);
        const QByteArray old("[Default Fields]\r\nFIELD0=Name|0\r\n");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        IniFile ini(path);
        ini.writeString(u"Default Fields"_s, u"FIELD1"_s, QString(64 * 1024, u'x'));

        bool saved = true;
        {
            DiskFullGuard full(4096);
            QVERIFY(full.active());
            saved = ini.save();
        }

        QVERIFY(!saved);
        QVERIFY2(ini.errorString().contains(u"Fields.ini"), qPrintable(ini.errorString()));
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"Fields.ini"_s});
#else
        QSKIP("needs a file size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
