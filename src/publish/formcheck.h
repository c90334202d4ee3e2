#pragma once

#include <QString>
#include <QStringView>

inline constexpr QStringView kBuiltInFormAddressWarning =
    u"The form sends its answers to the built-in address, which cannot deliver mail. Set your own form-to-mail "
    u"script address in the form's Advanced Options.";

// The pre-publish check's warning for the page at htmlPath when it holds a form that posts to the
// built-in form-to-mail address, whose host does not exist; empty otherwise (also when the page
// cannot be read: the file check names that). A warning only: the page is still sent.
QString PrePublishFormWarning(const QString &htmlPath);
