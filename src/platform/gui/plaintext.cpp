#include "plaintext.h"

#include <QTextDocument>

QString PlainToolTip(const QString &text)
{
    // Text that would not be taken for markup stays as it is, so a tip still reads back as the
    // name it shows.
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap) : text;
}
