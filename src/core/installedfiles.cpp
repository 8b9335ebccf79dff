#include "core/installedfiles.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "core/paths.h"

namespace fs = std::filesystem;

namespace {

// The shipped tables are installed apart from "data/", under "tables/": when the prefix is
// ~/.local its share/zanvik/ is the user's folder itself, and a new install must not put
// them over the user's rows.
const char* const kShippedTables = "tables";

bool IsShippedTable(const fs::path& relative)
{
    return relative.begin() != relative.end() && *relative.begin() == kShippedTables;
}

fs::path UserName(const fs::path& relative)
{
    if (!IsShippedTable(relative))
        return relative;
    return fs::path("data") / relative.lexically_relative(kShippedTables);
}

bool NeedsCopy(const fs::path& source, const fs::path& target, bool userTable)
{
    std::error_code error;
    if (!fs::exists(target, error))
        return true;
    if (userTable)
        return false;
    std::error_code sourceError;
    std::error_code targetError;
    auto installedTime = fs::last_write_time(source, sourceError);
    auto copiedTime = fs::last_write_time(target, targetError);
    return sourceError || targetError || installedTime > copiedTime;
}

// Gives the finished copy its name: a read-only file replaces the older one; a table
// takes the name only when it is still free, since one made meanwhile by another start
// is already the user's.
void Publish(const fs::path& temporary, const fs::path& target, bool userTable, std::error_code& error)
{
    if (!userTable)
        fs::rename(temporary, target, error);
    else if (::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST)
        error.assign(errno, std::generic_category());
}

// The copy is made beside the target and named at the end, so a start that breaks off
// or runs beside another never leaves half a file.
void CopyOne(const fs::path& source, const fs::path& target, bool userTable)
{
    fs::path temporary = target;
    temporary += ".copy" + std::to_string(::getpid());
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (!error)
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
    fs::file_time_type installedTime;
    if (!error)
        installedTime = fs::last_write_time(source, error);
    // The copy keeps the installed time, so that an update installed later counts as newer
    // whatever the day of this first start.
    if (!error)
        fs::last_write_time(temporary, installedTime, error);
    if (!error)
        Publish(temporary, target, userTable, error);
    std::error_code ignored;
    fs::remove(temporary, ignored);
    if (error)
        throw EInOutError("Cannot copy \"" + source.string() + "\" to \"" + target.string() + "\": " + error.message());
}

}  // namespace

void CopyInstalledFiles(const std::string& installed, const std::string& folder)
{
    // Installed into the user's folder itself, everything but the tables is in place, and
    // the page store beside it may be large.
    std::error_code sameError;
    bool sameFolder = fs::equivalent(installed, folder, sameError);
    fs::path root = sameFolder ? fs::path(installed) / kShippedTables : fs::path(installed);
    std::error_code error;
    fs::recursive_directory_iterator walk(root, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        std::error_code typeError;
        if (!walk->is_regular_file(typeError))
            continue;
        fs::path relative = walk->path().lexically_relative(installed);
        fs::path target = fs::path(folder) / UserName(relative);
        bool userTable = IsShippedTable(relative);
        if (NeedsCopy(walk->path(), target, userTable))
            CopyOne(walk->path(), target, userTable);
    }
    if (error)
        throw EInOutError("Cannot read the installed files in \"" + root.string() + "\": " + error.message());
}

void PrepareProgramFolder()
{
    std::string installed = InstalledFilesFolder();
    if (!installed.empty())
        CopyInstalledFiles(installed, ProgramFolder());
}
