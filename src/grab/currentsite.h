#pragma once

#include <string>

// True when url names the site being grabbed now (CurrentSiteURL). The two are compared in
// their canonical forms, without regard to letter case and to one trailing "/", so that
// "HTTP://Www.Example.com" and "http://www.example.com/" count as the same site. False
// while no site is being grabbed.
bool IsCurrentSite(const std::string& url);

// The comparison itself, for two addresses.
bool SameSiteAddress(const std::string& a, const std::string& b);
