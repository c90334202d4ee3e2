// libFuzzer target: the INI layer under "Fields.ini" and Internet shortcut files. Any bytes read;
// saving and reading again gives the same lines, sections and values; a section read at once
// agrees with reading its keys one by one; a value written reads back as written.
#include "fuzzsupport.h"

#include "platform/inifile.h"

#include <QBuffer>

namespace {

QByteArray saved(IniFile &ini)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    FUZZ_CHECK(ini.save(buffer));
    return bytes;
}

void load(IniFile &ini, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    FUZZ_CHECK(ini.load(buffer));
}

void checkSameContent(const IniFile &a, const IniFile &b)
{
    FUZZ_CHECK(a.lines() == b.lines());
    FUZZ_CHECK(a.sections() == b.sections());
    for (const QString &section : a.sections()) {
        const QStringList keys = a.readSection(section);
        FUZZ_CHECK(keys == b.readSection(section));
        const QHash<QString, QString> values = a.readSectionValues(section);
        for (const QString &key : keys) {
            const QString value = a.readString(section, key);
            FUZZ_CHECK(value == b.readString(section, key));
            FUZZ_CHECK(values.value(IniFile::keyIndex(key)) == value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniFile ini;
    load(ini, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)ini.readString(QStringLiteral("InternetShortcut"), QStringLiteral("URL"));

    const QByteArray first = saved(ini);
    IniFile reread;
    load(reread, first);
    checkSameContent(ini, reread);
    FUZZ_CHECK(saved(reread) == first);

    // The last line of the file as a value of the first key: line breaks become blanks, all else
    // reads back exactly, quotes and outer blanks included.
    const QStringList sections = ini.sections();
    const QStringList lines = ini.lines();
    if (sections.isEmpty() || lines.isEmpty())
        return 0;
    const QStringList keys = ini.readSection(sections.front());
    const QString key = keys.isEmpty() ? QStringLiteral("Key") : keys.front();
    QString value = lines.back() + u'\n' + lines.front();
    ini.writeString(sections.front(), key, value);
    value.replace(u'\n', u' ');
    FUZZ_CHECK(ini.readString(sections.front(), key) == value);
    IniFile written;
    load(written, saved(ini));
    FUZZ_CHECK(written.readString(sections.front(), key) == value);
    return 0;
}
