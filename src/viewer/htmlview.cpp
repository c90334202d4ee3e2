#include "viewer/htmlview.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextLayout>
#include <QWheelEvent>
#include <QtMath>

#include <optional>

namespace {

// Space above and below a rule, as browsers give it; it merges with the space of the paragraphs
// around it, and an empty paragraph beside the rule makes it a paragraph's space.
constexpr int kRuleMargin = 8;
const QColor kRuleShadow(128, 128, 128);
const QColor kRuleLight(255, 255, 255);

// The height of the rule's block: its thickness, and at least the two lines of the groove.
int ruleHeight(const Translate::Rule &rule)
{
    return qMax(rule.size, rule.noShade ? 1 : 2);
}

// Whether blockBoundingRect() moves the block's rectangle by the offset of its first line; Qt
// releases differ, so ask a small document once.
bool boundingRectHasLineOffset()
{
    static const bool hasOffset = [] {
        QTextDocument document;
        document.setPlainText(QStringLiteral("x"));
        QTextBlockFormat format;
        format.setLineHeight(1, QTextBlockFormat::FixedHeight); // puts the line above the block's top
        QTextCursor(&document).setBlockFormat(format);
        document.setTextWidth(100);
        const QTextBlock block = document.begin();
        const qreal top = document.documentLayout()->blockBoundingRect(block).top();
        return qAbs(top - block.layout()->position().y()) > 0.01;
    }();
    return hasOffset;
}

void paintRule(QPainter &painter, const QRect &r, bool noShade)
{
    if (noShade) {
        painter.fillRect(r, kRuleShadow);
        return;
    }
    // A groove, as the browsers of the time drew it: shadow above and left, light below and right.
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), kRuleShadow);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), kRuleShadow);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), kRuleLight);
    painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 1), kRuleLight);
}

} // namespace

ViewerDocument::ViewerDocument(Loader loader, QObject *parent) : QTextDocument(parent), m_loader(std::move(loader))
{
    setUndoRedoEnabled(false);
}

QVariant ViewerDocument::loadResource(int type, const QUrl &name)
{
    return m_loader ? m_loader(type, name) : QVariant();
}

QList<RuleBlock> prepareRules(QTextDocument *document, const QList<Translate::Rule> &rules)
{
    QList<RuleBlock> taken;
    if (rules.isEmpty())
        return taken;
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            continue;
        const QTextLength length = format.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        const int number = qRound(length.rawValue());
        if (length.type() != QTextLength::FixedLength || number < 1 || number > rules.size())
            continue;
        const Translate::Rule &rule = rules.at(number - 1);
        format.clearProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
        const int position = block.position();
        if (block.length() > 1) {
            // Qt puts a picture that follows a rule into the rule's block; move it out.
            cursor.setPosition(position);
            cursor.insertBlock(format, block.charFormat());
            block = document->findBlock(position);
        }
        format.setLineHeight(ruleHeight(rule), QTextBlockFormat::FixedHeight);
        format.setTopMargin(qMax<qreal>(format.topMargin(), qMax(kRuleMargin, rule.spaceAbove)));
        format.setBottomMargin(qMax<qreal>(format.bottomMargin(), kRuleMargin));
        cursor.setPosition(position);
        cursor.setBlockFormat(format);
        taken.append({block, rule});
    }
    cursor.endEditBlock();
    return taken;
}

void collapseFloatOnlyLines(QTextDocument *document)
{
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        bool floats = false;
        bool other = false;
        for (auto it = block.begin(); !it.atEnd() && !other; ++it) {
            const QTextFragment fragment = it.fragment();
            const auto *frame = qobject_cast<QTextFrame *>(document->objectForFormat(fragment.charFormat()));
            if (fragment.charFormat().isImageFormat() && frame != nullptr &&
                frame->frameFormat().position() != QTextFrameFormat::InFlow)
                floats = true;
            else
                other = !fragment.text().trimmed().isEmpty();
        }
        if (!floats || other)
            continue;
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

void raiseTextBesideTopPictures(QTextDocument *document)
{
    struct Raise
    {
        int picture; // position of the picture
        int start;   // the text beside it
        int end;
        qreal height; // of the picture
    };
    QList<Raise> raises;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        std::optional<Raise> open;
        qreal room = 0;
        const auto close = [&] {
            if (open && open->end > open->start && room <= kTopAlignedRoom)
                raises.append(*open);
            open.reset();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                close();
                const QTextImageFormat image = format.toImageFormat();
                const auto *frame = qobject_cast<QTextFrame *>(document->objectForFormat(format));
                const bool floats = frame != nullptr && frame->frameFormat().position() != QTextFrameFormat::InFlow;
                if (format.verticalAlignment() == QTextCharFormat::AlignTop && image.height() > 0 && !floats &&
                    fragment.length() == 1) {
                    open = Raise{fragment.position(), fragment.position() + 1, fragment.position() + 1, image.height()};
                    room = image.width();
                }
                continue;
            }
            if (!open)
                continue;
            QString text = fragment.text();
            const qsizetype lineBreak = text.indexOf(QChar::LineSeparator);
            if (lineBreak >= 0)
                text.truncate(lineBreak);
            room += QFontMetricsF(format.font()).horizontalAdvance(text);
            open->end = fragment.position() + int(text.size());
            if (lineBreak >= 0)
                close();
        }
        close();
    }

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const Raise &raise : std::as_const(raises)) {
        // The picture sits on the baseline, the text's top at the picture's top.
        cursor.setPosition(raise.picture);
        cursor.setPosition(raise.picture + 1, QTextCursor::KeepAnchor);
        QTextCharFormat picture;
        picture.setVerticalAlignment(QTextCharFormat::AlignBaseline);
        cursor.mergeCharFormat(picture);
        for (int at = raise.start; at < raise.end;) {
            cursor.setPosition(at + 1);
            const QFont font = cursor.charFormat().font();
            int end = at + 1;
            for (; end < raise.end; ++end) {
                cursor.setPosition(end + 1);
                if (cursor.charFormat().font() != font)
                    break;
            }
            const QFontMetricsF metrics(font);
            const qreal shift = raise.height - metrics.ascent() - metrics.descent();
            if (shift > 0 && metrics.height() > 0) {
                QTextCharFormat raised;
                raised.setBaselineOffset(shift * 100 / metrics.height());
                cursor.setPosition(at);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
                cursor.mergeCharFormat(raised);
            }
            at = end;
        }
    }
    cursor.endEditBlock();
}

