// Times reading, writing and generating pages of 1,000 to 100,000 mixed blocks and prints the
// cost per block and the rate in bytes of the file or of the HTML; then how the cost per block
// grows from 10,000 to 100,000 blocks, and how long brisko-export takes, start-up included, on the
// largest page. Times are processor time, which other work on a shared machine does not inflate;
// brisko-export's runs also give their wall time.
// Usage: brisko-bench-page [seconds per figure, default 1] [one size only]

#include "document/pagefile.h"
#include "html/htmlfile.h"
#include "html/pagehtml.h"
#include "platform/version.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void addFormFields(TPagelette &doc)
{
    doc.Email = QStringLiteral("orders@example.com");
    doc.Subject = QStringLiteral("Order form");
    doc.FormTitle = QStringLiteral("Order");
    doc.FormFooter = true;
    doc.BrowserUsed = true;
    doc.EnvReport = true;
    const auto add = [&](TFieldKind kind, const QString &name, const QStringList &strings) {
        TFormElement &field = doc.WebForm.Add();
        field.FieldKind = kind;
        field.Name = name;
        field.Text = name + QStringLiteral(":");
        field.Strings = strings;
    };
    add(fkText, QStringLiteral("Your Name"), {QStringLiteral("Size=30"), QStringLiteral("Maxlength=100")});
    add(fkText, QStringLiteral("E-mail"), {QStringLiteral("Size=40")});
    add(fkTextArea, QStringLiteral("Comments"), {QStringLiteral("Cols=40"), QStringLiteral("Rows=6")});
    add(fkRadio, QStringLiteral("Size"),
        {QStringLiteral("s|Small|No"), QStringLiteral("m|Medium|Yes"), QStringLiteral("l|Large|No")});
    add(fkCheckBox, QStringLiteral("Extras"), {QStringLiteral("w|Gift wrap|No"), QStringLiteral("c|Card|Yes")});
    add(fkDropDown, QStringLiteral("Colour"),
        {QStringLiteral("r|Red"), QStringLiteral("g|Green"), QStringLiteral("b|Blue")});
}

