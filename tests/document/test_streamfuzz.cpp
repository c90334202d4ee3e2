// A seeded mutation pass over the component stream reader: damaged files must be rejected or
// read, never crash, hang or exhaust memory, the page reader on the bytes must decide as the one
// through the stream object does, and whatever is read must write back and read again to the
// same document.
#include "format/componentstream.h"
#include "document/pagefile.h"
#include "themes/themesfile.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include "testpages.h"

namespace {

QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
{
    const int edits = 1 + int(random.bounded(4));
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const auto at = qsizetype(random.bounded(quint32(bytes.size())));
        switch (random.bounded(7)) {
        case 0: // flip a bit
            bytes[at] = char(bytes[at] ^ (1 << random.bounded(8)));
            break;
        case 1: // a random byte
            bytes[at] = char(random.bounded(256));
            break;
        case 2: // an interesting byte: a tag, a length, an end
            bytes[at] = char(std::array{0x00, 0x01, 0x06, 0x0C, 0x0E, 0x12, 0x14, 0x7F, 0xFF}[random.bounded(9)]);
            break;
        case 3: // cut
            bytes.truncate(at);
            break;
        case 4: // drop a run
            bytes.remove(at, qsizetype(random.bounded(16)));
            break;
        case 5: // repeat a run
            bytes.insert(at, bytes.mid(at, qsizetype(random.bounded(64))));
            break;
        default: // a huge 32-bit length
            if (at + 4 <= bytes.size())
                bytes.replace(at, 4, QByteArray("\xff\xff\xff\x7f", 4));
            break;
        }
    }
    return bytes;
}

} // namespace

class TestStreamFuzz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Files the fuzzer once stopped on, kept as its seeds: each reads, and a write of what was read
    // reads back to the same document and writes the same bytes again.
    void collectedFilesComeBackTheSame_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(BRISKO_TEST_DATA_DIR "/streams"));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }

    void collectedFilesComeBackTheSame()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        Stream::Object object;
        QString error;
        QVERIFY2(Stream::read(file, object, &error), qPrintable(error));
        TPagelette page;
        TWebTheme themes;
        QByteArray written;
        if (PageFromStream(object, page, &error)) {
            written = DocumentBytes(page);
            QBuffer buffer(&written);
            buffer.open(QIODevice::ReadOnly);
            TPagelette again;
            QVERIFY2(ReadDocument(buffer, again, &error), qPrintable(error));
            QVERIFY(again == page);
            QCOMPARE(DocumentBytes(again).toHex(' '), written.toHex(' '));
        } else {
            QVERIFY2(ThemesFromStream(object, themes, &error), qPrintable(error));
            written = Stream::write(ThemesToStream(themes));
            TWebTheme again;
            QVERIFY2(Stream::read(QByteArrayView(written), object, &error), qPrintable(error));
            QVERIFY2(ThemesFromStream(object, again, &error), qPrintable(error));
            QVERIFY(again == themes);
            QCOMPARE(Stream::write(ThemesToStream(again)).toHex(' '), written.toHex(' '));
        }
    }

    void mutatedFilesNeverBreakTheReader()
    {
        TWebTheme themes;
        TThemeItem &theme = themes.Items.Add();
        theme.ThemeName = QStringLiteral("Default");
        theme.LeftMargin = QStringLiteral("0");
        theme.BGColor = 0xFFFFFF;
        TPagelette newPage;
        newPage.AddDefaultBlocks();
        const QList<QByteArray> seeds = {DocumentBytes(FullTestPage()), DocumentBytes(newPage),
                                         Stream::write(ThemesToStream(themes))};

        QRandomGenerator random(20261207);
        QElapsedTimer timer;
        timer.start();
        int runs = 0;
        int accepted = 0;
        // Bounded in both count and time so that a slow (sanitizer) build still finishes.
        while (runs < 30000 && timer.elapsed() < 20000) {
            const QByteArray bytes = mutate(seeds[runs % seeds.size()], random);
            ++runs;
            // The page reader that works straight on the bytes decides as the tree does.
            TPagelette direct;
            QString directError;
            const bool directRead = ReadDocument(QByteArrayView(bytes), direct, &directError);

            Stream::Object object;
            QString error;
            if (!Stream::read(QByteArrayView(bytes), object, &error)) {
                QVERIFY(!error.isEmpty());
                QVERIFY(!directRead);
                QCOMPARE(directError, error);
                continue;
            }
            TPagelette page;
            const bool pageRead = PageFromStream(object, page, &error);
            QCOMPARE(directRead, pageRead);
            if (!pageRead)
                QCOMPARE(directError, error);
            if (pageRead) {
                QVERIFY(direct == page);
                ++accepted;
                QBuffer buffer;
                buffer.setData(DocumentBytes(page));
                buffer.open(QIODevice::ReadOnly);
                TPagelette again;
                QVERIFY(ReadDocument(buffer, again, &error));
                QVERIFY(again == page);
            }
            TWebTheme loaded;
            if (ThemesFromStream(object, loaded, &error)) {
                ++accepted;
                TWebTheme again;
                QVERIFY(ThemesFromStream(object, again, &error));
                QVERIFY(Stream::read(QByteArrayView(Stream::write(ThemesToStream(loaded))), object, &error));
                QVERIFY(ThemesFromStream(object, again, &error));
                QVERIFY(again == loaded);
            }
        }
        qInfo("%d mutated files, %d read as a page or themes", runs, accepted);
        QVERIFY(runs >= 1000);
    }
};

QTEST_GUILESS_MAIN(TestStreamFuzz)
#include "test_streamfuzz.moc"
