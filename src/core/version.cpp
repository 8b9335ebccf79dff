#include "core/version.h"

std::string ZanvikVersion()
{
    return ZANVIK_VERSION;
}

std::string UserAgent()
{
    return "Zanvik/" + ZanvikVersion();
}
