#include "schedule/storeddialaccount.h"

#include "schedule/rasaccount.h"

std::string TStoredDialAccount::UserName() const
{
    return ReadRasAccount().userName;
}

std::string TStoredDialAccount::Password() const
{
    return ReadRasAccount().password;
}

std::string TStoredDialAccount::Telephone() const
{
    return ReadRasAccount().telephone;
}
