// libFuzzer target: any bytes as "Fields.ini". Each field list reads as looking its keys up one by
// one in the file would read it; a list saved and read again is the same list, and saving one
// list leaves the other alone; default fields become form fields whatever their choices hold.
#include "fuzzsupport.h"

#include "forms/fieldbank.h"
#include "platform/inifile.h"
#include "platform/textutils.h"

namespace {

struct Read
{
    bool ok = false;
    QList<TFieldEntry> list;
    bool operator==(const Read &) const = default;
};

Read load(const FieldBank &bank, const QString &section)
{
    Read read;
    QString error;
    read.ok = bank.LoadFieldList(section, read.list, &error);
    return read;
}

// The list as reading every key on its own finds it, the way the file's format defines it.
Read loadKeyByKey(const QString &path, const QString &section)
{
    const IniFile ini(path);
    Read read;
    if (!ini.sectionExists(section))
        return read;
    const qsizetype count = ini.readSection(section).size();
    for (qsizetype i = 0; i < count; ++i) {
        const QString value = ini.readString(section, u"FIELD" + QString::number(i));
        const QString kindText = AfterBar(value);
        if (kindText.isEmpty() || kindText.front() < u'0' || kindText.front() > u'5')
            continue;
        const std::optional<qint32> kind = Text::toInt(kindText);
        if (!kind)
            return {};
        if (*kind >= 0 && *kind < kFieldKindCount)
            read.list.append({BeforeBar(value), *kind});
    }
    read.ok = true;
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FieldBank bank(Fuzz::scratchFolder());
    Fuzz::writeFile(bank.filePath(), QByteArrayView(data, qsizetype(size)));
    const QString sections[] = {FieldBank::DefaultFieldsSection.toString(), FieldBank::FieldBankSection.toString()};

    Read first[2];
    for (int s = 0; s < 2; ++s) {
        first[s] = load(bank, sections[s]);
        FUZZ_CHECK(first[s] == loadKeyByKey(bank.filePath(), sections[s]));
    }

    TWebForm form;
    QList<TFieldEntry> defaults;
    if (bank.LoadDefaultFields(form, defaults))
        FUZZ_CHECK(form.Count() == defaults.size() && defaults == first[0].list);

    for (int s = 0; s < 2; ++s) {
        if (!first[s].ok)
            continue;
        if (!bank.SaveFieldList(sections[s], first[s].list))
            return 0; // a file that cannot be written, such as a folder of that name
        for (int other = 0; other < 2; ++other)
            FUZZ_CHECK(load(bank, sections[other]) == first[other]);
    }
    return 0;
}
