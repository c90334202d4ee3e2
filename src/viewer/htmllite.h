#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class HtmlView;
class QTextDocument;
class QUrl;

// The preview viewer: shows one HTML page, as the page generator writes it, with its pictures
// read from disk, without following links or running scripts.
//
// Fonts, colours and ViewImages apply from the next load; margins, scroll bars, NoSelect and
// the border apply at once.
class ThtmlLite : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool ViewImages READ ViewImages WRITE setViewImages)
    Q_PROPERTY(THTMLBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int HistoryMaxCount READ HistoryMaxCount WRITE setHistoryMaxCount)
    Q_PROPERTY(int ImageCacheCount READ ImageCacheCount WRITE setImageCacheCount)
    Q_PROPERTY(QString DefFontName READ DefFontName WRITE setDefFontName)
    Q_PROPERTY(QString DefPreFontName READ DefPreFontName WRITE setDefPreFontName)
    Q_PROPERTY(bool NoSelect READ NoSelect WRITE setNoSelect)
    Q_PROPERTY(int DefFontSize READ DefFontSize WRITE setDefFontSize)
    Q_PROPERTY(QColor DefFontColor READ DefFontColor WRITE setDefFontColor)
    Q_PROPERTY(QColor DefHotSpotColor READ DefHotSpotColor WRITE setDefHotSpotColor)
    Q_PROPERTY(QColor DefBackground READ DefBackground WRITE setDefBackground)
    Q_PROPERTY(int MarginWidth READ MarginWidth WRITE setMarginWidth)
    Q_PROPERTY(int MarginHeight READ MarginHeight WRITE setMarginHeight)
    Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE setScrollBars)
    Q_PROPERTY(QString ServerRoot READ ServerRoot WRITE setServerRoot)

public:
    enum THTMLBorderStyle { htFocused, htNone, htSingle };
    Q_ENUM(THTMLBorderStyle)
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    explicit ThtmlLite(QWidget *parent = nullptr);
    ~ThtmlLite() override;

    bool ViewImages() const { return m_viewImages; }
    void setViewImages(bool view) { m_viewImages = view; }
    // htSingle: a sunken frame; htNone: none; htFocused: a frame only while the viewer has focus.
    THTMLBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(THTMLBorderStyle style);
    // The viewer never follows links, so it records no history whatever the count.
    int HistoryMaxCount() const { return m_historyMaxCount; }
    void setHistoryMaxCount(int count) { m_historyMaxCount = count; }
    // Pictures kept from one document to the next; 0 reads every picture anew at each load.
    int ImageCacheCount() const;
    void setImageCacheCount(int count);
    QString DefFontName() const { return m_defFontName; }
    void setDefFontName(const QString &name) { m_defFontName = name; }
    QString DefPreFontName() const { return m_defPreFontName; }
    void setDefPreFontName(const QString &name) { m_defPreFontName = name; }
    bool NoSelect() const { return m_noSelect; }
    void setNoSelect(bool noSelect);
    int DefFontSize() const { return m_defFontSize; }
    void setDefFontSize(int points) { m_defFontSize = points; }
    QColor DefFontColor() const { return m_defFontColor; }
    void setDefFontColor(const QColor &color) { m_defFontColor = color; }
    QColor DefHotSpotColor() const { return m_defHotSpotColor; }
    void setDefHotSpotColor(const QColor &color) { m_defHotSpotColor = color; }
    QColor DefBackground() const { return m_defBackground; }
    void setDefBackground(const QColor &color);
    int MarginWidth() const { return m_marginWidth; }
    void setMarginWidth(int pixels);
    int MarginHeight() const { return m_marginHeight; }
    void setMarginHeight(int pixels);
    // The scroll bars that may appear; each shows only while the document does not fit.
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle bars);
    QString ServerRoot() const { return m_serverRoot; }
    // Stored without leading and trailing characters up to code 32, and without one trailing
    // "\" or "/".
    void setServerRoot(const QString &root);

    // Shows nothing, on the default background, without scroll bars.
    void ClearDocument();
    // Shows the lines, joined by line breaks, as one page from its top. Relative references
    // have no folder to resolve against (see viewer/references.h).
    void LoadHtmlStrings(const QStringList &lines);
    // Shows the Windows-1252 file at path; text after the first "#" names a target to scroll to.
    // A missing file leaves the view as it was and fails with "Can't locate file: " + path.
    bool LoadHtmlFile(const QString &path);
    QString errorString() const { return m_error; }

    // What is shown, for those who render or check it.
    QString DocumentTitle() const;
    QString DocumentText() const;
    QSize DocumentSize() const;
    QTextDocument *document() const;

Q_SIGNALS:
    // A link was clicked. Set handled to keep the viewer from doing anything further; unhandled,
    // a target "#name" scrolls to that name in the shown page and anything else does nothing.
    void OnHotSpotClick(const QString &target, bool &handled);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Load;

    void showPage(const QString &html, const QString &folder, const QString &target);
    QVariant resource(int type, const QUrl &name);
    void linkClicked(const QUrl &url);
    void applyMargins();
    void applyFrame();
    void scrollTo(const QString &target);

    HtmlView *m_view;
    std::unique_ptr<Load> m_load;
    QTextDocument *m_document = nullptr; // ours; replaced at every load
    QString m_error;
    QString m_pendingTarget;

    bool m_viewImages = true;
    THTMLBorderStyle m_borderStyle = htSingle;
    int m_historyMaxCount = 0;
    QString m_defFontName = QStringLiteral("Times New Roman");
    QString m_defPreFontName = QStringLiteral("Courier New");
    bool m_noSelect = false;
    int m_defFontSize = 12;
    QColor m_defFontColor;
    QColor m_defHotSpotColor = Qt::blue;
    QColor m_defBackground;
    int m_marginWidth = 10;
    int m_marginHeight = 5;
    TScrollStyle m_scrollBars = ssBoth;
    QString m_serverRoot;
};
