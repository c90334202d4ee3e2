#include "fieldbank.h"

#include "platform/inifile.h"
#include "platform/textutils.h"

namespace {

constexpr QStringView kFieldKeyPrefix = u"FIELD";

bool isKindDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() < u'0' + kFieldKindCount;
}

bool isValidKind(int kind)
{
    return kind >= 0 && kind < kFieldKindCount;
}

QString invalidKindMessage(int kind)
{
    return QStringLiteral("%1 is not a valid form field kind").arg(kind);
}

} // namespace

FieldBank::FieldBank(const QString &programFolder) : m_filePath(programFolder + FileName) {}

bool FieldBank::readFieldList(const IniFile &ini, const QString &section, QList<TFieldEntry> &list, QString *error)
{
    if (error)
        error->clear();
    if (!ini.sectionExists(section))
        return false;

    // Keys are looked up by number, so a gap ends nothing and keys numbered at or beyond the
    // section's line count are never read.
    // The section is read once: looking each key up in the file would take time growing with
    // the square of its length.
    const qsizetype count = ini.readSection(section).size();
    const QHash<QString, QString> values = ini.readSectionValues(section);
    QList<TFieldEntry> entries;
    for (qsizetype i = 0; i < count; ++i) {
        const QString value = values.value(IniFile::keyIndex(kFieldKeyPrefix % QString::number(i)));
        const QString kindText = AfterBar(value);
        if (kindText.isEmpty() || !isKindDigit(kindText.front()))
            continue;
        const auto kind = Text::toInt(kindText, error);
        if (!kind)
            return false;
        // A kind such as "59" starts with a good digit but names no kind there is.
        if (!isValidKind(*kind))
            continue;
        entries.append({BeforeBar(value), *kind});
    }
    list = entries;
    return true;
}

bool FieldBank::LoadFieldList(const QString &section, QList<TFieldEntry> &list, QString *error) const
{
    return readFieldList(IniFile(m_filePath), section, list, error);
}

bool FieldBank::SaveFieldList(const QString &section, const QList<TFieldEntry> &list, QString *error) const
{
    IniFile ini(m_filePath);
    ini.eraseSection(section);
    // An empty list is still a list: the section stays, so that it reads back empty.
    ini.addSection(section);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const TFieldEntry &entry = list.at(i);
        ini.writeString(section, kFieldKeyPrefix % QString::number(i), entry.Name % u'|' % QString::number(entry.Kind));
    }
    if (ini.save())
        return true;
    if (error)
        *error = ini.errorString();
    return false;
}

void FieldBank::readChoices(const IniFile &ini, const QString &section, int kind, QStringList &strings)
{
    if (!ini.sectionExists(section))
        return;
    strings.clear();
    const qsizetype count = ini.readSection(section).size();
    const QHash<QString, QString> values = ini.readSectionValues(section);
    for (qsizetype i = 0; i < count; ++i) {
        const QString value = values.value(IniFile::keyIndex(section % QString::number(i)));
        if (value.isEmpty())
            continue;
        if (kind == fkRadio || kind == fkCheckBox) {
            const qsizetype bar = value.indexOf(u'|');
            if (bar < 0)
                continue;
            // "m|Male" has no flag part: it becomes "m||Male", a choice with an empty text.
            const QString rest = value.mid(bar + 1);
            strings.append(value.left(bar) % u'|' % BeforeBar(rest) % u'|' % AfterBar(rest));
        } else if (kind == fkDropDown) {
            strings.append(BeforeBar(value) % u'|' % AfterBar(value));
        }
    }
}

void FieldBank::ReadChoices(const QString &section, int kind, QStringList &strings) const
{
    readChoices(IniFile(m_filePath), section, kind, strings);
}

void FieldBank::createField(const IniFile &ini, TWebForm &form, const QString &name, TFieldKind kind)
{
    TFormElement &element = form.Add();
    element.FieldKind = kind;
    element.Name = name;
    element.Text = name;
    switch (kind) {
    case fkText:
        element.Strings = {QStringLiteral("Size=30"), QStringLiteral("Maxlength=100")};
        break;
    case fkTextArea:
        element.Strings = {QStringLiteral("Cols=30"), QStringLiteral("Rows=15")};
        break;
    case fkRadio:
    case fkCheckBox:
        readChoices(ini, name, kind, element.Strings);
        break;
    case fkDropDown:
        readChoices(ini, ChoiceSection(name), kind, element.Strings);
        break;
    case fkButton:
        break;
    }
}

bool FieldBank::CreateFieldFromEntry(TWebForm &form, const QString &name, int kind, QString *error) const
{
    if (!isValidKind(kind)) {
        if (error)
            *error = invalidKindMessage(kind);
        return false;
    }
    createField(IniFile(m_filePath), form, name, TFieldKind(kind));
    return true;
}

bool FieldBank::LoadDefaultFields(TWebForm &form, QList<TFieldEntry> &list, QString *error) const
{
    const IniFile ini(m_filePath);
    if (!readFieldList(ini, DefaultFieldsSection.toString(), list, error))
        return false;
    for (const TFieldEntry &entry : std::as_const(list))
        createField(ini, form, entry.Name, TFieldKind(entry.Kind));
    return true;
}

QString FieldBank::ChoiceSection(const QString &fieldName)
{
    if (fieldName == u"Credit Card Type")
        return QStringLiteral("CREDIT");
    if (fieldName == u"Credit Card Exp Year")
        return QStringLiteral("YEAR");
    if (fieldName == u"Credit Card Exp Month")
        return QStringLiteral("MONTH");
    return fieldName;
}

QList<TFieldEntry> FieldBank::BuiltInDefaultFields()
{
    return {
        {QStringLiteral("Name"), fkText},      {QStringLiteral("E-Mail"), fkText},
        {QStringLiteral("Address"), fkText},   {QStringLiteral("City"), fkText},
        {QStringLiteral("State"), fkDropDown}, {QStringLiteral("Zip Code/Postal Code"), fkText},
    };
}
