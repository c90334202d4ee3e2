#include "panelwidgets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

TPanelMemo::TPanelMemo(QWidget *parent) : QPlainTextEdit(parent) {}

QString TPanelMemo::blockText() const
{
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.replace(u'\n', "\r\n"_L1);
}

void TPanelMemo::setBlockText(QString text)
{
    text.replace("\r\n"_L1, "\n"_L1);
    text.replace(u'\r', u'\n');
    setPlainText(text);
}

void TPanelMemo::keyPressEvent(QKeyEvent *event)
{
    if (!m_wantReturns && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

TPanelUpDown::TPanelUpDown(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
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
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TPanelUpDown::setMinimum(int value)
{
    m_minimum = value;
    m_maximum = std::max(m_maximum, value);
    setPosition(m_position);
}

void TPanelUpDown::setMaximum(int value)
{
    m_maximum = value;
    m_minimum = std::min(m_minimum, value);
    setPosition(m_position);
}

void TPanelUpDown::setPosition(int value)
{
    m_position = std::clamp(value, m_minimum, m_maximum);
    showPosition();
}

void TPanelUpDown::setAssociate(QLineEdit *edit)
{
    if (m_associate)
        m_associate->removeEventFilter(this);
    m_associate = edit;
    if (m_associate)
        m_associate->installEventFilter(this);
    showPosition();
    updateGeometry();
}

void TPanelUpDown::step(int direction)
{
    setPosition(m_position + (direction > 0 ? m_increment : -m_increment));
    Q_EMIT clicked();
}

QSize TPanelUpDown::sizeHint() const
{
    const int height = m_associate ? m_associate->sizeHint().height() : 22;
    return {16, height};
}

bool TPanelUpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_associate && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPanelUpDown::showPosition()
{
    if (m_associate)
        m_associate->setText(QString::number(m_position));
}
