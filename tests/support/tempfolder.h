#pragma once

#include <string>

// A fresh folder under /tmp that is removed with the object. As a program folder it also
// points $ZANVIK_HOME and $ZANVIK_WINDIR (its "windows/" folder) at itself while it lives.
class TempFolder {
public:
    enum class Use { Plain, ProgramFolder };
    explicit TempFolder(Use use = Use::ProgramFolder);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path; }  // ends in "/"
    std::string operator/(const std::string& name) const { return path + name; }

    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;  // empty when missing

private:
    std::string path;
    Use use;
};

// The whole content of a file, or empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
