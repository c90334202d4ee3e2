#pragma once

#include "publish/serverprofiles.h"

#include <QWidget>

#include <memory>

class QLineEdit;
namespace Ui {
class TProfileEditor;
}

// The profile editor panel (pnlProfiles): the fields of one server profile, their key filters and the
// check of what was pasted. It neither reads nor writes the store.
class TProfileEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHelpName = 57;
    static constexpr int kHelpUser = 58;
    static constexpr int kHelpPort = 59;
    static constexpr int kHelpFolder = 60;
    static constexpr int kHelpHost = 61;
    static constexpr int kHelpPassword = 62;

    explicit TProfileEditor(QWidget *parent = nullptr);
    ~TProfileEditor() override;

    // Every edit box emptied, the port at "21".
    void clear();
    void load(const ServerProfile &profile);
    // The typed values; what the editor does not show (trusted key, consent) comes from base.
    ServerProfile profile(const ServerProfile &base = {}) const;
    // Why the typed profile cannot be stored, with the box to put the focus in; empty when it can.
    QString problem(QLineEdit **focus) const;
    QLineEdit *nameEdit() const;

Q_SIGNALS:
    void nameChanged(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TProfileEditor> ui;
};
