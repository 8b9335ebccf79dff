#pragma once

#include <string>

// The installer's part of the browser proxy settings, outside the program itself: when
// the live proxy server of the current user's Internet settings is empty, point it (and
// "proxyEnable") at the page server, keeping what was there as the saved copies that
// TProxyRegistry::RestoreProxy puts back. Saved copies that exist already are kept, and
// a live proxy server that names any server is left alone. True when it pointed the
// values; raises ERegistryException for a value of the wrong type or a failed write.
bool PointProxyAtPageServer(const std::string& server = "127.0.0.1:8088");
