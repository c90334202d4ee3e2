#include "viewer/htmllite.h"

#include "platform/cp1252.h"
#include "platform/gui/busycursor.h"
#include "viewer/formcontrols.h"
#include "viewer/htmltranslator.h"
#include "viewer/htmlview.h"
#include "viewer/picturestore.h"
#include "viewer/references.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QScrollBar>
#include <QTextFrame>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Pictures without a size of their own in the page (missing or undecodable ones).
constexpr int kPlaceholderSide = 24;
constexpr int kMaxAltWidth = 400;
constexpr int kFocusFrame = 1;
constexpr int kTextAreaPoints = 10;
// Browsers draw form controls in a sans-serif font of 13.33 pixels (10 points), whatever the page.
constexpr int kControlPoints = 10;

// Families that fontconfig stands in for with one of the same metrics, which browsers take as
// the family itself; any other missing family falls back to the default font.
const QHash<QString, QStringList> &standIns()
{
    static const QHash<QString, QStringList> table = [] {
        const QStringList sans = {u"Liberation Sans"_s, u"Arimo"_s, u"Nimbus Sans"_s, u"Nimbus Sans L"_s};
        const QStringList serif = {u"Liberation Serif"_s, u"Tinos"_s, u"Nimbus Roman"_s, u"Nimbus Roman No9 L"_s};
        const QStringList mono = {u"Liberation Mono"_s, u"Cousine"_s, u"Nimbus Mono PS"_s, u"Nimbus Mono L"_s};
        return QHash<QString, QStringList>{
            {u"arial"_s, sans},
            {u"helvetica"_s, sans},
            {u"times new roman"_s, serif},
            {u"times"_s, serif},
            {u"courier new"_s, mono},
            {u"courier"_s, mono},
            {u"arial narrow"_s, {u"Liberation Sans Narrow"_s, u"Nimbus Sans Narrow"_s}},
            {u"calibri"_s, {u"Carlito"_s}},
            {u"cambria"_s, {u"Caladea"_s}},
            {u"georgia"_s, {u"Gelasio"_s}},
            // The generic families, but not cursive and fantasy: those are script and symbol fonts.
            {u"serif"_s, {}},
            {u"sans-serif"_s, {}},
            {u"monospace"_s, {}},
        };
    }();
    return table;
}

bool familyAvailable(const QString &family)
{
    static QHash<QString, bool> known;
    const QString key = family.toLower();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return found.value();
    bool available = QFontDatabase::hasFamily(family);
    const auto standIn = standIns().constFind(key);
    if (!available && standIn != standIns().constEnd()) {
        available = standIn->isEmpty() || std::any_of(standIn->begin(), standIn->end(),
                                                      [](const QString &f) { return QFontDatabase::hasFamily(f); });
    }
    known.insert(key, available);
    return available;
}

// What stands for a picture that cannot be shown: the ALT text when it fits, in a sunken frame
// when the picture is missing. A picture that names no file is missing nothing, so it gets no
// frame, only the room the page gives it.
QPixmap placeholder(int width, int height, const QString &alt, const QFont &font, bool framed)
{
    // Without a size from the page, the room fits the ALT text.
    const QFontMetrics metrics(font);
    const int altWidth = alt.isEmpty() ? kPlaceholderSide : qMin(metrics.horizontalAdvance(alt) + 8, kMaxAltWidth);
    const int altHeight = alt.isEmpty() ? kPlaceholderSide : metrics.height() + 6;
    const QSize size(width > 0 ? width : altWidth, height > 0 ? height : altHeight);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect r = pixmap.rect();
    if (framed) {
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    if (!alt.isEmpty() && r.width() > 8 && r.height() > 8) {
        painter.setPen(QColor(64, 64, 64));
        painter.setFont(font);
        painter.drawText(r.adjusted(3, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, alt);
    }
    return pixmap;
}

// text without the characters up to code 32 (spaces and controls) at either end.
QString stripControlCharacters(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32)
        ++start;
    while (end > start && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(start, end - start);
}

// The text of a page file: Windows-1252, unless it starts with the UTF-8 byte order mark.
QString pageText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return Cp1252::decode(bytes);
}

} // namespace

// What the shown page needs while Qt lays it out and paints it. Each load starts it afresh,
// but for the pictures the store keeps from one load to the next.
struct ThtmlLite::Load
{
    Translate::Page page;
    QString folder; // of the loaded file; empty for lines
    QList<QPixmap> controls;
    QHash<QString, QPixmap> placeholders;
    PictureStore pictures;
};

ThtmlLite::ThtmlLite(QWidget *parent) : QWidget(parent), m_view(new HtmlView(this)), m_load(std::make_unique<Load>())
{
    m_defFontColor = palette().color(QPalette::ButtonText);
    m_defBackground = palette().color(QPalette::Button);
    m_view->setObjectName(QStringLiteral("view"));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    connect(m_view, &QTextBrowser::anchorClicked, this, &ThtmlLite::linkClicked);
    connect(m_view, &HtmlView::focusChanged, this, [this] {
        if (m_borderStyle == htFocused)
            update();
    });
    setNoSelect(false);
    setScrollBars(ssBoth);
    applyFrame();
    ClearDocument();
}

