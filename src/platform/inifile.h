#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

// An INI file read and written the way Windows profile files behave, so that files edited by
// hand or by older installations mean the same thing here:
// - section and key names are compared without regard to case; the first matching section,
//   and within it the first matching key, wins;
// - blanks around names and values are dropped, and a value enclosed in a pair of double
//   quotes loses them;
// - blank lines and lines starting with ";" are not keys; a line without "=" inside a section
//   is a key with an empty value; lines before the first section belong to no section.
// Writing changes the lines in memory only; save() writes the whole file, keeping every other
// line (comments included) where it was.
//
// Files are Windows-1252 text. A file starting with the UTF-8 byte order mark is read as
// UTF-8 and saved as UTF-8 again; a Windows-1252 file that receives a character the code page
// cannot hold is saved as UTF-8 with the mark, so nothing typed is lost.
class IniFile
{
public:
    IniFile() = default;
    // Loads the file; a file that does not exist reads as one without sections.
    explicit IniFile(const QString &fileName);

    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_errorString; }

    // Replaces the contents with the device's text; false when the device cannot be read.
    bool load(QIODevice &device);
    // Writes the whole text to an open device.
    bool save(QIODevice &device);
    // Writes the whole text to fileName() atomically, with CR LF line ends; on failure the
    // file on disk is left as it was.
    bool save();

    bool sectionExists(const QString &section) const;
    // Section names in file order; a later section with the name of an earlier one (which
    // reads can never reach) is not listed again.
    QStringList sections() const;
    // The key names of the section in file order, one per key line, duplicates included.
    QStringList readSection(const QString &section) const;
    QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    // Every value of the section at once, by key name folded with keyIndex(); the first of a
    // repeated key wins, as readString finds it. For reading many keys of a large section.
    QHash<QString, QString> readSectionValues(const QString &section) const;
    // The form of a key name under which readSectionValues files its value: trimmed, each
    // character folded on its own, so that names match exactly when readString matches them.
    static QString keyIndex(const QString &key);

    // Sets the first matching key in place, or appends the key after the section's last key,
    // or appends the section at the end of the file. Line breaks in the value become blanks.
    void writeString(const QString &section, const QString &key, const QString &value);
    // Appends an empty section of that name at the end of the file unless it exists already,
    // so that a section stays present even when it has no keys.
    void addSection(const QString &section);
    // Removes every section of that name with all its lines.
    void eraseSection(const QString &section);

    // All lines as they will be saved.
    QStringList lines() const;

private:
    enum class LineKind { Other, Section, Key };

    struct Line
    {
        QString text;
        LineKind kind = LineKind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed and unquoted
    };

    static Line parseLine(const QString &text, bool inSection);
    static QString keyLineText(const QString &key, const QString &value);

    // Index of the first header of the section, or -1.
    qsizetype findSection(const QString &section, qsizetype from = 0) const;
    // One past the section's last line (the next header or the end of the file).
    qsizetype sectionEnd(qsizetype header) const;
    void setText(const QString &text);
    QByteArray encodedText() const;
    bool writeTo(QIODevice &device);
    void raiseError(const QString &message);

    QString m_fileName;
    QString m_errorString;
    std::vector<Line> m_lines;
    bool m_utf8 = false;
};
