#include "ui/browserengine.h"

#include <unistd.h>

#include <cstdio>

#include <QCoreApplication>

void PrepareBrowserEngine()
{
#ifdef ZANVIK_WEBENGINE
    // The web engine draws through OpenGL contexts shared with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // Its page processes cannot be sandboxed for root, and it would end the whole program
    // rather than run them without; for root they run unsandboxed, as it allows.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fprintf(stderr, "vorlan: 以 root 身分執行, 內建瀏覽器的網頁程序不在沙箱中執行\n");
    }
#endif
}
