#include "viewer/formcontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

namespace FormControls {

namespace {

using Translate::Control;

// Space between the caption of a button and its frame, on either side.
constexpr int kButtonPadding = 8;
constexpr int kFileButtonGap = 4;

QImage transparentImage(QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The widget as the style paints it, without any window background around it.
QImage grab(QWidget &widget, QSize size)
{
    widget.resize(size);
    widget.ensurePolished();
    QImage image = transparentImage(size);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QImage textBox(const Control &control, const QFont &font)
{
    QLineEdit edit;
    edit.setFont(font);
    edit.setEchoMode(control.kind == Control::Password ? QLineEdit::Password : QLineEdit::Normal);
    edit.setText(control.text);
    edit.setCursorPosition(0);
    const QFontMetrics metrics(font);
    // The size hint is 17 "x" wide plus the frame; keep the frame, count the columns in the
    // width of a digit, the average character browsers size a box by.
    const int frame = edit.sizeHint().width() - 17 * metrics.horizontalAdvance(u'x');
    const QSize size(control.columns * metrics.horizontalAdvance(u'0') + frame, edit.sizeHint().height());
    return grab(edit, size);
}

QImage button(const QString &caption, const QFont &font)
{
    QPushButton button(caption);
    button.setFont(font);
    const QFontMetrics metrics(font);
    const int frame = 2 * button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    const QSize size(metrics.horizontalAdvance(caption) + 2 * kButtonPadding + frame,
                     qMax(button.sizeHint().height(), metrics.height() + frame + 4));
    return grab(button, size);
}

QImage fileBox(const Control &control, const QFont &font)
{
    const QImage edit = textBox(control, font);
    const QImage browse = button(QStringLiteral("Browse..."), font);
    QImage image =
        transparentImage(QSize(edit.width() + kFileButtonGap + browse.width(), qMax(edit.height(), browse.height())));
    QPainter painter(&image);
    painter.drawImage(0, (image.height() - edit.height()) / 2, edit);
    painter.drawImage(edit.width() + kFileButtonGap, (image.height() - browse.height()) / 2, browse);
    return image;
}

QImage indicator(const Control &control, const QFont &font)
{
    if (control.kind == Control::Radio) {
        QRadioButton radio;
        radio.setFont(font);
        radio.setChecked(control.checked);
        return grab(radio, radio.sizeHint());
    }
    QCheckBox box;
    box.setFont(font);
    box.setChecked(control.checked);
    return grab(box, box.sizeHint());
}

QImage dropDown(const Control &control, const QFont &font)
{
    QComboBox combo;
    combo.setFont(font);
    combo.addItems(control.options.isEmpty() ? QStringList{QString()} : control.options);
    combo.setCurrentIndex(qBound(0, control.current, int(combo.count()) - 1));
    return grab(combo, combo.sizeHint());
}

QImage listBox(const Control &control, const QFont &font)
{
    QListWidget list;
    list.setFont(font);
    list.addItems(control.options);
    if (control.current >= 0 && control.current < list.count())
        list.setCurrentRow(control.current);
    const bool scrolls = list.count() > control.rows;
    list.setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics(font);
    const int frame = 2 * list.frameWidth();
    const int rowHeight = list.count() > 0 ? list.sizeHintForRow(0) : metrics.height();
    int width = metrics.averageCharWidth() * 4;
    for (const QString &option : control.options)
        width = qMax(width, metrics.horizontalAdvance(option));
    width += frame + 2 * kButtonPadding;
    if (scrolls)
        width += list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    return grab(list, QSize(width, control.rows * rowHeight + frame));
}

QImage textArea(const Control &control, const QFont &fixedFont)
{
    QPlainTextEdit edit;
    edit.setFont(fixedFont);
    edit.setPlainText(control.text);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics(fixedFont);
    const int margins = 2 * edit.frameWidth() + 2 * qRound(edit.document()->documentMargin());
    const int scrollBar = edit.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &edit);
    const QSize size(control.columns * metrics.horizontalAdvance(u'0') + margins + scrollBar,
                     control.rows * metrics.lineSpacing() + margins);
    return grab(edit, size);
}

} // namespace

QPixmap draw(const Control &control, const QFont &font, const QFont &fixedFont)
{
    QImage image;
    switch (control.kind) {
    case Control::TextBox:
    case Control::Password:
        image = textBox(control, font);
        break;
    case Control::FileBox:
        image = fileBox(control, font);
        break;
    case Control::CheckBox:
    case Control::Radio:
        image = indicator(control, font);
        break;
    case Control::Button:
        image = button(control.text, font);
        break;
    case Control::DropDown:
        image = dropDown(control, font);
        break;
    case Control::ListBox:
        image = listBox(control, font);
        break;
    case Control::TextArea:
        image = textArea(control, fixedFont);
        break;
    }
    return QPixmap::fromImage(image);
}

} // namespace FormControls
