#include "app/application.h"
#include "art/art.h"
#include "app/mainwindow.h"
#include "app/startup.h"

int main(int argc, char *argv[])
{
    TBriskoApplication app(argc, argv);
    TBriskoApplication::setApplicationName(kApplicationTitle.toString());
    TBriskoApplication::setWindowIcon(Art::applicationIcon());
    return RunBrisko(app, TBriskoApplication::arguments().mid(1), QString());
}
