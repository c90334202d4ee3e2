#include "help.h"

#include "shell.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Help {

namespace {

constexpr char kTopicProperty[] = "briskoHelpTopic";
constexpr char kMenuProperty[] = "briskoWhatsThisMenu";

const QString kContentsPage = u"qrc:/help/contents.html"_s;

QUrl topicUrl(int topic)
{
    return QUrl(u"qrc:/help/%1.html"_s.arg(topic));
}

// A topic page that is not there is an item nobody has written help for yet, not an error.
class HelpBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type == QTextDocument::HtmlResource && resource.toByteArray().isEmpty()) {
            return QVariant(u"<html><body><p>No help is available for this item.</p></body></html>"_s);
        }
        return resource;
    }
};

class HelpWindow : public QDialog
{
public:
    HelpWindow()
    {
        setObjectName(u"frmHelp"_s);
        setWindowTitle(u"Brisko Help"_s);
        setWindowFlags(Qt::Window);
        // Help never keeps the program alive after its main window has gone.
        setAttribute(Qt::WA_QuitOnClose, false);

        auto *contents = new QPushButton(u"&Contents"_s, this);
        contents->setObjectName(u"btnContents"_s);
        auto *back = new QPushButton(u"&Back"_s, this);
        back->setObjectName(u"btnBack"_s);
        back->setEnabled(false);
        m_browser = new HelpBrowser(this);
        m_browser->setObjectName(u"txtHelp"_s);
        m_browser->setOpenLinks(false);

        auto *buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addStretch();
        auto *layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_browser);
        resize(560, 620);

        connect(contents, &QPushButton::clicked, this, [this] { showPage(QUrl(kContentsPage)); });
        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    }

    void showPage(const QUrl &url) { m_browser->setSource(url, QTextDocument::HtmlResource); }

    QUrl page() const { return m_browser->source(); }

private:
    // Links between topics stay in this window; anything else goes to the desktop.
    void followLink(const QUrl &link)
    {
        const QUrl target = m_browser->source().resolved(link);
        if (target.scheme() == u"qrc")
            showPage(target);
        else
            OpenUrl(target.toString());
    }

    HelpBrowser *m_browser = nullptr;
};

QPointer<HelpWindow> &helpWindow()
{
    static QPointer<HelpWindow> window;
    return window;
}

int &lastShownTopic()
{
    static int topic = 0;
    return topic;
}

// Help opened from a modal dialog (or a message box) must stay usable while that dialog is
// open, so the window belongs to the active modal window when there is one.
HelpWindow *windowForShowing()
{
    QPointer<HelpWindow> &window = helpWindow();
    QWidget *owner = QApplication::activeModalWidget();
    if (!window)
        window = new HelpWindow;
    if (window->parentWidget() != owner) {
        const QRect geometry = window->geometry();
        const bool placed = window->testAttribute(Qt::WA_Moved);
        window->setParent(owner, Qt::Window);
        if (placed)
            window->setGeometry(geometry);
    }
    return window;
}

void present(const QUrl &url)
{
    HelpWindow *window = windowForShowing();
    window->showPage(url);
    window->show();
    window->raise();
    window->activateWindow();
}

int topicAbove(QObject *object)
{
    for (auto *widget = qobject_cast<QWidget *>(object); widget; widget = widget->parentWidget()) {
        const int topic = widget->property(kTopicProperty).toInt();
        if (topic > 0)
            return topic;
        if (widget->isWindow())
            break;
    }
    return 0;
}

// F1 is caught for the whole program: the innermost widget with a topic, from the one with the
// keyboard focus outwards, shows it. The shortcut override keeps a window's own F1 shortcut
// (the help contents) from taking the key first.
class F1Filter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        const int topic = topicAbove(watched);
        if (topic == 0)
            return false;
        event->accept();
        if (event->type() == QEvent::KeyPress)
            showTopic(qobject_cast<QWidget *>(watched), topic);
        return true;
    }
};

void installF1Filter()
{
    static QPointer<F1Filter> filter;
    if (!filter && qApp) {
        filter = new F1Filter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace

void showContents(QWidget *)
{
    present(QUrl(kContentsPage));
}

void showTopic(QWidget *, int topic)
{
    if (topic == 0)
        return;
    lastShownTopic() = topic;
    present(topicUrl(topic));
}

void quit()
{
    delete helpWindow().data();
}

int lastTopic()
{
    return lastShownTopic();
}

QString currentPage()
{
    const QPointer<HelpWindow> &window = helpWindow();
    if (!window || !window->isVisible())
        return {};
    return window->page().fileName();
}

void attachF1(QWidget *widget, int topic)
{
    widget->setProperty(kTopicProperty, topic);
    installF1Filter();
}

void attachWhatsThis(QWidget *widget, int topic)
{
    attachF1(widget, topic);
    if (widget->property(kMenuProperty).toBool())
        return;
    widget->setProperty(kMenuProperty, true);
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget, [widget](const QPoint &position) {
        // The topic is the one attached when the menu opens.
        const int shownTopic = topicOf(widget);
        QMenu menu(widget);
        menu.setObjectName(u"popWhatsThis"_s);
        QAction *item = menu.addAction(u"&What's This?"_s);
        item->setObjectName(u"mnuWhatsThis"_s);
        QObject::connect(item, &QAction::triggered, widget, [widget, shownTopic] { showTopic(widget, shownTopic); });
        // Scroll areas report the position in their viewport.
        auto *area = qobject_cast<QAbstractScrollArea *>(widget);
        const QWidget *origin = area ? area->viewport() : widget;
        menu.exec(origin->mapToGlobal(position));
    });
}

int topicOf(const QWidget *widget)
{
    return widget ? widget->property(kTopicProperty).toInt() : 0;
}

} // namespace Help
