#pragma once

#include <QFrame>

#include <memory>

struct TPageItem;

namespace Ui {
class TAlignBar;
}

// The bar above the panels: "Left Align", "Center Align" and "Right Align", of which exactly
// one is pressed, and "New Line (Paragraph)", which toggles on its own. The buttons do nothing
// by themselves; commit reads them.
class TAlignBar : public QFrame
{
    Q_OBJECT

public:
    explicit TAlignBar(QWidget *parent = nullptr);
    ~TAlignBar() override;

    // Whether the block has an alignment the bar can show (all blocks but the page details).
    static bool showsAlignment(const TPageItem &item);

    // Presses the buttons of the block's line break and alignment; a block without alignment
    // leaves the alignment buttons as they are.
    void load(const TPageItem &item);
    // Sets the block's line break, and its alignment when withAlignment.
    void commit(TPageItem &item, bool withAlignment) const;

private:
    std::unique_ptr<Ui::TAlignBar> ui;
};
