#pragma once

#include <string>
#include <vector>

#include "grab/turl.h"

// What the grabber does with an answer that says the page has moved.
struct TRedirect {
    bool follow = false;
    Turl target;          // the next address to ask, when followed
    std::string refusal;  // why it is not followed, for the log line; empty when followed
};

// The grabber's rule for a moved page. chain holds the addresses asked so far, the one
// first asked in front and the one that gave this answer last. A 301, 302, 303, 307 or
// 308 answer with a Location is followed when the Location, resolved against the last
// address, is an http or https address on the first address's host (any host with
// crossSite), not asked before in the chain, and at most MaxHops hops were made. A
// Location with blanks inside, control characters or more than MaxLocation characters is
// refused: it is no address a server means.
TRedirect DecideRedirect(const std::vector<std::string>& chain, int status, const std::string& location,
                         bool crossSite);

inline constexpr int MaxRedirectHops = 5;
inline constexpr size_t MaxLocation = 1000;

// The codes of the answers that move a page to their Location.
bool IsRedirectStatus(int status);

// The value of the "Location" header of a response (name without regard to case), with
// the blanks around it taken off; empty when the response has none.
std::string LocationOf(const std::string& response);
