#pragma once

#include <QListWidget>

// A list box whose horizontal scroll extent fits its longest row: after a row is added the
// extent grows to the row's text followed by "XX" plus the tab width when it was smaller;
// after a row is removed or the font changes it is recomputed from all rows; an emptied list
// has extent 0. Rows are changed through the methods below so the extent stays right.
class TListBoxHrz : public QListWidget
{
    Q_OBJECT
    Q_PROPERTY(int CurrentWidth READ CurrentWidth WRITE setCurrentWidth)

public:
    explicit TListBoxHrz(QWidget *parent = nullptr);

    int CurrentWidth() const;
    void setCurrentWidth(int width);

    void addString(const QString &text);
    void insertString(int row, const QString &text);
    void deleteString(int row);
    void clearStrings();
    QStringList strings() const;
    // The distance between tab stops, in pixels, also used in the extent.
    int tabWidth() const;
    // The same distance in dialog units (a quarter of the average character width); 32 unless
    // set.
    int tabStopUnits() const;
    void setTabStopUnits(int units);

    // The width of text in the list's font with its tab stops, and of a row's text followed by
    // "XX" as the extent rules measure it.
    int textWidth(const QString &text) const;
    int rowWidth(const QString &text) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void growFor(const QString &text);
    void recomputeWidth();

    int m_currentWidth = 0;
    int m_tabStopUnits = 32;
};
