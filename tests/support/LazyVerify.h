#pragma once

#include <QTest>

// QVERIFY2 builds its message even when the check holds. In loops over
// every pixel of a map that costs far more than the check itself (and many
// times more under the sanitizers), so such loops check first and let
// QVERIFY2 report only a failure.
#define QVERIFY2_LAZY(statement, description)                                                  \
    do {                                                                                       \
        if (!(statement))                                                                      \
            QVERIFY2(statement, description);                                                  \
    } while (false)
