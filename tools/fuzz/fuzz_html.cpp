// libFuzzer target: the preview's HTML lexer and translator. Any page text lexes to an end,
// every token moving on; it translates to rich text whose stand-ins for pictures, controls, rules
// and links all name an entry of the lists the viewer fills them from.
#include "fuzzsupport.h"

#include "platform/cp1252.h"
#include "viewer/htmllexer.h"
#include "viewer/htmltranslator.h"

#include <QRegularExpression>

namespace {

void checkLexer(QStringView text)
{
    Html::Lexer lexer(text);
    Html::Token token;
    qsizetype tokens = 0;
    while (lexer.next(token)) {
        FUZZ_CHECK(++tokens <= text.size());
        if (token.type == Html::Token::StartTag && (token.name == u"script" || token.name == u"style"))
            (void)lexer.rawText(token.name);
    }
}

// Every "scheme:N" stand-in of html names an entry of a list of count.
void checkStandIns(const QString &html, const QString &pattern, qsizetype count, qsizetype first = 0)
{
    static QHash<QString, QRegularExpression> expressions;
    auto found = expressions.find(pattern);
    if (found == expressions.end())
        found = expressions.insert(pattern, QRegularExpression(pattern));
    for (const QRegularExpressionMatch &match : found->globalMatch(html)) {
        bool number = false;
        const qlonglong n = match.captured(1).toLongLong(&number);
        FUZZ_CHECK(number && n >= first && n < count + first);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.sliced(3)) : Cp1252::decode(bytes);
    checkLexer(text);
    (void)Html::decodeReferences(text);
    (void)Html::fixLegacyReferences(text);

    const Translate::Page page = Translate::translateHtml(text, Translate::Options());
    checkStandIns(page.html, QStringLiteral("<img src=\"brisko-picture:([0-9]+)\""), page.pictures.size());
    checkStandIns(page.html, QStringLiteral("<img src=\"brisko-control:([0-9]+)\""), page.controls.size());
    checkStandIns(page.html, QStringLiteral(" href=\"brisko-link:([0-9]+)\""), page.links.size());
    checkStandIns(page.html, QStringLiteral("<hr width=\"([0-9]+)\""), page.rules.size(), 1);
    return 0;
}
