#pragma once

#include <string>

// The desktop's "open" action (xdg-open through Qt). A failure is told to the user in a
// box that says what is missing; the functions give false then.

// Opens the file name of the program folder ("vorlan.html", "撥號網路.txt") with the
// desktop's viewer for its kind.
bool OpenProgramDocument(const std::string& name);

// Opens a web address in the user's own browser.
bool OpenWebAddress(const std::string& url);
