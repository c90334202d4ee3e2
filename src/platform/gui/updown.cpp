#include "updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Keys that type nothing (arrows, Home, Delete, Tab) work as usual.
bool keyAccepted(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Backspace)
        return true;
    if (key->matches(QKeySequence::Paste))
        return false;
    const QString text = key->text();
    if (text.isEmpty() || !text.front().isPrint())
        return true;
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    return plain && text.size() == 1 && text.front() >= u'0' && text.front() <= u'9';
}

} // namespace

TUpDown::TUpDown(QWidget *parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *button : {m_up, m_down}) {
        button->setArrowType(button == m_up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    m_up->setObjectName(QStringLiteral("btnUp"));
    m_down->setObjectName(QStringLiteral("btnDown"));
    // The arrows show no caption; the edit's Up and Down keys do the same from the keyboard.
    m_up->setAccessibleName(QStringLiteral("Step up"));
    m_up->setToolTip(QStringLiteral("Step up (Up key)"));
    m_down->setAccessibleName(QStringLiteral("Step down"));
    m_down->setToolTip(QStringLiteral("Step down (Down key)"));
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TUpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
}

int TUpDown::position() const
{
    if (!m_associate)
        return m_position;
    const QString text = m_associate->text().trimmed();
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || text.startsWith(u'+'))
        return m_position;
    return int(std::clamp<qlonglong>(value, m_minimum, m_maximum));
}

void TUpDown::setPosition(int value)
{
    m_position = std::clamp(value, m_minimum, m_maximum);
    if (m_associate)
        m_associate->setText(QString::number(m_position));
}

void TUpDown::setAssociate(QLineEdit *edit)
{
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = edit;
    if (m_associate) {
        m_associate->installEventFilter(this);
        m_associate->setAcceptDrops(false);
    }
    updateGeometry();
}

void TUpDown::step(int direction)
{
    setPosition(position() + (direction > 0 ? m_increment : -m_increment));
    Q_EMIT stepped();
}

QSize TUpDown::sizeHint() const
{
    return {16, m_associate ? m_associate->sizeHint().height() : 22};
}

bool TUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_associate && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && isEnabled()) {
            step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        if (!keyAccepted(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