// A page whose blocks cycle through every kind, with one form in the middle.
TPagelette makePage(int blocks)
{
    TPagelette doc;
    doc.AddDefaultBlocks();
    while (doc.Page.Count() > 1)
        doc.Page.Delete(1);
    TPagePropertiesBlock &d = doc.Page.Items(0)->PagePropertiesBlock;
    d.PageTitle = QStringLiteral("Walking Club: routes, meetings and news");
    d.MetaText = QStringLiteral("keywords\twalking, hiking, club\r\ndescription\tThe walking club's page\r\n");
    d.Background = QStringLiteral("paper.gif");
    d.IndentMargin = QStringLiteral("40");
    addFormFields(doc);

    for (int i = 1; i <= blocks; ++i) {
        if (i == blocks / 2 + 1) {
            doc.InsertNewBlock(i, btForms);
            continue;
        }
        switch (i % 10) {
        case 0:
        case 5: {
            TPageItem *item = doc.InsertNewBlock(i, btHeading);
            item->HeadingBlock.Heading = QStringLiteral("Summer walks %1").arg(i);
            item->HeadingBlock.Attributes = QStringLiteral("\"Arial\", 14, [Bold], [clNavy]");
            item->HeadingBlock.ApplyFont = 1;
            break;
        }
        case 1:
        case 6: {
            TPageItem *item = doc.InsertNewBlock(i, btText);
            item->TextBlock.Text = QStringLiteral(
                "We meet every Saturday at nine in front of the station and walk for about four hours.\r\n"
                "Bring water, a snack and shoes for wet paths.\r\n\r\n"
                "New members are always welcome; the first walk is free.");
            if (i % 10 == 6) {
                item->TextBlock.Attributes = QStringLiteral("\"Verdana\", 10, [Italic], [$00336699]");
                item->TextBlock.ApplyFont = 1;
            }
            break;
        }
        case 2: {
            TImageBlock &image = doc.InsertNewBlock(i, btImage)->ImageBlock;
            image = {QStringLiteral("route%1.jpg").arg(i), QStringLiteral("240"), QStringLiteral("320"),
                     QStringLiteral("LEFT"), QStringLiteral("Map of the route"), QStringLiteral("routes.html"), {}};
            break;
        }
        case 3: {
            TLinkBlock &link = doc.InsertNewBlock(i, btLink)->LinkBlock;
            link.LinkURL = QStringLiteral("http://www.example.org/walks/calendar.html");
            link.LinkText = QStringLiteral("Calendar of walks");
            break;
        }
        case 4: {
            TLinkBlock &link = doc.InsertNewBlock(i, btLink)->LinkBlock;
            link.UseDropBox = true;
            link.DropBoxText = QStringLiteral("north.html\tNorthern routes\r\nsouth.html\tSouthern routes\r\n"
                                              "coast.html\tCoast paths\r\n");
            break;
        }
        case 7: {
            TBulletBlock &list = doc.InsertNewBlock(i, btBullet)->BulletBlock;
            list.Bullets = QStringLiteral("Boots\r\nRain jacket\r\nMap and compass\r\nFirst-aid kit");
            list.Style = i % 20 == 7 ? lsDisc : lsNum;
            break;
        }
        case 8:
            doc.InsertNewBlock(i, btHR)->HRBlock = {80, 1, true};
            break;
        default: {
            TLinkBlock &link = doc.InsertNewBlock(i, btLink)->LinkBlock;
            link.LinkURL = QStringLiteral("secretary@example.org");
            link.LinkText = QStringLiteral("Write to the secretary");
            link.Email = true;
            break;
        }
        }
    }
    return doc;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor time of this process.
double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Processor time, user and system, of the children that have ended.
double childrenSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The median time of one run of work: batches of about a tenth of the budget each, so that small
// pages are timed over many runs and large ones run a few times.
template<typename Work>
double medianSeconds(double budget, Work work)
{
    int perBatch = 1;
    for (;;) {
        const double start = processSeconds();
        for (int i = 0; i < perBatch; ++i)
            work();
        if (processSeconds() - start >= budget / 10)
            break;
        perBatch *= 2;
    }
    std::vector<double> batches;
    for (int b = 0; b < 9; ++b) {
        const double start = processSeconds();
        for (int i = 0; i < perBatch; ++i)
            work();
        batches.push_back((processSeconds() - start) / perBatch);
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
}

// Takes every byte and keeps none, so that writing is timed without the disk.
class DiscardDevice : public QIODevice
{
public:
    DiscardDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

struct Figures
{
    double read = 0;     // seconds per page
    double write = 0;
    double generate = 0;
    qsizetype fileBytes = 0;
    qsizetype htmlBytes = 0;
};

bool measure(int blocks, double budget, Figures &figures)
{
    const QString programFolder = QStringLiteral("/opt/brisko/");
    const TPagelette doc = makePage(blocks);
    const QByteArray file = DocumentBytes(doc);
    QString error;
    TPagelette check;
    if (!ReadDocument(QByteArrayView(file), check, &error) || !(check == doc)) {
        std::fprintf(stderr, "the page of %d blocks does not read back: %s\n", blocks, qPrintable(error));
        return false;
    }
    const QByteArray html = EncodeHtmlLines(BuildPageHtml(doc, pmUpload, true, programFolder, &error));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "generation failed: %s\n", qPrintable(error));
        return false;
    }
    figures.fileBytes = file.size();
    figures.htmlBytes = html.size();
    // Each run reads into a new page and lets it go again, as loading a file does.
    figures.read = medianSeconds(budget, [&] {
        TPagelette page;
        ReadDocument(QByteArrayView(file), page, nullptr);
    });
    // Saving writes onto the file a piece at a time, so this is what a save costs short of the disk.
    DiscardDevice device;
    figures.write = medianSeconds(budget, [&] { WriteDocument(device, doc); });
    figures.generate =
        medianSeconds(budget, [&] { EncodeHtmlLines(BuildPageHtml(doc, pmUpload, true, programFolder)); });
    return true;
}

struct ExportTime
{
    double wall = -1; // seconds; negative when the command failed
    double processor = -1;
};

// The median wall and processor time of a brisko-export command over five runs.
ExportTime exportTime(const QStringList &arguments)
{
    const QString program = QStringLiteral(BRISKO_EXPORT);
    std::vector<double> wall;
    std::vector<double> processor;
    for (int i = 0; i < 5; ++i) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        const double startProcessor = childrenSeconds();
        const auto start = Clock::now();
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0)
            return {};
        wall.push_back(secondsSince(start));
        processor.push_back(childrenSeconds() - startProcessor);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    return {wall[wall.size() / 2], processor[processor.size() / 2]};
}

