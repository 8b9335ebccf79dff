#pragma once

class TTable;

// Takes a table out of its category filter for as long as it lives, so that a look-up
// finds a row of any category, and puts the filter back on every way out. A filter that
// cannot be put back leaves the table unfiltered until its next category change.
class TUnfilteredScope {
public:
    explicit TUnfilteredScope(TTable& table);
    ~TUnfilteredScope();
    TUnfilteredScope(const TUnfilteredScope&) = delete;
    TUnfilteredScope& operator=(const TUnfilteredScope&) = delete;

private:
    TTable& table;
    bool filtered;
};
