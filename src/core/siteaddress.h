#pragma once

#include <string>

// The start address of a schedule entry or a phone book site as the dialogs keep it,
// from what was typed: a prefix "http://" or "https://" in any letter case becomes lower
// case, an address without one gains "http://", and the rest stays as typed. An empty
// text stays empty.
std::string NormalizeSiteAddress(const std::string& typed);
