#include <gtest/gtest.h>

#ifdef ZANVIK_TEST_WIDGETS
#include <QApplication>
#include "ui/application.h"
#include "ui/browserengine.h"
#include "ui/programfonts.h"
using TestApplication = TApplication;
#elif defined(ZANVIK_TEST_GUI)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
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
    // No suite needs a display, not even while CTest lists the cases at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ZANVIK_TEST_WIDGETS
    PrepareBrowserEngine();
#endif
    TestApplication app(argc, argv);
    SetMainThread();
#ifdef ZANVIK_TEST_WIDGETS
    UseProgramFonts();
#endif
    return RUN_ALL_TESTS();
}
