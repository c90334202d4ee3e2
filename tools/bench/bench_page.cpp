// Times BuildPageHtml on pages of 10 to 10,000 mixed blocks and prints the cost per block and
// the rate of HTML produced. Usage: brisko-bench-page [seconds per size, default 1] [one size only]

#include "html/pagehtml.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

qsizetype htmlBytes(const QStringList &lines)
{
    qsizetype bytes = 0;
    for (const QString &line : lines)
        bytes += line.size() + 2; // every line followed by CR LF; the text is plain ASCII
    return bytes;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    const double secondsPerSize = argc > 1 ? std::max(0.05, std::atof(argv[1])) : 1.0;
    const QString programFolder = QStringLiteral("/opt/brisko/");

    std::printf("%8s %10s %12s %12s %10s\n", "blocks", "HTML KB", "us/page", "us/block", "MB/s");
    const int only = argc > 2 ? std::atoi(argv[2]) : 0;
    for (const int blocks : {10, 100, 1000, 10000}) {
        if (only > 0 && blocks != only)
            continue;
        const TPagelette doc = makePage(blocks);
        QString error;
        const qsizetype bytes = htmlBytes(BuildPageHtml(doc, pmUpload, true, programFolder, &error));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "generation failed: %s\n", qPrintable(error));
            return 1;
        }

        // Batches of about a tenth of the time each; the median batch is reported.
        int perBatch = 1;
        for (;;) {
            const auto start = Clock::now();
            for (int i = 0; i < perBatch; ++i)
                BuildPageHtml(doc, pmUpload, true, programFolder);
            if (secondsSince(start) >= secondsPerSize / 10)
                break;
            perBatch *= 2;
        }
        std::vector<double> batches;
        for (int b = 0; b < 9; ++b) {
            const auto start = Clock::now();
            for (int i = 0; i < perBatch; ++i)
                BuildPageHtml(doc, pmUpload, true, programFolder);
            batches.push_back(secondsSince(start) / perBatch);
        }
        std::sort(batches.begin(), batches.end());
        const double perPage = batches[batches.size() / 2];
        std::printf("%8d %10.1f %12.1f %12.3f %10.1f\n", blocks, double(bytes) / 1024, perPage * 1e6,
                    perPage * 1e6 / blocks, double(bytes) / perPage / 1e6);
    }
    return 0;
}
