#include "formmodel.h"

const std::array<QStringView, kFieldKindCount> FieldKindCaptions = {
    u"Text Box", u"Text Area", u"Radio Button", u"Check Box", u"Drop Down", u"Button",
};

const std::array<QStringView, kFieldKindCount> FieldKindNames = {
    u"TextBox", u"TextArea", u"Radio", u"CheckBox", u"DropDown", u"Button",
};

const std::array<QStringView, kFieldKindCount> FieldKindIdents = {
    u"fkText", u"fkTextArea", u"fkRadio", u"fkCheckBox", u"fkDropDown", u"fkButton",
};

void TFormElement::Assign(const TFormElement &source)
{
    FieldKind = source.FieldKind;
    Name = source.Name;
    Value = source.Value;
    Strings = source.Strings;
}
