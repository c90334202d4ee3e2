#pragma once

#include <QPlainTextEdit>

// The multi-line edit box of the heading, paragraph and bullet list panels. Without
// wantReturns the Enter key is left to the window, so the text stays on one line while typed.
class TPanelMemo : public QPlainTextEdit
{
    Q_OBJECT
    Q_PROPERTY(bool wantReturns READ wantReturns WRITE setWantReturns)

public:
    explicit TPanelMemo(QWidget *parent = nullptr);

    bool wantReturns() const { return m_wantReturns; }
    void setWantReturns(bool on) { m_wantReturns = on; }

    // The text as a block stores it, with CR LF between lines.
    QString blockText() const;
    // Shows a block's text; lone CRs and LFs, as other programs write them, break lines too.
    void setBlockText(QString text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_wantReturns = true;
};