ThtmlLite::~ThtmlLite()
{
    // The view before its document, and both before the load they ask for resources.
    delete m_view;
    delete m_document;
}

int ThtmlLite::ImageCacheCount() const
{
    return m_load->pictures.cacheCount();
}

void ThtmlLite::setImageCacheCount(int count)
{
    m_load->pictures.setCacheCount(count);
}

void ThtmlLite::setBorderStyle(THTMLBorderStyle style)
{
    m_borderStyle = style;
    applyFrame();
}

void ThtmlLite::applyFrame()
{
    if (m_borderStyle == htSingle) {
        m_view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    } else {
        m_view->setFrameStyle(QFrame::NoFrame);
    }
    // The focus frame is drawn around the view, so that it can come and go without a new layout.
    const int margin = m_borderStyle == htFocused ? kFocusFrame : 0;
    this->layout()->setContentsMargins(margin, margin, margin, margin);
    update();
}

void ThtmlLite::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_borderStyle != htFocused || !m_view->hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ThtmlLite::setNoSelect(bool noSelect)
{
    m_noSelect = noSelect;
    Qt::TextInteractionFlags flags = Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
    if (!noSelect)
        flags |= Qt::TextSelectableByMouse;
    m_view->setTextInteractionFlags(flags);
}

void ThtmlLite::setDefBackground(const QColor &color)
{
    m_defBackground = color;
    if (!m_load->page.background.isValid())
        m_view->setPageBackground(color, QPixmap());
}

void ThtmlLite::setMarginWidth(int pixels)
{
    m_marginWidth = pixels;
    applyMargins();
}

void ThtmlLite::setMarginHeight(int pixels)
{
    m_marginHeight = pixels;
    applyMargins();
}

void ThtmlLite::applyMargins()
{
    if (m_document == nullptr)
        return;
    QTextFrame *root = m_document->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setLeftMargin(m_marginWidth);
    format.setRightMargin(m_marginWidth);
    format.setTopMargin(m_marginHeight);
    format.setBottomMargin(m_marginHeight);
    root->setFrameFormat(format);
}

void ThtmlLite::setScrollBars(TScrollStyle bars)
{
    m_scrollBars = bars;
    const bool horizontal = bars == ssHorizontal || bars == ssBoth;
    const bool vertical = bars == ssVertical || bars == ssBoth;
    m_view->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void ThtmlLite::setServerRoot(const QString &root)
{
    QString stored = stripControlCharacters(root);
    if (stored.endsWith(u'\\') || stored.endsWith(u'/'))
        stored.chop(1);
    m_serverRoot = stored;
}

void ThtmlLite::ClearDocument()
{
    showPage(QString(), QString(), QString());
}

void ThtmlLite::LoadHtmlStrings(const QStringList &lines)
{
    showPage(lines.join(u'\n'), QString(), QString());
}

bool ThtmlLite::LoadHtmlFile(const QString &path)
{
    const qsizetype hash = path.indexOf(u'#');
    const QString file = hash < 0 ? path : path.left(hash);
    const QString target = hash < 0 ? QString() : path.mid(hash + 1);
    // The pages were written for a system that ignores letter case in file names.
    const QString found = References::matchCase(file);
    QFile device(found);
    if (file.isEmpty() || !QFileInfo(found).isFile() || !device.open(QIODevice::ReadOnly)) {
        m_error = u"Can't locate file: " % file;
        return false;
    }
    BusyCursor busy;
    const QString text = pageText(device.readAll());
    m_error.clear();
    showPage(text, QFileInfo(found).absolutePath(), target);
    return true;
}

void ThtmlLite::showPage(const QString &html, const QString &folder, const QString &target)
{
    BusyCursor busy;
    Translate::Options options;
    options.fontSize = m_defFontSize;
    options.textColor = m_defFontColor;
    options.linkColor = m_defHotSpotColor;
    options.preFontName = m_defPreFontName;
    options.familyAvailable = familyAvailable;
    m_load->page = Translate::translateHtml(html, options);
    m_load->folder = folder;
    m_load->placeholders.clear();
    m_load->pictures.beginLoad();
    // Drawn now rather than when Qt asks, which may be in the middle of painting.
    m_load->controls.clear();
    QFont fixed(m_defPreFontName);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(kTextAreaPoints);
    QFont controlFont(QStringLiteral("sans-serif"));
    controlFont.setStyleHint(QFont::SansSerif);
    controlFont.setPointSize(kControlPoints);
    for (const Translate::Control &control : std::as_const(m_load->page.controls))
        m_load->controls.append(FormControls::draw(control, controlFont, fixed));

    QPixmap tile;
    if (m_viewImages && !m_load->page.backgroundPicture.isEmpty()) {
        const QString path = References::resolve(m_load->page.backgroundPicture, m_serverRoot, folder);
        if (!path.isEmpty())
            tile = QPixmap::fromImage(m_load->pictures.picture(path));
    }
    const QColor background = m_load->page.background.isValid() ? m_load->page.background : m_defBackground;

    QFont font(m_defFontName);
    font.setPointSize(qMax(1, m_defFontSize));
    auto *document = new ViewerDocument([this](int type, const QUrl &name) { return resource(type, name); }, this);
    document->setDefaultFont(font);
    document->setHtml(m_load->page.html);
    collapseEmptyBlocks(document);
    collapseTableMargins(document);
    QList<RuleBlock> rules = prepareRules(document, m_load->page.rules);
    collapseFloatOnlyLines(document);
    raiseTextBesideTopPictures(document);

    QTextDocument *old = m_document;
    m_document = document;
    applyMargins();
    m_view->setRules({});
    m_view->setDocument(document);
    m_view->setFont(font); // after the new document, so that the old one is not laid out anew
    m_view->setRules(std::move(rules));
    m_view->setPageBackground(background, tile);
    delete old;
    scrollTo(target);
}

void ThtmlLite::scrollTo(const QString &target)
{
    m_pendingTarget.clear();
    m_view->horizontalScrollBar()->setValue(0);
    m_view->verticalScrollBar()->setValue(0);
    if (target.isEmpty())
        return;
    if (isVisible())
        m_view->scrollToAnchor(target);
    else
        m_pendingTarget = target; // where a target is depends on the width, known once shown
}

void ThtmlLite::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_pendingTarget.isEmpty())
        m_view->scrollToAnchor(std::exchange(m_pendingTarget, QString()));
}

