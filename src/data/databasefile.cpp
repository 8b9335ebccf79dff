#include "data/databasefile.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <sqlite3.h>

#include "data/databaseerror.h"

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& reason)
{
    throw EDatabaseError("Cannot create table \"" + path + "\": " + reason);
}

void RunScript(const std::string& file, const std::string& script, std::string& error)
{
    sqlite3* db = nullptr;
    int result = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result == SQLITE_OK) {
        std::string whole = "BEGIN;\n" + script + "\n;COMMIT;";
        char* message = nullptr;
        result = sqlite3_exec(db, whole.c_str(), nullptr, nullptr, &message);
        if (result != SQLITE_OK)
            error = message ? message : sqlite3_errstr(result);
        sqlite3_free(message);
    } else {
        error = db ? sqlite3_errmsg(db) : sqlite3_errstr(result);
    }
    if (sqlite3_close(db) != SQLITE_OK && error.empty())
        error = "the file could not be closed";
}

}  // namespace

void CreateDatabaseFile(const std::string& path, const std::string& script)
{
    namespace fs = std::filesystem;
    std::error_code status;
    if (fs::exists(path, status))
        Fail(path, "the file exists already");
    std::string part = path + ".part";
    fs::remove(part, status);  // a left-over of an earlier attempt that was cut short
    std::string error;
    RunScript(part, script, error);
    // A hard link takes the final name only while it is free, so a file that appeared
    // meanwhile is not replaced either.
    if (error.empty()) {
        fs::create_hard_link(part, path, status);
        // Folders on file systems without hard links (a FAT memory stick) get a plain
        // rename, after one more look for a file of that name.
        std::error_code ignored;
        if (status && status != std::errc::file_exists && !fs::exists(path, ignored)) {
            status.clear();
            fs::rename(part, path, status);
        }
        if (status)
            error = status == std::errc::file_exists ? "the file exists already" : status.message();
    }
    fs::remove(part, status);
    fs::remove(part + "-journal", status);
    if (!error.empty())
        Fail(path, error);
}

bool SeedDatabaseFile(const std::string& scriptPath, const std::string& dbPath)
{
    namespace fs = std::filesystem;
    std::error_code status;
    if (fs::exists(dbPath, status))
        return false;
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in)
        Fail(dbPath, "cannot read \"" + scriptPath + "\"");
    std::ostringstream script;
    script << in.rdbuf();
    fs::path folder = fs::path(dbPath).parent_path();
    if (!folder.empty()) {
        fs::create_directories(folder, status);
        if (status)
            Fail(dbPath, "cannot create folder \"" + folder.string() + "\": " + status.message());
    }
    CreateDatabaseFile(dbPath, script.str());
    return true;
}
