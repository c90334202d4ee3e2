#pragma once

#include <QWidget>

#include <initializer_list>

class QComboBox;
class QLabel;
class TPagelette;
struct TBlockEdit;
struct TPageItem;

// One editor panel: the controls of one block type. Load copies a block into the controls;
// commit writes them into an edited copy of the block, which the document then takes. A panel
// never writes into the document.
class TBlockPanel : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Fills the controls from item, a block of the panel's type in doc.
    virtual void load(const TPagelette &doc, const TPageItem &item) = 0;
    // Writes the controls into edit, a copy of the block the panel was loaded from (and, for
    // the Forms block, of where the page's form is sent).
    virtual void commit(TBlockEdit &edit) = 0;

    // A word-wrapped text takes more lines as the panel narrows, which layouts leave out of
    // their minimum height. Reserves for each of the panel's own texts the lines it takes at
    // width, so that no control below it is squeezed.
    void reserveDescriptionLines(int width);

protected:
    // The panel's heading: the block type's icon and its caption in large bold type.
    static void setUpHeading(QLabel *icon, QLabel *caption, int blockType);

    // Selects item index of combo, or nothing when index is not one of its items.
    static void selectItem(QComboBox *combo, int index);

    struct HelpTopic
    {
        QWidget *control;
        int topic;
    };
    // Gives each control the "What's This?" menu and F1 help of its topic. Labels share the
    // topic of the control they name.
    static void attachWhatsThis(std::initializer_list<HelpTopic> topics);
    // F1 only, for controls whose right-click belongs to something else.
    static void attachF1(std::initializer_list<HelpTopic> topics);
};
