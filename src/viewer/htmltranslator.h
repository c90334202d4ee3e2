#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// Turns the HTML 4 of the pages we display into the rich-text HTML that Qt's text engine lays
// out as the browsers of the time showed it. What Qt cannot draw itself comes back as data:
// pictures, form controls and horizontal rules are replaced by numbered stand-ins that the
// viewer fills in (see the URL schemes below). Lists become tables of markers and items, the
// page's colours a style sheet; scripts, styles, comments and the head are left out.
namespace Translate {

// <img src="brisko-picture:N">: the picture pictures[N].
inline constexpr QStringView kPictureScheme = u"brisko-picture";
// <img src="brisko-control:N">: a drawing of the form control controls[N].
inline constexpr QStringView kControlScheme = u"brisko-control";
// <a href="brisko-link:N">: the link whose target, as written, is links[N].
inline constexpr QStringView kLinkScheme = u"brisko-link";

// <hr width="N"> stands for rules[N - 1]: Qt draws every rule as a thin line, so the viewer
// takes the rule's block over and draws it itself.
struct Rule
{
    int width = 100;      // of the space beside any floats
    bool percent = true;  // width in percent, or in pixels
    int size = 2;         // thickness in pixels
    bool noShade = false; // a solid bar instead of a grooved line
    Qt::Alignment align = Qt::AlignHCenter;
    int spaceAbove = 0; // pixels, at least; an empty paragraph before the rule gives a line's
};

struct Picture
{
    QString source; // the reference as written, character references decoded
    int width = -1; // the size the page asks for; -1 when it names none
    int height = -1;
    QString alt;
    // False for a source that names no file (References::namesNoFile): nothing to load, and
    // nothing missing that a frame should point out.
    bool namesFile = true;
    // Clear space beside a floating picture, on the side of the text: part of its room.
    int gapLeft = 0;
    int gapRight = 0;
};

// Browsers keep text this many pixels away from a floating picture.
inline constexpr int kFloatGap = 3;

struct Control
{
    enum Kind { TextBox, Password, CheckBox, Radio, Button, DropDown, ListBox, TextArea, FileBox };

    Kind kind = TextBox;
    QString text;         // value of a box, caption of a button, content of a text area
    QStringList options;  // drop-downs and list boxes
    int current = 0;      // the option shown (drop-down) or selected (list box)
    int columns = 20;     // text boxes, text areas: width in characters
    int rows = 1;         // text areas and list boxes: height in lines
    bool checked = false; // check boxes and radio buttons
};

struct Page
{
    QString html; // for QTextDocument::setHtml
    QString title;
    // The page's own colours from BODY; invalid when it sets none.
    QColor background;
    QColor text;
    QColor link;
    QString backgroundPicture; // BODY BACKGROUND as written; empty for none
    QList<Picture> pictures;
    QList<Control> controls;
    QList<Rule> rules;
    QStringList links;
};

struct Options
{
    int fontSize = 12; // points of FONT SIZE=3; the other sizes scale with it
    QColor textColor;  // used when BODY sets no TEXT
    QColor linkColor;  // used when BODY sets no LINK
    QString preFontName = QStringLiteral("Courier New");
    // Whether a FONT FACE family can be shown. A face that names no such family falls back to
    // the default font, as in browsers; unset, every family is taken as it is.
    std::function<bool(const QString &family)> familyAvailable;
};

Page translateHtml(QStringView html, const Options &options);

// A colour as HTML 4 writes it: "#RRGGBB", "RRGGBB" or one of the sixteen colour names.
QColor parseColor(QStringView text);

// FONT SIZE as points: 1 to 7 (or +n / -n around 3), for a base size at SIZE 3.
double fontSizePoints(QStringView size, int baseSize);

// The marker of list item number n (from 1) for an OL TYPE: "1", "a", "A", "i" or "I".
QString listNumber(int n, QChar type);

} // namespace Translate
