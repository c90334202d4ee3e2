#include "format/componentstream.h"
#include "format/streamformat.h"

#include <QBuffer>
#include <QTest>

namespace {

// Builds a stream from readable pieces: a short string gets its length byte.
struct Bytes
{
    QByteArray data;
    Bytes &raw(std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            data.append(char(b));
        return *this;
    }
    Bytes &str(const char *text)
    {
        data.append(char(qstrlen(text)));
        data.append(text);
        return *this;
    }
    qsizetype at() const { return data.size(); }
};

Bytes header(const char *className = "TThing")
{
    Bytes b;
    b.raw({0x54, 0x50, 0x46, 0x30}).str(className).raw({0x00});
    return b;
}

QString endsAt(qsizetype at)
{
    return QStringLiteral("the file ends unexpectedly at byte %1").arg(at);
}

} // namespace

class TestStream : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The first fault in the stream is the one reported, with where it is.
    void brokenStreamsSayWhatAndWhere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString noSignature = QStringLiteral("the file does not start with the stream signature");
        QTest::newRow("empty") << QByteArray() << noSignature;
        QTest::newRow("other signature") << QByteArray("TPF1\x06TThing\0\0\0", 14) << noSignature;
        QTest::newRow("signature only") << QByteArray("TPF0") << endsAt(4);
        QTest::newRow("no class name") << Bytes().raw({0x54, 0x50, 0x46, 0x30, 0, 0, 0, 0}).data
                                       << QStringLiteral("the object has no class name");
        QTest::newRow("string as child position")
            << Bytes().raw({0x54, 0x50, 0x46, 0x30, 0xF2, 0x06, 0x01, 'x'}).str("TThing").raw({0, 0, 0}).data
            << QStringLiteral("bad child position in the object header");
        QTest::newRow("list as child position")
            << Bytes().raw({0x54, 0x50, 0x46, 0x30, 0xF2, 0x01, 0x02, 0x05, 0x00}).str("TThing").raw({0, 0, 0}).data
            << QStringLiteral("bad child position in the object header");
        QTest::newRow("broken list as child position")
            << Bytes().raw({0x54, 0x50, 0x46, 0x30, 0xF2, 0x01, 0x02}).data << endsAt(7);

        Bytes b = header().str("Tag");
        qsizetype at = b.at();
        QTest::newRow("floating-point value") << b.raw({0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0}).data
                                              << QStringLiteral("unsupported value type 0x05 at byte %1").arg(at);
        b = header().str("Tag").raw({0x04, 0x01, 0x02});
        QTest::newRow("short integer") << b.data << endsAt(b.at() - 2);
        b = header().str("Text").raw({0x0C, 0xFF, 0xFF, 0xFF, 0x7F, 0x41});
        QTest::newRow("huge string length") << b.data << endsAt(b.at() - 1);
        b = header().str("Text").raw({0x12, 0x03, 0x00, 0x00, 0x00, 0x41, 0x00, 0x42, 0x00, 0x43});
        QTest::newRow("wide string one byte short") << b.data << endsAt(b.at() - 5);
        b = header().str("Name").raw({0x07, 0x05, 'a', 'b'});
        QTest::newRow("short identifier") << b.data << endsAt(b.at() - 2);
        b = header().str("Items").raw({0x0E});
        at = b.at();
        QTest::newRow("item without list tag") << b.raw({0x09, 0x00, 0x00, 0x00, 0x00}).data
                                               << QStringLiteral("bad collection item at byte %1").arg(at);
        b = header().str("Items").raw({0x0E, 0x02, 0x07});
        at = b.at();
        QTest::newRow("index before something else") << b.raw({0x06, 0x00, 0x00, 0x00, 0x00}).data
                                                     << QStringLiteral("bad collection item at byte %1").arg(at);
        b = header().raw({0x00});
        at = b.at();
        QTest::newRow("child object") << b.str("TThing").raw({0x00, 0x00, 0x00}).data
                                      << QStringLiteral("unexpected child object at byte %1").arg(at);
        b = header().raw({0x00});
        QTest::newRow("no child list") << b.data << endsAt(b.at());
        b = header().str("Items").raw({0x0E, 0x01}).str("Lines").raw({0x01, 0x06, 0x01, 'a'});
        QTest::newRow("list cut short") << b.data << endsAt(b.at());

        // The syntax of the whole stream is checked before anything else about it.
        Bytes deep = header().str("Items").raw({0x0E});
        for (int i = 0; i < 40; ++i)
            deep.raw({0x01}).str("Items").raw({0x0E});
        QTest::newRow("deep nesting") << deep.data << QStringLiteral("values are nested too deeply");
        Bytes lists = header().str("Lines");
        for (int i = 0; i < 40; ++i)
            lists.raw({0x01});
        QTest::newRow("deep lists") << lists.data << QStringLiteral("values are nested too deeply");
        Bytes many = header().str("Lines").raw({0x01});
        many.data.append(QByteArray(2 * 1024 * 1024, char(0x08)));
        many.raw({0x00, 0x00, 0x00});
        QTest::newRow("too many values") << many.data << QStringLiteral("the file holds too many values");
    }

    void brokenStreamsSayWhatAndWhere()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        Stream::Object object;
        QString error;
        QVERIFY(!Stream::read(QByteArrayView(bytes), object, &error));
        QCOMPARE(error, message);
    }

    // Trailing bytes are not read, but they count towards the size a file may have.
    void devicesAreReadUpToTheSizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("at the limit") << StreamFormat::kMaxFileSize << true;
        QTest::newRow("one byte over") << StreamFormat::kMaxFileSize + 1 << false;
    }

    void devicesAreReadUpToTheSizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, accepted);
        QByteArray bytes = header().raw({0x00, 0x00}).data;
        bytes.resize(qsizetype(size), 'x');
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        Stream::Object object;
        QString error;
        QCOMPARE(Stream::read(buffer, object, &error), accepted);
        QCOMPARE(error, accepted ? QString() : QStringLiteral("the file is too large"));
    }

    // What the reader takes beyond what our writer writes, and what it makes of it.
    void readerTakesEveryFormOfAValue()
    {
        Bytes b;
        b.raw({0x54, 0x50, 0x46, 0x30, 0xF2, 0x03, 0x00, 0x01}).str("TThing").str("Root");
        b.str("Small").raw({0x02, 0xFF});
        b.str("Middle").raw({0x03, 0x00, 0x80});
        b.str("Large").raw({0x04, 0x00, 0x00, 0x00, 0x80});
        b.str("Short").raw({0x06, 0x03, 0x80, 'b', 0x81});
        b.str("Long").raw({0x0C, 0x02, 0x00, 0x00, 0x00, 'h', 'i'});
        b.str("Utf8").raw({0x14, 0x02, 0x00, 0x00, 0x00, 0xD0, 0x96});
        b.str("Wide").raw({0x12, 0x02, 0x00, 0x00, 0x00, 0x16, 0x04, 0x00, 0xDC});
        b.str("Ident").raw({0x07}).str("alNone");
        b.str("Flags").raw({0x01, 0x09, 0x08, 0x00});
        b.str("Items").raw({0x0E, 0x02, 0x05, 0x01}).str("A").raw({0x02, 0x01, 0x00, 0x01, 0x00, 0x00});
        b.raw({0x00, 0x00});
        b.str("trailing bytes are not read");

        Stream::Object object;
        QString error;
        QVERIFY2(Stream::read(QByteArrayView(b.data), object, &error), qPrintable(error));
        QCOMPARE(object.className, QStringLiteral("TThing"));
        QCOMPARE(object.objectName, QStringLiteral("Root"));
        const Stream::PropertyList &p = object.properties;
        QCOMPARE(p.size(), size_t(10));
        QCOMPARE(p[0].value.integer, -1);
        QCOMPARE(p[1].value.integer, -32768);
        QCOMPARE(p[2].value.integer, qint32(0x80000000));
        QCOMPARE(p[3].value.text, QStringLiteral("\u20acb\u0081"));
        QCOMPARE(p[4].value.text, QStringLiteral("hi"));
        QCOMPARE(p[5].value.text, QStringLiteral("\u0416"));
        QCOMPARE(p[6].value.text, QStringLiteral("\u0416") + QChar(0xDC00));
        QCOMPARE(p[7].value.kind, Stream::Value::Kind::Ident);
        QCOMPARE(p[7].value.text, QStringLiteral("alNone"));
        QCOMPARE(p[8].value.list.size(), size_t(2));
        QVERIFY(p[8].value.list[0].boolean && !p[8].value.list[1].boolean);
        QCOMPARE(p[9].value.items.size(), size_t(2));
        QCOMPARE(p[9].value.items[0][0].value.integer, 1);
        QVERIFY(p[9].value.items[1].empty());

        // Written back in the forms our files use: the smallest integer, code-page text first.
        const QByteArray written = Stream::write(object);
        Stream::Object again;
        QVERIFY2(Stream::read(QByteArrayView(written), again, &error), qPrintable(error));
        QCOMPARE(Stream::write(again), written);
        QVERIFY(written.contains(QByteArray("\x05Small\x02\xff", 8)));
        QVERIFY(written.contains(QByteArray("\x04Long\x06\x02hi", 9)));
        QVERIFY(written.contains(QByteArray("\x04Utf8\x14\x02\x00\x00\x00\xd0\x96", 12)));
        QVERIFY(written.contains(QByteArray("\x04Wide\x12\x02\x00\x00\x00\x16\x04\x00\xdc", 14)));
        QVERIFY(written.contains(QByteArray("\x05Items\x0e\x01\x01" "A\x02\x01\x00\x01\x00\x00", 16)));
    }
};

QTEST_GUILESS_MAIN(TestStream)
#include "test_stream.moc"
