#pragma once

#include <QDialog>
#include <QRandomGenerator>
#include <QStringList>

#include <memory>

namespace Ui {
class TfrmTips;
}

// The tip of the day: one line of "Tips.txt" at a time, picked at random. The last line of the
// file is never shown (the picker's range ends one line short of it), so the file ends with a
// closing line. Closing the dialog in any way stores "Show at startup" as "TipDay".
class TfrmTips : public QDialog
{
    Q_OBJECT

public:
    // Reads the tips from programFolder (which ends with "/"); showTips checks "Show at startup".
    TfrmTips(const QString &programFolder, bool showTips, QWidget *parent = nullptr);
    ~TfrmTips() override;

    // Whether "Show at startup" is checked; stored as "TipDay" ("1" or "0") when the dialog closes.
    bool showTips() const;
    QString currentTip() const;

    // Tests: the picker draws from generator from now on.
    void setRandomGenerator(QRandomGenerator generator);

    void done(int result) override;

private:
    void showNextTip();

    std::unique_ptr<Ui::TfrmTips> ui;
    QStringList m_tips;
    int m_lastIndex = 0; // the picker's range is 0 to m_lastIndex - 1 (just 0 when that is empty)
    QRandomGenerator m_random;
};
