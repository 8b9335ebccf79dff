#include "platform/raserrors.h"

std::string RasErrorText(unsigned code)
{
    switch (code) {
    case RasCode::Success:
        return "The operation completed successfully.";
    case RasCode::InvalidHandle:
        return "The handle is invalid.";
    case RasCode::InvalidParameter:
        return "The parameter is incorrect.";
    case RasCode::BufferTooSmall:
        return "Caller's buffer is too small.";
    case RasCode::CannotFindPhonebookEntry:
        return "Cannot find the phone book entry.";
    case RasCode::FromDevice:
        return "The modem (or other connecting device) has reported an error.";
    case RasCode::NoAnswer:
        return "There is no answer.";
    case RasCode::AuthenticationFailure:
        return "Access denied because username and/or password is invalid on the domain.";
    case RasCode::ServiceUnavailable:
        return "The Remote Access Service Manager could not start.";
    case RasCode::Timeout:
        return "This operation returned because the timeout period expired.";
    default:
        return "Remote Access error " + std::to_string(code) + ".";
    }
}
