#pragma once

#include "html/markup.h"

#include <QFrame>

#include <memory>

namespace Ui {
class TMiscFontPage;
}

// The font page of the font, bookmark and meta tag dialog: a font's face, size, styles and
// colour, shown on a sample.
class TMiscFontPage : public QFrame
{
    Q_OBJECT

public:
    explicit TMiscFontPage(QWidget *parent = nullptr);
    ~TMiscFontPage() override;

    // The installed font families by name, sorted without regard to case, each once.
    static QStringList installedFaces();

    // The sample's font, copied in before showing and out after OK.
    TFontSpec sampleFont() const { return m_sample; }
    void setSampleFont(const TFontSpec &font);

    // Fills the name list and selects the sample's face, size and styles as far as the lists
    // offer them; the sample stays as it was given. Puts the focus on the name.
    void prepare();

private:
    void showSample();
    void btnColorClick();

    std::unique_ptr<Ui::TMiscFontPage> ui;
    TFontSpec m_sample;
};

// Opens the colour picker on color; true with the picked colour in color after OK.
bool pickColor(QWidget *parent, TColor &color);
