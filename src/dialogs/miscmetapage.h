#pragma once

#include <QFrame>

#include <memory>

namespace Ui {
class TMiscMetaPage;
}

// The meta tag page of the font, bookmark and meta tag dialog: one meta tag's name, chosen
// from the names the page offers, and its content.
class TMiscMetaPage : public QFrame
{
    Q_OBJECT

public:
    explicit TMiscMetaPage(QWidget *parent = nullptr);
    ~TMiscMetaPage() override;

    // The chosen name, empty when none is selected.
    QString metaName() const;
    // Selects name among the choices ignoring case. A name they do not offer is added for this
    // edit, so that OK keeps it; an empty name selects nothing.
    void setMetaName(const QString &name);
    QString metaContent() const;
    void setMetaContent(const QString &content);

    // Puts the focus on the content.
    void prepare();

Q_SIGNALS:
    void metaContentChanged();

private:
    std::unique_ptr<Ui::TMiscMetaPage> ui;
};
