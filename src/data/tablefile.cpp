#include "data/tablefile.h"

#include <filesystem>
#include <system_error>

#include "core/paths.h"
#include "core/text.h"

namespace {

bool HasExtension(const std::string& name)
{
    size_t slash = name.rfind('/');
    std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    return last.find('.') != std::string::npos;
}

}  // namespace

std::string TableFilePath(const std::string& folder, const std::string& tableName)
{
    std::string path = tableName;
    if (!path.empty() && path.front() != '/' && !folder.empty())
        path = JoinPath(folder, path);
    if (!HasExtension(path))
        path += ".db";
    if (FileExists(path))
        return path;
    namespace fs = std::filesystem;
    fs::path wanted(path);
    std::error_code error;
    for (fs::directory_iterator entry(wanted.parent_path(), error), end; !error && entry != end;
         entry.increment(error))
        if (SameText(entry->path().filename().string(), wanted.filename().string()))
            return entry->path().string();
    return path;
}

std::string TableBaseName(const std::string& path)
{
    return std::filesystem::path(path).stem().string();
}

std::string CanonicalFile(const std::string& path)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::weakly_canonical(path, error);
    return error ? path : full.string();
}
