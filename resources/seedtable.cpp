// Build-time tool: writes a shipped table file from its SQL seed when the file is missing.
// An existing file is left alone, since it may hold the user's own rows.
//   zanvik-seed <seed.sql> <table.db>

#include <cstdio>
#include <exception>

#include "data/databasefile.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <seed.sql> <table.db>\n", argv[0]);
        return 2;
    }
    try {
        if (SeedDatabaseFile(argv[1], argv[2]))
            std::printf("wrote %s\n", argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
