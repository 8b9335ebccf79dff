#pragma once

#include <string>

// The program's version, as the build names it ("1.0.0").
std::string ZanvikVersion();

// What every request of the program says it is: "Zanvik/" and the version.
std::string UserAgent();
