#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// The per-user settings store. Keys keep the paths, value names and value texts the program
// has always used below "Software\Marlowen Software\HTML Brisko4\"; every value is stored as
// text, numbers as decimal text. Sub-keys are written with "/" here ("Position",
// "Profiles/My Server"); an empty sub-key is the program's key itself.
class SettingsStore
{
public:
    // The store of the current user (a QSettings INI file in the user's configuration folder).
    static SettingsStore &instance();
    // Tests: from now on instance() uses the INI file at path instead of the user's store.
    static void useFile(const QString &path);

    QString readString(const QString &subKey, const QString &name, const QString &defaultValue = {}) const;
    // The value as a decimal number; defaultValue when it is absent or not a number.
    int readInteger(const QString &subKey, const QString &name, int defaultValue) const;
    bool valueExists(const QString &subKey, const QString &name) const;
    // A value another program keeps below the user's root, e.g. key "Software/Netscape/Netscape
    // Navigator/Main"; read only, empty when absent.
    QString readOtherProgramString(const QString &key, const QString &name) const;
    void writeString(const QString &subKey, const QString &name, const QString &value);
    void writeInteger(const QString &subKey, const QString &name, int value);
    // The names of the sub-keys directly below subKey, e.g. the profile names below "Profiles".
    QStringList subKeys(const QString &subKey) const;
    void deleteSubKey(const QString &subKey);
    // Writes pending changes; false with the reason when the store cannot be written.
    bool sync(QString *error = nullptr);

    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

private:
    QString path(const QString &subKey, const QString &name) const;
    std::unique_ptr<QSettings> m_settings;
};
