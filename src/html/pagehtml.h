#pragma once

#include "document/pagemodel.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Where the generated page will live, and so how its pictures are addressed.
enum TPathMode : quint8 {
    pmPreview,  // the embedded viewer: absolute paths below the program folder
    pmRelative, // a page file one folder below the program folder
    pmUpload,   // the published page, with its pictures beside it
};

// The maker's web address (head comment and logo banner) and the banner picture.
inline constexpr QStringView kMakerAddress = u"http://www.marlowen.example/";
inline constexpr QStringView kBannerAddress = u"http://www.marlowen.example/images/brisko-banner.gif";

// The page as single lines; a file holds each of them followed by CR LF. programFolder ends with
// a separator and is only used by pmPreview; any other pathMode than the three above writes no
// picture addresses. An empty document gives no lines. On failure (an IndentMargin other than "0"
// that is not a whole number, a font description that does not convert) returns no lines and
// sets *error.
QStringList BuildPageHtml(const TPagelette &doc, quint8 pathMode, bool showLogo, const QString &programFolder,
                          QString *error = nullptr);
// The same, with the page's form posting to formAction (see BuildFormHtml).
QStringList BuildPageHtml(const TPagelette &doc, quint8 pathMode, bool showLogo, const QString &programFolder,
                          const QString &formAction, QString *error);

// The theme the page was last given; the main window selects it in its theme list (ignoring case)
// after generating. Empty for an empty document.
QString PageThemeName(const TPagelette &doc);
