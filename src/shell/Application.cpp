#include "Application.h"

#include "FatalErrors.h"

Application::Application(int &argc, char **argv, FatalErrorReporter &reporter)
    : QApplication(argc, argv)
{
    FatalErrors::install(&reporter);
}

Application::~Application()
{
    FatalErrors::install(nullptr);
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    // The last resort for a handler that does not guard itself.
    bool handled = true;
    FatalErrors::guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
