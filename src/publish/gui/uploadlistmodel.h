#pragma once

#include <QStringList>

// The upload list's rules, apart from the list box that shows them: the files in their order, the row
// selected after a change, and what the buttons may do with the list.
class UploadListModel
{
public:
    const QStringList &files() const { return m_files; }
    void setFiles(const QStringList &files) { m_files = files; }
    // Appends a file (the same path may come twice); returns the row to select, the new one.
    int add(const QString &path);
    // Removes a row; returns the row to select afterwards (the next line moves into the removed one's
    // place, the last when the last went), -1 when the list is empty or the row was not there.
    int remove(int row);
    bool canSend(bool sending) const { return !m_files.isEmpty() && !sending; }
    bool canRemove(int selectedRow, bool sending) const
    {
        return !sending && selectedRow >= 0 && selectedRow < m_files.size();
    }

private:
    QStringList m_files;
};
