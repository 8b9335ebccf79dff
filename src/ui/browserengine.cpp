#include "ui/browserengine.h"

#include <QCoreApplication>

void PrepareBrowserEngine()
{
#ifdef ZANVIK_WEBENGINE
    // The web engine draws through OpenGL contexts shared with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
}
