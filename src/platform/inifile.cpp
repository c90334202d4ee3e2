#include "inifile.h"

#include "cp1252.h"
#include "savefile.h"
#include "textutils.h"

#include <QDir>
#include <QFile>
#include <QIODevice>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype kUtf8BomSize = 3;

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

} // namespace

IniFile::IniFile(const QString &fileName) : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        raiseError(
            QStringLiteral("Cannot read \"%1\": %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
        return;
    }
    load(file);
}

bool IniFile::load(QIODevice &device)
{
    m_errorString.clear();
    m_lines.clear();
    m_utf8 = false;
    if (!device.isReadable()) {
        raiseError(QStringLiteral("The file is not open for reading"));
        return false;
    }
    const QByteArray bytes = device.readAll();
    if (bytes.startsWith(kUtf8Bom)) {
        m_utf8 = true;
        setText(QString::fromUtf8(QByteArrayView(bytes).sliced(kUtf8BomSize)));
    } else {
        setText(Cp1252::decode(bytes));
    }
    return m_errorString.isEmpty();
}

void IniFile::setText(const QString &text)
{
    bool inSection = false;
    for (const QString &lineText : Text::splitLines(text)) {
        m_lines.push_back(parseLine(lineText, inSection));
        if (m_lines.back().kind == LineKind::Section)
            inSection = true;
    }
}

IniFile::Line IniFile::parseLine(const QString &text, bool inSection)
{
    Line line;
    line.text = text;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[')) {
        line.kind = LineKind::Section;
        const qsizetype close = trimmed.indexOf(u']');
        line.name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return line;
    }
    if (!inSection || trimmed.isEmpty() || trimmed.startsWith(u';'))
        return line;

    line.kind = LineKind::Key;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0) {
        line.name = trimmed;
        return line;
    }
    line.name = trimmed.left(equals).trimmed();
    line.value = trimmed.mid(equals + 1).trimmed();
    if (line.value.size() >= 2 && line.value.startsWith(u'"') && line.value.endsWith(u'"'))
        line.value = line.value.mid(1, line.value.size() - 2);
    return line;
}

QString IniFile::keyLineText(const QString &key, const QString &value)
{
    QString oneLine = value;
    oneLine.replace(u'\r', u' ');
    oneLine.replace(u'\n', u' ');
    // Quote a value that would otherwise lose its outer blanks or quotes when read back.
    const bool needsQuotes =
        !oneLine.isEmpty() && (isBlank(oneLine.front()) || isBlank(oneLine.back()) ||
                               (oneLine.size() >= 2 && oneLine.startsWith(u'"') && oneLine.endsWith(u'"')));
    if (needsQuotes)
        return key % u"=\"" % oneLine % u'"';
    return key % u'=' % oneLine;
}

qsizetype IniFile::findSection(const QString &section, qsizetype from) const
{
    const QString wanted = section.trimmed();
    for (qsizetype i = from; i < qsizetype(m_lines.size()); ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind == LineKind::Section && sameName(line.name, wanted))
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < qsizetype(m_lines.size()) && m_lines[size_t(i)].kind != LineKind::Section)
        ++i;
    return i;
}

bool IniFile::sectionExists(const QString &section) const
{
    return findSection(section) >= 0;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Line &line : m_lines) {
        if (line.kind == LineKind::Section && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    }
    return names;
}

QStringList IniFile::readSection(const QString &section) const
{
    QStringList keys;
    const qsizetype header = findSection(section);
    if (header < 0)
        return keys;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[size_t(i)].kind == LineKind::Key)
            keys.append(m_lines[size_t(i)].name);
    }
    return keys;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return defaultValue;
    const QString wanted = key.trimmed();
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind == LineKind::Key && sameName(line.name, wanted))
            return line.value;
    }
    return defaultValue;
}

QHash<QString, QString> IniFile::readSectionValues(const QString &section) const
{
    QHash<QString, QString> values;
    const qsizetype header = findSection(section);
    if (header < 0)
        return values;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const Line &line = m_lines[size_t(i)];
        if (line.kind != LineKind::Key)
            continue;
        const QString name = keyIndex(line.name);
        if (!values.contains(name))
            values.insert(name, line.value);
    }
    return values;
}

QString IniFile::keyIndex(const QString &key)
{
    // QString::toCaseFolded would fold some characters into several ("ß" into "ss"), which the
    // comparison of names never does.
    const QString trimmed = key.trimmed();
    QString folded;
    folded.reserve(trimmed.size());
    const qsizetype n = trimmed.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = trimmed.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && trimmed.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), trimmed.at(++i).unicode());
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            folded += QChar(QChar::highSurrogate(c));
            folded += QChar(QChar::lowSurrogate(c));
        } else {
            folded += QChar(char16_t(c));
        }
    }
    return folded;
}

void IniFile::addSection(const QString &section)
{
    if (findSection(section) >= 0)
        return;
    if (!m_lines.empty() && !m_lines.back().text.trimmed().isEmpty())
        m_lines.push_back(Line{});
    m_lines.push_back(parseLine(u'[' % section.trimmed() % u']', false));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString keyName = key.trimmed();
    const qsizetype header = findSection(section);
    if (header < 0) {
        addSection(section);
        m_lines.push_back(parseLine(keyLineText(keyName, value), true));
        return;
    }

    const qsizetype end = sectionEnd(header);
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < end; ++i) {
        Line &line = m_lines[size_t(i)];
        if (line.kind != LineKind::Key)
            continue;
        if (sameName(line.name, keyName)) {
            // Keep the key as the file spells it.
            line = parseLine(keyLineText(line.name, value), true);
            return;
        }
        insertAt = i + 1;
    }
    m_lines.insert(m_lines.begin() + insertAt, parseLine(keyLineText(keyName, value), true));
}

void IniFile::eraseSection(const QString &section)
{
    qsizetype header = findSection(section);
    while (header >= 0) {
        const qsizetype end = sectionEnd(header);
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + end);
        header = findSection(section, header);
    }
}

QStringList IniFile::lines() const
{
    QStringList result;
    result.reserve(qsizetype(m_lines.size()));
    for (const Line &line : m_lines)
        result.append(line.text);
    return result;
}

QByteArray IniFile::encodedText() const
{
    const QString text = Text::joinLines(lines());
    if (m_utf8 || !Cp1252::canEncode(text))
        return QByteArray(kUtf8Bom) + text.toUtf8();
    return Cp1252::encode(text);
}

bool IniFile::save(QIODevice &device)
{
    m_errorString.clear();
    return writeTo(device);
}

bool IniFile::writeTo(QIODevice &device)
{
    if (!device.isWritable()) {
        raiseError(QStringLiteral("The file is not open for writing"));
        return false;
    }
    const QByteArray bytes = encodedText();
    if (device.write(bytes) != bytes.size()) {
        raiseError(device.errorString());
        return false;
    }
    return true;
}

bool IniFile::save()
{
    m_errorString.clear();
    if (m_fileName.isEmpty()) {
        raiseError(QStringLiteral("The INI file has no file name"));
        return false;
    }
    QString reason;
    if (WriteFileAtomically(m_fileName, encodedText(), &reason))
        return true;
    raiseError(QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(m_fileName), reason));
    return false;
}

void IniFile::raiseError(const QString &message)
{
    if (m_errorString.isEmpty())
        m_errorString = message.isEmpty() ? QStringLiteral("Unknown error") : message;
}
