#pragma once

#include <QString>
#include <QTreeWidget>

class QMimeData;

// A report-style list of rows whose first column carries an icon and whose rows can be dragged
// onto each other and between such lists. The list does not move rows itself: a drop of a row
// of any field list is announced, with the list it came from and the row under the mouse, and
// the window decides what it means.
class TFieldListView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TFieldListView(QWidget *parent = nullptr);
    ~TFieldListView() override;

    // What dragging a row of list carries: the list, by identity within this process.
    static QMimeData *rowDragData(const TFieldListView *list);
    // The live field list a drag started in, or nullptr for anything else.
    static TFieldListView *dragSource(const QMimeData *data);

    int rowOf(const QTreeWidgetItem *row) const { return indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(row)); }
    // The selected row, nullptr when none.
    QTreeWidgetItem *selectedRow() const;

Q_SIGNALS:
    // A row of source was dropped onto target (nullptr below the last row).
    void rowDropped(TFieldListView *source, QTreeWidgetItem *target);
    // Enter and Delete pressed in the list.
    void enterPressed();
    void deletePressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QPoint m_pressPos;
    bool m_pressedOnRow = false;
};

// A row of a field list: name, kind caption and kind icon; the kind is kept with the row.
QTreeWidgetItem *AddFieldRow(QTreeWidget *list, const QString &name, int kind, int at = -1);
int FieldRowKind(const QTreeWidgetItem *row);

// Exchanges the selected row of list with row (caption, first sub-item, icon and kind), then
// selects row and gives it the focus. Nothing happens when either is missing or they are the
// same row. Further columns stay where they are.
void ExchangeRows(QTreeWidget *list, QTreeWidgetItem *row);

// Removes the selected row unless it is the only one, which is refused with "There must be at
// least one <what>." Returns the index of the removed row, -1 when nothing was removed. After a
// removal the list's focused row, if any, becomes the selection.
int RemoveSelectedRow(QTreeWidget *list, const QString &what);
