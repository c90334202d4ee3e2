#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

namespace Ui {
class TBulletsPanel;
}

// A bullet list block: one entry per line, the style of its bullets or numbers, and the import
// of a text file into it.
class TBulletsPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TBulletsPanel(QWidget *parent = nullptr);
    ~TBulletsPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

private:
    std::unique_ptr<Ui::TBulletsPanel> ui;
};
