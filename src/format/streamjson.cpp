#include "streamjson.h"

namespace {

class JsonWriter
{
public:
    QByteArray take() { return std::move(m_out); }

    void object(const Stream::Object &object)
    {
        m_out += "{\n";
        key(1, QStringLiteral("class"));
        string(object.className);
        m_out += ",\n";
        key(1, QStringLiteral("name"));
        string(object.objectName);
        m_out += ",\n";
        key(1, QStringLiteral("properties"));
        properties(object.properties, 1);
        m_out += "\n}\n";
    }

private:
    void indent(int level) { m_out.append(QByteArray(level * 2, ' ')); }

    void key(int level, const QString &name)
    {
        indent(level);
        string(name);
        m_out += ": ";
    }

    // Runs of plain characters are converted whole, so surrogate pairs stay together.
    void string(const QString &text)
    {
        m_out += '"';
        qsizetype from = 0;
        const auto flush = [&](qsizetype to) {
            if (to > from)
                m_out += QStringView(text).mid(from, to - from).toUtf8();
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                ++i;
                continue;
            }
            const char *escape = c == u'"' ? "\\\"" : c == u'\\' ? "\\\\" : c == u'\n' ? "\\n"
                               : c == u'\r' ? "\\r" : c == u'\t' ? "\\t" : nullptr;
            if (!escape && c >= 0x20 && !QChar::isSurrogate(c))
                continue;
            flush(i);
            from = i + 1;
            if (escape)
                m_out += escape;
            else // a control character, or a lone surrogate UTF-8 could not show
                m_out += QByteArray("\\u") + QByteArray::number(c, 16).rightJustified(4, '0');
        }
        flush(text.size());
        m_out += '"';
    }

    void properties(const Stream::PropertyList &list, int level)
    {
        if (list.empty()) {
            m_out += "{}";
            return;
        }
        m_out += "{\n";
        for (size_t i = 0; i < list.size(); ++i) {
            key(level + 1, list[i].name);
            value(list[i].value, level + 1);
            m_out += i + 1 < list.size() ? ",\n" : "\n";
        }
        indent(level);
        m_out += '}';
    }

    void value(const Stream::Value &v, int level)
    {
        switch (v.kind) {
        case Stream::Value::Kind::Integer:
            m_out += QByteArray::number(v.integer);
            break;
        case Stream::Value::Kind::Boolean:
            m_out += v.boolean ? "true" : "false";
            break;
        case Stream::Value::Kind::String:
        case Stream::Value::Kind::Ident:
            string(v.text);
            break;
        case Stream::Value::Kind::List:
            array(v.list.size(), level, [&](size_t i) { value(v.list[i], level + 1); });
            break;
        case Stream::Value::Kind::Collection:
            array(v.items.size(), level, [&](size_t i) { properties(v.items[i], level + 1); });
            break;
        }
    }

    template<typename Element>
    void array(size_t count, int level, Element element)
    {
        if (count == 0) {
            m_out += "[]";
            return;
        }
        m_out += "[\n";
        for (size_t i = 0; i < count; ++i) {
            indent(level + 1);
            element(i);
            m_out += i + 1 < count ? ",\n" : "\n";
        }
        indent(level);
        m_out += ']';
    }

    QByteArray m_out;
};

} // namespace

QByteArray StreamToJson(const Stream::Object &object)
{
    JsonWriter writer;
    writer.object(object);
    return writer.take();
}
