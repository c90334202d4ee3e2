#include "settingsstore.h"

#include "textutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The program's key below the user's root. QSettings escapes spaces and every other special
// character of a group or value name in the file and restores them on reading, so names
// round-trip exactly; "/" is the only character that cannot be part of a name.
constexpr QStringView kProgramKey = u"Software/Marlowen Software/HTML Brisko4";

std::unique_ptr<SettingsStore> &storeSlot()
{
    static std::unique_ptr<SettingsStore> store;
    return store;
}

QString joinPath(const QString &subKey, const QString &name)
{
    QString key = kProgramKey.toString();
    if (!subKey.isEmpty())
        key += u'/' + subKey;
    if (!name.isEmpty())
        key += u'/' + name;
    return key;
}

// Registry numbers are plain decimal text: blanks, a sign and digits, nothing else.
bool isDecimalText(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        ++i;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return false;
    }
    return true;
}

} // namespace

SettingsStore &SettingsStore::instance()
{
    auto &store = storeSlot();
    if (!store) {
        // The file QSettings would use for this organisation and application, opened by name so
        // that no system-wide fallback file is ever consulted.
        const QSettings user(QSettings::IniFormat, QSettings::UserScope, u"Marlowen Software"_s, u"HTML Brisko4"_s);
        store = std::make_unique<SettingsStore>(user.fileName());
    }
    return *store;
}

void SettingsStore::useFile(const QString &path)
{
    auto &store = storeSlot();
    if (store) {
        // Keep the object, so references taken from instance() earlier stay valid.
        store->m_settings->sync();
        store->m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    } else {
        store = std::make_unique<SettingsStore>(path);
    }
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::path(const QString &subKey, const QString &name) const
{
    return joinPath(subKey, name);
}

QString SettingsStore::readString(const QString &subKey, const QString &name, const QString &defaultValue) const
{
    const QVariant value = m_settings->value(path(subKey, name));
    if (!value.isValid())
        return defaultValue;
    // A line edited by hand with an unquoted comma reads as a list; the store only holds text.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

int SettingsStore::readInteger(const QString &subKey, const QString &name, int defaultValue) const
{
    const QString text = readString(subKey, name);
    if (!isDecimalText(text))
        return defaultValue;
    return Text::toInt(text).value_or(defaultValue);
}

bool SettingsStore::valueExists(const QString &subKey, const QString &name) const
{
    return m_settings->contains(path(subKey, name));
}

QString SettingsStore::readOtherProgramString(const QString &key, const QString &name) const
{
    const QVariant value = m_settings->value(key + u'/' + name);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::writeString(const QString &subKey, const QString &name, const QString &value)
{
    m_settings->setValue(path(subKey, name), value);
}

void SettingsStore::writeInteger(const QString &subKey, const QString &name, int value)
{
    writeString(subKey, name, QString::number(value));
}

QStringList SettingsStore::subKeys(const QString &subKey) const
{
    m_settings->beginGroup(path(subKey, {}));
    const QStringList groups = m_settings->childGroups();
    m_settings->endGroup();
    return groups;
}

void SettingsStore::deleteSubKey(const QString &subKey)
{
    m_settings->remove(path(subKey, {}));
}

bool SettingsStore::sync(QString *error)
{
    // Server profiles can keep their passwords here: a new file is its owner's alone from its first byte, and
    // the settings library keeps the mode of the file it replaces.
    QDir().mkpath(QFileInfo(m_settings->fileName()).absolutePath());
    const QByteArray name = QFile::encodeName(m_settings->fileName());
    if (const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); fd >= 0)
        ::close(fd);
    m_settings->sync();
    switch (m_settings->status()) {
    case QSettings::NoError:
        if (QFile::exists(m_settings->fileName()))
            QFile::setPermissions(m_settings->fileName(), QFile::ReadOwner | QFile::WriteOwner);
        return true;
    case QSettings::AccessError:
        if (error)
            *error = u"The settings file \"%1\" cannot be written."_s.arg(m_settings->fileName());
        return false;
    case QSettings::FormatError:
        if (error)
            *error = u"The settings file \"%1\" is not a valid INI file."_s.arg(m_settings->fileName());
        return false;
    }
    return false;
}
