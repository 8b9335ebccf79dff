#include "data/unfilteredscope.h"

#include <exception>

#include "data/table.h"

TUnfilteredScope::TUnfilteredScope(TTable& table) : table(table), filtered(table.Filtered())
{
    table.SetFiltered(false);
}

TUnfilteredScope::~TUnfilteredScope()
{
    try {
        table.SetFiltered(filtered);
    } catch (const std::exception&) {
        // A destructor must not replace the error that may be on its way out.
    }
}
