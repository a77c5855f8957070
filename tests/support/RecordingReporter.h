#pragma once

#include "DataError.h"
#include "Seams.h"

#include <QStringList>

// Keeps the reported data errors instead of ending the program.
class RecordingReporter : public FatalErrorReporter
{
public:
    void report(const DataError &error) override
    {
        files.append(error.file());
        messages.append(error.message());
    }

    QStringList files;
    QStringList messages;
};
