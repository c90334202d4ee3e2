#pragma once

#include "app/panels/blockpanel.h"
#include "app/panels/entrylist.h"

#include <memory>

namespace Ui {
class TPageDetailsPanel;
}

// The page details block: the page's title, the look of its links, its meta tags, and the
// "Show Marlowen Logo on page" box and theme button, which belong to the page rather than to
// the block.
class TPageDetailsPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TPageDetailsPanel(QWidget *parent = nullptr);
    ~TPageDetailsPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // "Show Marlowen Logo on page": not part of the document, read by the page generator.
    bool showLogo() const;

Q_SIGNALS:
    // "Choose Page Theme (Colors, etc..)" was pressed.
    void themeRequested();

private:
    void alignMetaColumnCaptions();
    void updateMetaButtons();
    void addMetaEntry();
    void removeMetaEntry();
    void editMetaEntry();
    TEntryList meta() const;

    std::unique_ptr<Ui::TPageDetailsPanel> ui;
};
