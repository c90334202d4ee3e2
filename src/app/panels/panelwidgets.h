#pragma once

#include <QPlainTextEdit>
#include <QWidget>

class QLineEdit;
class QToolButton;

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

// An up-down control: two arrow buttons that step a position from minimum to maximum by
// increment and write it into their associate, a read-only edit box beside them. The arrow
// keys in the associate step as well. clicked() follows every step the user makes; setting the
// position in code only shows it.
class TPanelUpDown : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int increment READ increment WRITE setIncrement)
    Q_PROPERTY(int position READ position WRITE setPosition)

public:
    explicit TPanelUpDown(QWidget *parent = nullptr);

    int minimum() const { return m_minimum; }
    void setMinimum(int value);
    int maximum() const { return m_maximum; }
    void setMaximum(int value);
    int increment() const { return m_increment; }
    void setIncrement(int value) { m_increment = value; }

    int position() const { return m_position; }
    // Kept within minimum and maximum.
    void setPosition(int value);

    void setAssociate(QLineEdit *edit);

    // One step up (positive) or down, as a click on an arrow does.
    void step(int direction);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPosition();

    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_associate = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_position = 0;
};
