#pragma once

#include <string>

// The result codes of the Remote Access calls, numbered as Windows numbers them, so that
// a code written to a file or a log means the same on both systems.
namespace RasCode {
constexpr unsigned Success = 0;
constexpr unsigned InvalidHandle = 6;
constexpr unsigned InvalidParameter = 87;
constexpr unsigned BufferTooSmall = 603;
constexpr unsigned CannotFindPhonebookEntry = 623;
constexpr unsigned FromDevice = 651;
constexpr unsigned NoAnswer = 678;
constexpr unsigned AuthenticationFailure = 691;
constexpr unsigned ServiceUnavailable = 711;
constexpr unsigned Timeout = 1460;
}  // namespace RasCode

// The fixed English text of a code, as RasGetErrorStringA gives it; a code without one
// gets a text that names the number.
std::string RasErrorText(unsigned code);