namespace {

// The picture with the clear space a floating picture keeps beside it.
QPixmap withGap(const QPixmap &pixmap, const Translate::Picture &picture)
{
    if (picture.gapLeft == 0 && picture.gapRight == 0)
        return pixmap;
    const QSize size(picture.width >= 0 ? picture.width : pixmap.width(),
                     picture.height >= 0 ? picture.height : pixmap.height());
    QPixmap room(size.width() + picture.gapLeft + picture.gapRight, size.height());
    room.fill(Qt::transparent);
    QPainter painter(&room);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint(picture.gapLeft, 0), size), pixmap);
    return room;
}

} // namespace

QVariant ThtmlLite::resource(int type, const QUrl &name)
{
    if (type != QTextDocument::ImageResource)
        return {};
    bool ok = false;
    const int index = name.path().toInt(&ok);
    if (!ok || index < 0)
        return {};
    const Translate::Page &page = m_load->page;
    if (name.scheme() == Translate::kControlScheme && index < m_load->controls.size())
        return m_load->controls.at(index);
    if (name.scheme() != Translate::kPictureScheme || index >= page.pictures.size())
        return {};

    const Translate::Picture &picture = page.pictures.at(index);
    if (m_viewImages && picture.namesFile) {
        const QString path = References::resolve(picture.source, m_serverRoot, m_load->folder);
        if (!path.isEmpty()) {
            const QImage image = m_load->pictures.picture(path);
            if (!image.isNull())
                return withGap(QPixmap::fromImage(image), picture);
        }
    }
    // Qt keeps what a resource gave for the rest of the load, so each size is drawn once.
    const QString key = QChar(picture.namesFile ? u'F' : u'-') % QString::number(picture.width) % u'x' %
                        QString::number(picture.height) % u' ' % picture.alt;
    auto found = m_load->placeholders.find(key);
    if (found == m_load->placeholders.end()) {
        QFont small = QApplication::font();
        small.setPointSize(8);
        found = m_load->placeholders.insert(
            key, placeholder(picture.width, picture.height, picture.alt, small, picture.namesFile));
    }
    return withGap(found.value(), picture);
}

void ThtmlLite::linkClicked(const QUrl &url)
{
    bool ok = false;
    const int index = url.path().toInt(&ok);
    if (url.scheme() != Translate::kLinkScheme || !ok || index < 0 || index >= m_load->page.links.size())
        return;
    const QString target = m_load->page.links.at(index);
    bool handled = false;
    Q_EMIT OnHotSpotClick(target, handled);
    if (!handled && target.startsWith(u'#') && target.size() > 1)
        m_view->scrollToAnchor(target.mid(1));
}

QString ThtmlLite::DocumentTitle() const
{
    return m_load->page.title;
}

QString ThtmlLite::DocumentText() const
{
    return m_document->toPlainText();
}

QSize ThtmlLite::DocumentSize() const
{
    return m_document->size().toSize();
}

QTextDocument *ThtmlLite::document() const
{
    return m_document;
}
