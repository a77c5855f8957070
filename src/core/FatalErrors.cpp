#include "FatalErrors.h"

#include "Seams.h"

#include <QCoreApplication>

#include <cstdlib>

namespace {

FatalErrorReporter *installedReporter = nullptr;

} // namespace

void FatalErrors::install(FatalErrorReporter *reporter)
{
    installedReporter = reporter;
}

bool FatalErrors::report(const DataError &error)
{
    if (!installedReporter)
        return false;
    installedReporter->report(error);
    QCoreApplication::exit(EXIT_FAILURE);
    return true;
}
