#include "dialogframe.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace DialogFrame {

namespace {

// The frame the window manager puts round a dialog is known only once the dialog has been on
// the screen. Until then the owner's frame, drawn by the same window manager, stands in for it.
QMargins frameMargins(const QWidget *dialog, const QWidget *owner)
{
    if (dialog->windowFlags() & Qt::FramelessWindowHint)
        return {};
    if (const QWindow *handle = dialog->windowHandle()) {
        const QMargins own = handle->frameMargins();
        if (!own.isNull())
            return own;
    }
    if (!owner)
        return {};
    const QRect frame = owner->frameGeometry();
    const QRect inner = owner->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom());
}

bool isDialog(const QWidget *widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && (type == Qt::Dialog || type == Qt::Sheet);
}

// Places each dialog as it is about to be shown, before Qt would by its own rule, which knows
// neither a parent that is not on the screen yet nor a dialog without a parent.
class Centring : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
            auto *dialog = static_cast<QWidget *>(watched);
            if (isDialog(dialog))
                centreOverOwner(dialog);
        }
        return false;
    }
};

} // namespace

QWidget *ownerWindow(const QWidget *parent)
{
    for (const QWidget *widget = parent; widget;) {
        QWidget *window = widget->window();
        if (window->isVisible())
            return window;
        widget = window->parentWidget();
    }
    return QApplication::activeWindow();
}

void centreOver(QWidget *dialog, const QWidget *owner)
{
    const QScreen *screen = owner ? owner->screen() : dialog->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();

    const QMargins margins = frameMargins(dialog, owner);
    QRect frame(QPoint(), dialog->size().grownBy(margins));
    // A maximised owner fills the available screen, even while the window manager has yet to
    // give it that size, as just after start-up.
    const bool fillsScreen = owner && (owner->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    frame.moveCenter(owner && !(fillsScreen && available.isValid()) ? owner->frameGeometry().center()
                                                                     : available.center());
    if (available.isValid()) {
        // The title bar stays reachable: the top-left corner is kept on the screen last.
        frame.moveRight(std::min(frame.right(), available.right()));
        frame.moveBottom(std::min(frame.bottom(), available.bottom()));
        frame.moveLeft(std::max(frame.left(), available.left()));
        frame.moveTop(std::max(frame.top(), available.top()));
    }
    // Placed by its inside, which means the same before and after the window manager has
    // framed it; the frame then goes round it.
    dialog->setGeometry(frame.marginsRemoved(margins));
}

void centreOverOwner(QWidget *dialog)
{
    QWidget *owner = ownerWindow(dialog->parentWidget());
    centreOver(dialog, owner == dialog ? nullptr : owner);
}

void centreEveryDialog()
{
    static QPointer<Centring> installed;
    if (installed || !qApp)
        return;
    installed = new Centring(qApp);
    qApp->installEventFilter(installed);
}

void makeFixedSize(QWidget *dialog, const QSize &size)
{
    if (size.isValid())
        dialog->setFixedSize(size);
    Qt::WindowFlags flags = dialog->windowFlags();
    flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint | Qt::WindowFullscreenButtonHint);
    // Spelled out rather than left to the platform's defaults for the window type.
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
             Qt::MSWindowsFixedSizeDialogHint;
    dialog->setWindowFlags(flags);
}

} // namespace DialogFrame
