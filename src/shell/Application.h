#pragma once

#include <QApplication>

class FatalErrorReporter;

// Reports a data error raised in any event handler and ends the program
// with status EXIT_FAILURE.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv, FatalErrorReporter &reporter);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    FatalErrorReporter &m_reporter;
};
