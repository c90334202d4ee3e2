#include "uploadlistmodel.h"

int UploadListModel::add(const QString &path)
{
    m_files.append(path);
    return int(m_files.size()) - 1;
}

int UploadListModel::remove(int row)
{
    if (row < 0 || row >= m_files.size())
        return -1;
    m_files.removeAt(row);
    return m_files.isEmpty() ? -1 : qMin(row, int(m_files.size()) - 1);
}
