#pragma once

// Whether the system has at least one dial-up connection set up: the dial-up networking
// entries as the dial helper's Remote Access layer lists them (NetworkManager's dial-up
// profiles, or the simulated service's entries under ZANVIK_RAS=sim). A listing that
// fails counts as none.
bool HasDialUpProfiles();
