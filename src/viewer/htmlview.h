#pragma once

#include "viewer/htmltranslator.h"

#include <QPixmap>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <functional>

// The pieces of ThtmlLite that live on Qt's text engine; not for use elsewhere.

// A document that asks its viewer for every resource it needs.
class ViewerDocument : public QTextDocument
{
    Q_OBJECT
public:
    using Loader = std::function<QVariant(int type, const QUrl &name)>;

    ViewerDocument(Loader loader, QObject *parent);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    Loader m_loader;
};

// A horizontal rule of the page and the empty block that makes room for it.
struct RuleBlock
{
    QTextBlock block;
    Translate::Rule rule;
};

// Takes over the rule blocks that the translated page asks for (<hr width="N">, see
// Translate::Rule): Qt stops drawing them and each gets the height of its rule.
QList<RuleBlock> prepareRules(QTextDocument *document, const QList<Translate::Rule> &rules);

// Gives lines that hold nothing but floating pictures no height, as browsers do, so that what
// follows starts beside the pictures rather than a line below their top.
void collapseFloatOnlyLines(QTextDocument *document);

// Gives blocks without any content (an empty paragraph, the block Qt keeps after every table)
// neither height nor margins, as browsers show an empty paragraph. Rule blocks keep theirs.
void collapseEmptyBlocks(QTextDocument *document);

// Merges a table's space above with the space below the paragraph before it, as browsers merge
// adjacent margins; Qt adds them.
void collapseTableMargins(QTextDocument *document);

// Qt puts the text beside an ALIGN=TOP picture at the picture's middle; browsers put it at the
// picture's top. The text up to the next line break is raised there when it fits beside the
// picture in kTopAlignedRoom pixels; longer text, which would wrap, stays where Qt puts it.
inline constexpr int kTopAlignedRoom = 400;
void raiseTextBesideTopPictures(QTextDocument *document);

// Qt's text browser with the page's background under the text, the page's rules, and the
// viewer's scrolling keys.
class HtmlView : public QTextBrowser
{
    Q_OBJECT
public:
    static constexpr int kLineStep = 16;   // Up and Down
    static constexpr int kColumnStep = 15; // Left and Right
    static constexpr int kWheelLines = 3;  // lines of the page's default text per notch, as browsers scroll

    explicit HtmlView(QWidget *parent = nullptr);

    void setPageBackground(const QColor &color, const QPixmap &tile);
    void setRules(QList<RuleBlock> rules) { m_rules = std::move(rules); }
    // Pixels one notch of the wheel scrolls: kWheelLines lines of the document's default font.
    int wheelStep() const;

Q_SIGNALS:
    void focusChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void paintRules(QPainter &painter, const QRectF &area) const;

    QColor m_background;
    QPixmap m_tile;
    QList<RuleBlock> m_rules;
    QPointF m_wheelRest; // the part of a pixel that fine-grained wheels have turned but not yet scrolled
};
