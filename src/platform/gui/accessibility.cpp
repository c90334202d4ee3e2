#include "accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

namespace Accessibility {

namespace {

// An editable combo box's edit is announced by itself and needs the combo box's name too.
void setName(QWidget *widget, const QString &name)
{
    widget->setAccessibleName(name);
    const auto *combo = qobject_cast<QComboBox *>(widget);
    if (combo && combo->lineEdit() && combo->lineEdit()->accessibleName().isEmpty())
        combo->lineEdit()->setAccessibleName(name);
}

void nameOne(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        // Qt names an edit box after its label itself, but not a list or a combo box.
        QWidget *buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty())
            setName(buddy, nameFromCaption(label->text()));
        return;
    }
    QWidget *outer = widget->parentWidget();
    if (!widget->accessibleName().isEmpty()) {
        if (qobject_cast<QComboBox *>(widget))
            setName(widget, widget->accessibleName());
        return;
    }
    // A control that hands its focus to an inner one (a viewer to its page) lends it its name.
    if (outer && (outer->focusProxy() == widget || qobject_cast<QComboBox *>(outer))
        && !outer->accessibleName().isEmpty()) {
        widget->setAccessibleName(outer->accessibleName());
        return;
    }
    auto *button = qobject_cast<QAbstractButton *>(widget);
    if ((button && button->text().trimmed().isEmpty()) || qobject_cast<QAbstractItemView *>(widget)
        || qobject_cast<QComboBox *>(widget))
        setName(widget, nameFromHint(widget->toolTip()));
}

class Naming : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Named as they are shown: the window has set their captions, hints and labels by then.
        if (event->type() == QEvent::Show && watched->isWidgetType())
            nameOne(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

void nameEveryControl()
{
    static QPointer<Naming> installed;
    if (installed)
        return;
    installed = new Naming(qApp);
    qApp->installEventFilter(installed);
}

void nameControls(QWidget *root)
{
    nameOne(root);
    for (QWidget *widget : root->findChildren<QWidget *>())
        nameOne(widget);
}

QString nameFromHint(const QString &hint)
{
    const QString name = hint.trimmed();
    if (name.endsWith(u'.') || name.endsWith(u'!') || name.endsWith(u'?'))
        return {};
    return name;
}

QString nameFromCaption(const QString &caption)
{
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // "&&" stands for one "&"; "&x" marks x as the mnemonic
        name += caption[i];
    }
    name = name.trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

} // namespace Accessibility
