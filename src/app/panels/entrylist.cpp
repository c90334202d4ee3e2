#include "entrylist.h"

#include "platform/gui/listboxhrz.h"
#include "platform/textutils.h"

#include <QSignalBlocker>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QLatin1StringView kMailto = "mailto:"_L1;

} // namespace

TEntry TEntry::split(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return {QString(), line.toString()};
    return {line.left(tab).toString(), line.mid(tab + 1).toString()};
}

QString TLinkEntry::line() const
{
    QString line;
    if (email)
        line += kMailto;
    return line + address + u'\t' + text;
}

TLinkEntry TLinkEntry::fromLine(QStringView line)
{
    const bool email = line.startsWith(kMailto);
    const TEntry entry = TEntry::split(email ? line.mid(kMailto.size()) : line);
    return {entry.left, entry.right, email};
}

void TEntryList::setText(const QString &text)
{
    m_list->clearStrings();
    for (const QString &line : Text::splitLines(text))
        m_list->addString(line);
}

QString TEntryList::text() const
{
    return Text::joinLines(m_list->strings());
}

int TEntryList::count() const
{
    return m_list->count();
}

int TEntryList::selectedRow() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void TEntryList::select(int row)
{
    m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

QString TEntryList::line(int row) const
{
    return m_list->item(row)->text();
}

void TEntryList::insertAfterSelected(const QString &line)
{
    const int row = selectedRow() + 1;
    m_list->insertString(row, line);
    select(row);
}

void TEntryList::append(const QString &line)
{
    m_list->addString(line);
    select(m_list->count() - 1);
}

void TEntryList::removeSelectedOrLast()
{
    if (m_list->count() == 0)
        return;
    const int selected = selectedRow();
    const int row = selected >= 0 ? selected : m_list->count() - 1;
    {
        const QSignalBlocker blocker(m_list);
        m_list->deleteString(row);
        m_list->clearSelection();
    }
    if (selected >= 0 && m_list->count() > 0)
        select(std::min<int>(selected, m_list->count() - 1));
}

void TEntryList::removeSelected()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QSignalBlocker blocker(m_list);
    m_list->deleteString(row);
    m_list->clearSelection();
}

void TEntryList::replace(int row, const QString &line)
{
    {
        const QSignalBlocker blocker(m_list);
        m_list->deleteString(row);
        m_list->insertString(row, line);
    }
    select(row);
}

void TEntryList::swap(int from, int to)
{
    const int count = m_list->count();
    if (from < 0 || to < 0 || from >= count || to >= count || from == to)
        return;
    const QString moving = m_list->item(from)->text();
    m_list->item(from)->setText(m_list->item(to)->text());
    m_list->item(to)->setText(moving);
    select(to);
}
