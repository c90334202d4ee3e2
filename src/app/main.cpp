#include "app/application.h"
#include "art/art.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "platform/version.h"

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(argc, argv, u"Marlowen HTML Brisko",
                                                  u"usage: brisko [FILE]\n"
                                                  u"Starts the web-page builder and opens FILE, a project (.mbe) or a "
                                                  u"template (.mbt), when given."))
        return *answered;
    TBriskoApplication app(argc, argv);
    TBriskoApplication::setApplicationName(kApplicationTitle.toString());
    TBriskoApplication::setWindowIcon(Art::applicationIcon());
    return RunBrisko(app, TBriskoApplication::arguments().mid(1), QString());
}
