#include "formcheck.h"

#include "html/formhtml.h"

#include <QFile>
#include <QRegularExpression>

QString PrePublishFormWarning(const QString &htmlPath)
{
    QFile f(htmlPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    // Only what the page really holds counts: a FORM tag's ACTION value. The built-in address is ASCII.
    const QString html = QString::fromLatin1(f.readAll());
    static const QRegularExpression action(
        QStringLiteral("<FORM\\s[^>]*\\bACTION\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString builtIn = FormActionAddress({});
    for (auto it = action.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString value = m.captured(1) + m.captured(2) + m.captured(3);
        if (value.trimmed().compare(builtIn, Qt::CaseInsensitive) == 0)
            return kBuiltInFormAddressWarning.toString();
    }
    return {};
}
