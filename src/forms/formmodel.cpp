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

TFormElement *TWebForm::Items(int index)
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

const TFormElement *TWebForm::Items(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

TFormElement &TWebForm::Add()
{
    m_items.push_back(std::make_unique<TFormElement>());
    return *m_items.back();
}

bool TWebForm::Delete(int index)
{
    if (index < 0 || index >= Count())
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

bool TWebForm::MoveField(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        return false;
    auto item = std::move(m_items[size_t(from)]);
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, std::move(item));
    return true;
}

TWebForm::TWebForm(const TWebForm &other)
{
    *this = other;
}

TWebForm &TWebForm::operator=(const TWebForm &other)
{
    if (this == &other)
        return *this;
    m_items.clear();
    m_items.reserve(other.m_items.size());
    for (const auto &item : other.m_items)
        m_items.push_back(std::make_unique<TFormElement>(*item));
    return *this;
}

bool TWebForm::operator==(const TWebForm &other) const
{
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        if (!(*m_items[size_t(i)] == *other.m_items[size_t(i)]))
            return false;
    }
    return true;
}
