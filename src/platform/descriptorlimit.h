#pragma once

// Raises the process's soft limit of open descriptors towards wanted, as far as the hard
// limit allows; a lower wanted, or a refusal, leaves it as it is.
void RaiseDescriptorLimit(unsigned long wanted);
