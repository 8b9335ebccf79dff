#pragma once

#include <stdexcept>
#include <string>

// A failure of a table or a query: a file that cannot be opened or is damaged, a field
// or an index that does not exist, a row the engine refused. The text names the file.
class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The toolkit's silent abort: a before-edit hook raises it when the user declined to wait
// for a locked row. Callers end the operation without showing anything.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("Operation aborted") {}
};
