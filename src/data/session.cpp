#include "data/session.h"

TSession::TSession(std::string name) : name(std::move(name))
{
}
