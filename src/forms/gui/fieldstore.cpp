// Loading a form field into the field dialog and storing the dialog back into the form.
#include "fieldsdialog.h"

#include "platform/textutils.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

QString StringsValue(const QStringList &strings, QStringView name)
{
    for (const QString &line : strings) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return {};
}

void SetStringsValue(QStringList &strings, QStringView name, const QString &value)
{
    const QString line = name.toString() + u'=' + value;
    for (QString &existing : strings) {
        const qsizetype eq = existing.indexOf(u'=');
        if (eq >= 0 && QStringView(existing).left(eq).compare(name, Qt::CaseInsensitive) == 0) {
            existing = line;
            return;
        }
    }
    strings.append(line);
}

QStringList OtherFieldNames(const TWebForm &form, int except)
{
    QStringList names;
    for (int i = 0; i < form.Count(); ++i) {
        if (i != except)
            names.append(form.Items(i)->Name);
    }
    return names;
}

void FillFieldDialog(TfrmFields &dialog, const TFormElement &element)
{
    dialog.txtName->setText(element.Name);
    dialog.txtValue->setText(element.Value);
    QString text = element.Text;
    text.replace(u"\r\n"_s, u"\n"_s);
    dialog.txtText->setPlainText(text);
    switch (element.FieldKind) {
    case fkText:
        dialog.cbSize->setCurrentText(StringsValue(element.Strings, u"Size"));
        break;
    case fkTextArea:
        dialog.txtCols->setText(StringsValue(element.Strings, u"Cols"));
        dialog.txtRows->setText(StringsValue(element.Strings, u"Rows"));
        break;
    case fkRadio:
    case fkCheckBox:
        for (const QString &line : element.Strings) {
            const qsizetype bar = line.indexOf(u'|');
            if (bar < 0)
                continue;
            const QString rest = line.mid(bar + 1);
            dialog.addChoiceRow(line.left(bar), BeforeBar(rest), AfterBar(rest));
        }
        break;
    case fkDropDown:
        for (const QString &line : element.Strings)
            dialog.addChoiceRow(BeforeBar(line), AfterBar(line), QString());
        dialog.RefreshSample();
        break;
    case fkButton:
        break;
    }
}

void StoreFieldDialog(const TfrmFields &dialog, TFieldKind kind, TFormElement &element)
{
    switch (kind) {
    case fkText:
        SetStringsValue(element.Strings, u"Size", dialog.cbSize->currentText());
        break;
    case fkTextArea:
        SetStringsValue(element.Strings, u"Cols", dialog.txtCols->text());
        SetStringsValue(element.Strings, u"Rows", dialog.txtRows->text());
        break;
    case fkRadio:
    case fkCheckBox:
        element.Strings.clear();
        for (const TfrmFields::Choice &choice : dialog.choices())
            element.Strings.append(choice.value + u'|' + choice.text + u'|' + choice.flag);
        break;
    case fkDropDown:
        element.Strings.clear();
        for (const TfrmFields::Choice &choice : dialog.choices())
            element.Strings.append(choice.value + u'|' + choice.text);
        break;
    case fkButton:
        break;
    }
    element.FieldKind = kind;
    element.Text = dialog.txtText->toPlainText().replace(u'\n', u"\r\n"_s);
    element.Name = dialog.txtName->text();
    element.Value = dialog.txtValue->text();
}