void printExportTimes(int blocks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.mbe"));
    QString error;
    if (!QFile::exists(QStringLiteral(BRISKO_EXPORT)) || !WriteDocument(path, makePage(blocks), &error)) {
        std::printf("brisko-export: not timed (%s)\n", error.isEmpty() ? "no " BRISKO_EXPORT : qPrintable(error));
        return;
    }
    std::printf("brisko-export on %d blocks (%.1f MB), start-up included, median of 5 runs:\n", blocks,
                double(QFile(path).size()) / 1e6);
    const auto print = [](const char *command, const ExportTime &time) {
        if (time.wall < 0)
            std::printf("  %-7s failed\n", command);
        else
            std::printf("  %-7s %.3f s processor, %.3f s wall\n", command, time.processor, time.wall);
    };
    print("html", exportTime({QStringLiteral("html"), path}));
    print("resave", exportTime({QStringLiteral("resave"), path, dir.filePath(QStringLiteral("copy.mbe"))}));
}

double perBlockMicroseconds(double seconds, int blocks)
{
    return seconds * 1e6 / blocks;
}

} // namespace

int main(int argc, char **argv)
{
    constexpr QStringView usage = u"usage: brisko-bench-page [SECONDS_PER_FIGURE] [BLOCKS]\n"
                                  u"Times reading, writing and generating pages of 1,000 to 100,000 blocks, "
                                  u"SECONDS_PER_FIGURE (default 1) each; BLOCKS picks one size.";
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"brisko-bench-page", usage))
        return *answered;
    QCoreApplication app(argc, argv);
    const double budget = argc > 1 ? std::max(0.05, std::atof(argv[1])) : 1.0;
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;

    std::printf("%8s %9s | %9s %8s | %9s %8s | %9s %8s %9s\n", "blocks", "file MB", "read", "MB/s", "write",
                "MB/s", "generate", "MB/s", "HTML MB");
    std::printf("%8s %9s | %9s %8s | %9s %8s | %9s %8s %9s\n", "", "", "us/block", "", "us/block", "", "us/block",
                "", "");
    std::map<int, Figures> all;
    for (const int blocks : {1000, 10000, 100000}) {
        if (only > 0 && blocks != only)
            continue;
        Figures f;
        if (!measure(blocks, budget, f))
            return 1;
        all[blocks] = f;
        const double mb = double(f.fileBytes) / 1e6;
        const double htmlMb = double(f.htmlBytes) / 1e6;
        std::printf("%8d %9.1f | %9.3f %8.0f | %9.3f %8.0f | %9.3f %8.0f %9.1f\n", blocks, mb,
                    perBlockMicroseconds(f.read, blocks), mb / f.read, perBlockMicroseconds(f.write, blocks),
                    mb / f.write, perBlockMicroseconds(f.generate, blocks), htmlMb / f.generate, htmlMb);
    }
    if (all.count(10000) && all.count(100000)) {
        const Figures &small = all[10000];
        const Figures &large = all[100000];
        // The sizes differ tenfold, so the ratio of the times per page over ten is the ratio per block.
        const auto ratio = [](double large, double small) { return large / 10 / small; };
        std::printf("cost per block at 100,000 blocks against 10,000 (at most 1.2): read %.2f, write %.2f, "
                    "generate %.2f\n",
                    ratio(large.read, small.read), ratio(large.write, small.write),
                    ratio(large.generate, small.generate));
    }
    if (only == 0 || only == 100000)
        printExportTimes(100000);
    return 0;
}
