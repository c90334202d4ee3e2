#pragma once

#include "app/panels/blockpanel.h"
#include "app/panels/panelfont.h"

#include <memory>

namespace Ui {
class TParagraphPanel;
}

// A paragraph block: text in the font its "Font..." button chooses, and the import of a
// text file into it.
class TParagraphPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TParagraphPanel(QWidget *parent = nullptr);
    ~TParagraphPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // The font of the edit box and the button that chooses it.
    TMemoFontButton &fontButton() { return *m_font; }
    const TMemoFontButton &fontButton() const { return *m_font; }

private:
    std::unique_ptr<Ui::TParagraphPanel> ui;
    std::unique_ptr<TMemoFontButton> m_font;
};
