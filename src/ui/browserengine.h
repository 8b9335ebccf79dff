#pragma once

// Readies the built-in browser's web engine; called before the application object is
// made, by every program and test that may show the browser page. Does nothing in a build
// without the web engine.
void PrepareBrowserEngine();
