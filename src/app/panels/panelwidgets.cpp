#include "panelwidgets.h"

#include <QKeyEvent>
#include <QTextDocument>

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
    // A memo that takes Tab (the bullet list) is left with Ctrl+Tab and Ctrl+Shift+Tab.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier) && !tabChangesFocus()) {
        // QPlainTextEdit's own override refuses to move on from an edit that takes Tab.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    if (!m_wantReturns && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
