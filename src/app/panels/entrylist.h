#pragma once

#include <QString>

class TListBoxHrz;

// One row of a two-column entry list (drop-box links, meta tags): the left column, a TAB and
// the right column.
struct TEntry
{
    QString left;
    QString right;

    QString line() const { return left + u'\t' + right; }
    // Splits at the first TAB, as the page generator reads the line: without one, the whole
    // line is the right column.
    static TEntry split(QStringView line);
};

// A drop-box link as its list row holds it: "mailto:" before the address of an e-mail link.
struct TLinkEntry
{
    QString address;
    QString text;
    bool email = false;

    QString line() const;
    static TLinkEntry fromLine(QStringView line);
};

// The editing of a two-column entry list, on the list box itself: a block stores its rows as
// text, each row followed by CR LF. Rows are changed through here so that the list's scroll
// extent and selection stay right.
class TEntryList
{
public:
    explicit TEntryList(TListBoxHrz *list) : m_list(list) {}

    // The rows of a block's text, and back.
    void setText(const QString &text);
    QString text() const;

    int count() const;
    // The selected row, -1 when none.
    int selectedRow() const;
    void select(int row);
    // The text of row.
    QString line(int row) const;

    // Inserts line after the selected row (at the top when none is selected) and selects it.
    void insertAfterSelected(const QString &line);
    // Appends line and selects it.
    void append(const QString &line);
    // Removes the selected row, or the last one when none is selected; the row that moves into
    // the removed one's place is selected.
    void removeSelectedOrLast();
    // Removes the selected row, if any; afterwards none is selected.
    void removeSelected();
    // Puts line in place of row, which is selected.
    void replace(int row, const QString &line);
    // Rows from and to change places; to is selected. Rows out of range change nothing.
    void swap(int from, int to);

private:
    TListBoxHrz *m_list;
};
