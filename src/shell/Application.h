#pragma once

#include <QApplication>

class FatalErrorReporter;

// Installs the reporter of data errors for its lifetime: a data error raised
// in any event handler is reported and ends the program with EXIT_FAILURE.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv, FatalErrorReporter &reporter);
    ~Application() override;

    bool notify(QObject *receiver, QEvent *event) override;
};
