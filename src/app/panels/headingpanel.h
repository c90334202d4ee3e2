#pragma once

#include "app/panels/blockpanel.h"
#include "app/panels/panelfont.h"

#include <memory>

namespace Ui {
class THeadingPanel;
}

// A heading block: one line of text in the font its "Font..." button chooses.
class THeadingPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit THeadingPanel(QWidget *parent = nullptr);
    ~THeadingPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // The font of the edit box and the button that chooses it.
    TMemoFontButton &fontButton() { return *m_font; }
    const TMemoFontButton &fontButton() const { return *m_font; }

private:
    std::unique_ptr<Ui::THeadingPanel> ui;
    std::unique_ptr<TMemoFontButton> m_font;
};
