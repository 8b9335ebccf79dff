#include <gtest/gtest.h>

#ifdef ZANVIK_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include "core/mainthread.h"

// Every suite runs with an application object, so that socket events and hand-overs to
// the main thread are served while a test waits.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    SetMainThread();
    return RUN_ALL_TESTS();
}
