#pragma once

class TDBEdit;

// The dialogs' check of a typed address against its field: true when it fits; otherwise
// the user is told the field's width and false comes back, so that the address is refused
// rather than stored cut.
bool AddressFits(const TDBEdit& box);
