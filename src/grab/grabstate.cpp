#include "grab/grabstate.h"

#include <algorithm>

#include "core/text.h"

TGrabState& GrabState()
{
    static TGrabState state;
    return state;
}

std::string TGrabState::CurrentSiteURL() const
{
    std::lock_guard guard(textLock);
    return currentSiteURL;
}

void TGrabState::SetCurrentSiteURL(const std::string& url)
{
    std::lock_guard guard(textLock);
    currentSiteURL = url;
}

std::string TGrabState::SiteAddress() const
{
    std::lock_guard guard(textLock);
    return siteAddress;
}

void TGrabState::SetSiteAddress(const std::string& address)
{
    std::lock_guard guard(textLock);
    siteAddress = address;
}

std::string TGrabState::CurrentAlias() const
{
    std::lock_guard guard(textLock);
    return currentAlias;
}

void TGrabState::SetCurrentAlias(const std::string& alias)
{
    std::lock_guard guard(textLock);
    currentAlias = alias;
}

std::string TGrabState::CurrentPage() const
{
    std::lock_guard guard(textLock);
    return currentPage;
}

void TGrabState::SetCurrentPage(const std::string& url)
{
    std::lock_guard guard(textLock);
    currentPage = url;
}

TInFetch& InFetch()
{
    static TInFetch inFetch;
    return inFetch;
}

bool TInFetch::Claim(const std::string& url)
{
    std::lock_guard guard(lock);
    if (SameText(url, GrabState().CurrentSiteURL()))
        return false;
    urls.push_back(url);
    return true;
}

void TInFetch::Release(const std::string& url)
{
    std::lock_guard guard(lock);
    auto found = std::find(urls.begin(), urls.end(), url);
    if (found != urls.end())
        urls.erase(found);
}

size_t TInFetch::Count() const
{
    std::lock_guard guard(lock);
    return urls.size();
}
