#pragma once

#include "app/panels/blockpanel.h"

#include <memory>

namespace Ui {
class TFormsPanel;
}

// The Forms block: where the page's e-mail form is sent (address, subject, the page shown
// afterwards) and the list of its fields. The block itself holds nothing; all of it belongs to
// the page's form.
class TFormsPanel : public TBlockPanel
{
    Q_OBJECT

public:
    explicit TFormsPanel(QWidget *parent = nullptr);
    ~TFormsPanel() override;

    void load(const TPagelette &doc, const TPageItem &item) override;
    void commit(TPagelette &doc, TPageItem &item) override;

    // The field list: filled from the form after a file is loaded, emptied (with its buttons
    // disabled) when the Forms block is deleted.
    void fillFields(const TPagelette &doc);
    void clearFields();

private:
    std::unique_ptr<Ui::TFormsPanel> ui;
};
