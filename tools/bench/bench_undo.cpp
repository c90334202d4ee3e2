// Measures the memory an undo history takes: 1,000 steps on a page of 1,000 blocks, in a mix
// of the user's changes (a paragraph's text committed, a block added, moved and deleted, a
// theme applied), as heap in use before and after. Prints the page's own size beside it.
// Usage: brisko-bench-undo [steps, default 1000] [blocks, default 1000]

#include "project/pagedocument.h"
#include "themes/thememodel.h"

#include <QCoreApplication>
#include <QUndoStack>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

namespace {

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

// Paragraphs and headings of a typical length, and an image and a link now and then.
std::unique_ptr<TPagelette> makePage(int blocks)
{
    auto page = std::make_unique<TPagelette>();
    page->AddDefaultBlocks();
    while (page->Page.Count() < blocks) {
        const int i = page->Page.Count();
        const TBlockType type = i % 10 == 0 ? btImage : i % 7 == 0 ? btLink : i % 3 == 0 ? btHeading : btText;
        TPageItem *item = page->InsertNewBlock(i, type);
        const QString words = QStringLiteral("Block %1: we walk every Sunday from the station to the hills. ").arg(i);
        item->TextBlock.Text = words.repeated(3);
        item->HeadingBlock.Heading = words.left(30);
        item->ImageBlock.FileName = QStringLiteral("picture%1.jpg").arg(i);
        item->LinkBlock.LinkURL = QStringLiteral("http://example.org/%1.html").arg(i);
    }
    return page;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int steps = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int blocks = argc > 2 ? std::atoi(argv[2]) : 1000;

    TWebTheme themes;
    for (const char *name : {"Forest", "Ocean"}) {
        TThemeItem &theme = themes.Items.Add();
        theme.ThemeName = QString::fromLatin1(name);
        theme.BGColor = name[0] == 'F' ? 0x00E9F5EE : 0x00FFEEDD;
    }

    const size_t empty = heapInUse();
    PageDocument doc(QStringLiteral("/tmp/"));
    doc.adopt(makePage(blocks), QStringLiteral("Bench"));
    const size_t withPage = heapInUse();

    for (int step = 0; step < steps; ++step) {
        const int index = 1 + step * 37 % (doc.blockCount() - 1);
        switch (step % 5) {
        case 0: {
            TBlockEdit edit = BlockEditOf(doc.page(), index);
            edit.Item.TextBlock.Text += QStringLiteral(" Edited %1.").arg(step);
            doc.commitBlock(index, edit);
            break;
        }
        case 1:
            doc.insertBlock(index, btHeading);
            break;
        case 2:
            doc.moveBlock(index, 1 + (index + 100) % (doc.blockCount() - 1));
            break;
        case 3:
            doc.deleteBlock(index);
            break;
        default:
            doc.applyTheme(themes, step / 5 % 2);
            break;
        }
    }
    const size_t withHistory = heapInUse();
    const int recorded = doc.undoStack().count();
    std::printf("page of %d blocks: %.1f KiB\n", blocks, double(withPage - empty) / 1024);
    std::printf("history of %d steps: %.1f KiB, %.0f bytes a step\n", recorded, double(withHistory - withPage) / 1024,
                double(withHistory - withPage) / recorded);
    return 0;
}
