#include "Application.h"

#include "DataError.h"
#include "Seams.h"

#include <cstdlib>

Application::Application(int &argc, char **argv, FatalErrorReporter &reporter)
    : QApplication(argc, argv), m_reporter(reporter)
{
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DataError &error) {
        m_reporter.report(error);
        QCoreApplication::exit(EXIT_FAILURE);
        return true;
    }
}
