#pragma once

#include <string>
#include <string_view>

// The page store: one folder per server address under "wwwData/" of the program folder,
// each holding the pages of that server by their local path (Turl::LocalPath). The
// grabber writes it and the page server reads it; every name in it is made here.

// The store's folder relative to the program folder.
inline constexpr std::string_view StoreFolderName = "wwwData/";

// True for a name that stays one folder inside the store: not empty, not "." or "..",
// no "/" and no NUL.
bool IsSiteFolderName(std::string_view name);

// ProgramFolder + "wwwData/".
std::string StoreRoot();

// The store root + address, without a trailing "/"; empty when address is no site
// folder name.
std::string SiteFolder(const std::string& address);

// siteFolder + "/" + localPath; empty when either is empty (the page has no file).
std::string PageFile(const std::string& siteFolder, const std::string& localPath);

// A file to fetch a page into before it becomes pageFile: pageFile, a number of this
// process and fetch, and ".TMP". Each call gives a new name, so that two fetches of one
// page (a URL queued again, one server under two host names) never share a file.
std::string TemporaryFile(const std::string& pageFile);
