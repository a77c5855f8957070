#pragma once

#include "Fonts.h"
#include "OfficialPageScreen.h"

#include <QApplication>
#include <QTest>

// QTEST_MAIN for tests of screens that may open the page viewer, which loads
// Qt WebEngine as the program does. The specified font names render with the
// IPA fonts.
#define KUNISHIRABE_SCREEN_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        prepareWebEngineEnvironment();                                                             \
        QApplication app(argc, argv);                                                              \
        Fonts::installSubstitutions();                                                             \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
