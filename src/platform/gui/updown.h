#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// An up-down control beside an edit box. The arrow buttons, and the Up and Down keys in the
// edit, step the position by increment between minimum and maximum (no wrap), write it into the
// edit and report stepped(); setting the position in code only shows it. Like the platform's
// control it reads the edit before each step and whenever asked for its position, for an edit
// the user may type into: digits within the range are the position, larger numbers give the
// maximum, and text that is no number leaves the last position. Of the keys that type
// something, the edit takes only digits and backspace, and nothing is pasted. Beside a
// read-only edit it simply steps what it shows.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit TUpDown(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    void setIncrement(int increment) { m_increment = increment; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int increment() const { return m_increment; }

    // The position as the edit shows it now.
    int position() const;
    // Kept within the range and written into the edit.
    void setPosition(int value);

    void setAssociate(QLineEdit *edit);

    // One step up (positive) or down, as a click on an arrow does.
    void step(int direction);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    // The user stepped the position.
    void stepped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_associate = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_position = 0;
};