void collapseTableMargins(QTextDocument *document)
{
    const QList<QTextFrame *> frames = document->rootFrame()->childFrames();
    for (QTextFrame *frame : frames) {
        QTextFrameFormat format = frame->frameFormat();
        if (format.topMargin() <= 0 || format.position() != QTextFrameFormat::InFlow)
            continue;
        // The nearest block before the table that takes room; empty ones take none.
        QTextBlock before = document->findBlock(frame->firstPosition() - 1);
        while (before.isValid() && before.length() <= 1)
            before = before.previous();
        if (!before.isValid() || document->frameAt(before.position()) != document->rootFrame())
            continue;
        format.setTopMargin(qMax<qreal>(0, format.topMargin() - before.blockFormat().bottomMargin()));
        frame->setFrameFormat(format);
    }
}

void collapseEmptyBlocks(QTextDocument *document)
{
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (block.length() > 1 || format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            continue;
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        format.setTopMargin(0);
        format.setBottomMargin(0);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

HtmlView::HtmlView(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(kLineStep);
    horizontalScrollBar()->setSingleStep(kColumnStep);
}

void HtmlView::setPageBackground(const QColor &color, const QPixmap &tile)
{
    m_background = color;
    m_tile = tile;
    viewport()->update();
}

void HtmlView::paintEvent(QPaintEvent *event)
{
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    {
        QPainter painter(viewport());
        painter.fillRect(event->rect(), m_background);
        if (!m_tile.isNull()) {
            // The tiles scroll with the page.
            painter.setBrushOrigin(-scroll);
            painter.fillRect(event->rect(), QBrush(m_tile));
        }
    }
    QTextBrowser::paintEvent(event);
    if (!m_rules.isEmpty()) {
        QPainter painter(viewport());
        painter.translate(-scroll);
        paintRules(painter, QRectF(event->rect().translated(scroll)));
    }
}

void HtmlView::paintRules(QPainter &painter, const QRectF &area) const
{
    const QAbstractTextDocumentLayout *layout = document()->documentLayout();
    for (const RuleBlock &taken : m_rules) {
        if (!taken.block.isValid() || taken.block.layout() == nullptr || taken.block.layout()->lineCount() == 0)
            continue;
        const QTextLayout *text = taken.block.layout();
        QPointF origin = layout->blockBoundingRect(taken.block).topLeft();
        if (boundingRectHasLineOffset())
            origin -= text->boundingRect().topLeft();
        const QTextLine line = text->lineAt(0);
        // The line's span leaves out any floating picture beside the rule.
        const QRectF slot(origin.x() + line.x(), origin.y(), line.width(), ruleHeight(taken.rule));
        if (!slot.intersects(area))
            continue;
        const Translate::Rule &rule = taken.rule;
        const int width = qMax(1, rule.percent ? qRound(slot.width() * rule.width / 100.0) : rule.width);
        int x = qRound(slot.left());
        if (rule.align & Qt::AlignHCenter)
            x += qRound((slot.width() - width) / 2);
        else if (rule.align & Qt::AlignRight)
            x += qRound(slot.width()) - width;
        paintRule(painter, QRect(x, qRound(slot.top()), width, qRound(slot.height())), rule.noShade);
    }
}

void HtmlView::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *vertical = verticalScrollBar();
    QScrollBar *horizontal = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp:
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    case Qt::Key_Up:
        vertical->setValue(vertical->value() - kLineStep);
        break;
    case Qt::Key_Down:
        vertical->setValue(vertical->value() + kLineStep);
        break;
    case Qt::Key_Left:
        horizontal->setValue(horizontal->value() - kColumnStep);
        break;
    case Qt::Key_Right:
        horizontal->setValue(horizontal->value() + kColumnStep);
        break;
    default:
        QTextBrowser::keyPressEvent(event);
        return;
    }
    event->accept();
}

int HtmlView::wheelStep() const
{
    return kWheelLines * qCeil(QFontMetricsF(document()->defaultFont()).lineSpacing());
}

void HtmlView::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        QTextBrowser::wheelEvent(event);
        return;
    }
    // A notch is 120 eighths of a degree; touchpads report pixels of their own.
    const QPoint pixels = event->pixelDelta();
    QPointF delta = pixels.isNull() ? QPointF(event->angleDelta()) * wheelStep() / 120.0 : QPointF(pixels);
    if (event->modifiers() & Qt::ShiftModifier)
        delta = delta.transposed();
    m_wheelRest += delta;
    const QPoint whole(int(m_wheelRest.x()), int(m_wheelRest.y()));
    m_wheelRest -= whole;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - whole.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - whole.y());
    event->accept();
}

void HtmlView::focusInEvent(QFocusEvent *event)
{
    QTextBrowser::focusInEvent(event);
    Q_EMIT focusChanged();
}

void HtmlView::focusOutEvent(QFocusEvent *event)
{
    QTextBrowser::focusOutEvent(event);
    Q_EMIT focusChanged();
}
