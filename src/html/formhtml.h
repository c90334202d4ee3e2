#pragma once

#include "document/pagemodel.h"
#include "forms/formmodel.h"

#include <QString>
#include <QStringView>

// The page's e-mail form: a FORM posting to the form-to-mail script, hidden fields that configure
// the script, and a table with one row per field. User text is inserted as typed.

// Host of the form-to-mail script every generated form posts to unless the user names another.
inline constexpr QStringView kFormMailHost = u"forms.marlowen.example";

// The user's own form-to-mail script: a value of the program's settings key, empty for the
// built-in one.
inline constexpr QStringView kFormActionSetting = u"FormAction";

// Whether address can stand as a form's ACTION: an "http://" or "https://" address with a host
// and nothing that would end the attribute or the tag (quotes, blanks, angle brackets).
bool IsFormActionAddress(const QString &address);

// The address the form posts to: custom when it is a form action address, else the built-in one.
QString FormActionAddress(const QString &custom);

// The address stored as the FormAction setting, as FormActionAddress would use it; empty when
// none is set.
QString StoredFormAction();

// The whole form markup of the document's WebForm and form options, posting to action (the
// built-in script when action is empty or no form action address).
QString BuildFormHtml(const TPagelette &doc, const QString &action = {});

// The name a field's input carries in the page: lower case, spaces as "_". Two fields whose
// names give the same text overwrite each other's answers when the form is sent.
QString FieldInputName(const QString &name);

// One table row: the field's text on the left, its control on the right.
QString BuildFieldRow(const TFormElement &field);

// The inputs of a radio or check-box field, each on a line of its own after a leading break.
QString BuildChoiceInputs(const TFormElement &field);

// The OPTION lines of a drop-down field, after a leading break.
QString BuildOptionList(const TFormElement &field);
