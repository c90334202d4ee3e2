#pragma once

#include "app/panels/blockpanel.h"
#include "app/panels/entrylist.h"
#include "platform/gui/rowdrag.h"

#include <memory>

class QMimeData;

namespace Ui {
class TLinkPanel;
}

// A link block: one link (address and text), or with "Use Drop Box" a list of links that the
// page shows as a drop-down list. The address and text boxes then edit the list's entries;
// the entries change places by drag and drop.
class TLinkPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TLinkPanel(QWidget *parent = nullptr);
    ~TLinkPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TBlockEdit &edit) override;

    // What dragging an entry of the link list carries; the list takes drops of nothing else.
    static QMimeData *linkDragData(const QWidget *list);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateDropBoxControls();
    void updateEntryButtons();
    TLinkEntry editedEntry() const;
    void addEntry();
    void removeEntry();
    void editEntry();
    void applyEdit();
    // Drag and drop inside the list; true when the event was handled.
    bool listEvent(QEvent *event);
    TEntryList entries() const;

    std::unique_ptr<Ui::TLinkPanel> ui;
    RowDrag::Tracker m_rowDrag;
};
