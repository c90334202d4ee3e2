#pragma once

#include "document/pagemodel.h"
#include "forms/formmodel.h"

#include <QString>
#include <QStringView>

// The page's e-mail form: a FORM posting to the form-to-mail script, hidden fields that configure
// the script, and a table with one row per field. User text is inserted as typed.

// Host of the form-to-mail script every generated form posts to.
inline constexpr QStringView kFormMailHost = u"forms.marlowen.example";

// The whole form markup of the document's WebForm and form options.
QString BuildFormHtml(const TPagelette &doc);

// One table row: the field's text on the left, its control on the right.
QString BuildFieldRow(const TFormElement &field);

// The inputs of a radio or check-box field, each on a line of its own after a leading break.
QString BuildChoiceInputs(const TFormElement &field);

// The OPTION lines of a drop-down field, after a leading break.
QString BuildOptionList(const TFormElement &field);
