#include "platform/rasunavailable.h"

#include "platform/raserrors.h"

TRasUnavailable::TRasUnavailable(std::string reason) : reason(std::move(reason)) {}

unsigned TRasUnavailable::EnumConnections(size_t, std::vector<TRasConnection>& connections)
{
    connections.clear();
    return RasCode::ServiceUnavailable;
}

unsigned TRasUnavailable::Dial(const TRasDialParams&, TRasHandle& handle)
{
    handle = 0;
    return RasCode::ServiceUnavailable;
}

unsigned TRasUnavailable::HangUp(TRasHandle)
{
    return RasCode::ServiceUnavailable;
}

unsigned TRasUnavailable::EnumEntries(size_t, std::vector<std::string>& entries)
{
    entries.clear();
    return RasCode::ServiceUnavailable;
}

std::string TRasUnavailable::ErrorText(unsigned code) const
{
    return code == RasCode::ServiceUnavailable ? reason : RasErrorText(code);
}
