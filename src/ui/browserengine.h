#pragma once

// Readies the built-in browser's web engine; called before the application object is
// made, by every program and test that may show the browser page. Run as root, the
// engine's page processes go without their sandbox, which root cannot have. Does nothing
// in a build without the web engine.
void PrepareBrowserEngine();
