#pragma once

#include "forms/formmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

// One row of a field list: a field's name and its kind (0 to 5, a TFieldKind value).
struct TFieldEntry
{
    QString Name;
    int Kind = fkText;

    bool operator==(const TFieldEntry &) const = default;
};

// The field bank file "Fields.ini" of the program folder: the ready-made fields the user can
// pick from, the list of default fields loaded into a new form, and the choices of those
// fields. Every operation opens the file afresh, so edits made elsewhere are always seen; a
// missing file behaves like one without sections.
class FieldBank
{
public:
    static constexpr QStringView FileName = u"Fields.ini";
    static constexpr QStringView DefaultFieldsSection = u"Default Fields";
    static constexpr QStringView FieldBankSection = u"Field Bank";

    // programFolder ends in a separator.
    explicit FieldBank(const QString &programFolder);

    QString filePath() const { return m_filePath; }

    // Reads the entries "FIELD0" .. "FIELD<n-1>" of a section of n key lines. Returns false
    // and leaves the list untouched when the section does not exist (error cleared) or when
    // a kind is not a whole number (error set); entries whose kind is not 0 to 5 are skipped.
    bool LoadFieldList(const QString &section, QList<TFieldEntry> &list, QString *error = nullptr) const;
    // Replaces the section with the list as "FIELDi=name|kind"; false with error when the
    // file cannot be written.
    bool SaveFieldList(const QString &section, const QList<TFieldEntry> &list, QString *error = nullptr) const;
    // Fills strings with the choices of a section (keys section + 0, 1, ...) in the line
    // format of the kind; leaves strings unchanged when the section does not exist.
    void ReadChoices(const QString &section, int kind, QStringList &strings) const;
    // Appends to form the field that a "Default Fields" entry describes; false with error
    // when kind is not 0 to 5.
    bool CreateFieldFromEntry(TWebForm &form, const QString &name, int kind, QString *error = nullptr) const;
    // The "Default Fields" entries, as LoadFieldList reads them, each also appended to form
    // as CreateFieldFromEntry builds it. Returns false as LoadFieldList does; the form is then
    // unchanged.
    bool LoadDefaultFields(TWebForm &form, QList<TFieldEntry> &list, QString *error = nullptr) const;

    // The section holding the choices of a drop-down field: the field's own name, except for
    // the credit-card fields, which share fixed sections.
    static QString ChoiceSection(const QString &fieldName);
    // The default fields the program offers when the user resets the list.
    static QList<TFieldEntry> BuiltInDefaultFields();

private:
    static bool readFieldList(const IniFile &ini, const QString &section, QList<TFieldEntry> &list, QString *error);
    static void readChoices(const IniFile &ini, const QString &section, int kind, QStringList &strings);
    static void createField(const IniFile &ini, TWebForm &form, const QString &name, TFieldKind kind);

    QString m_filePath;
};
