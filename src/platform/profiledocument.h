#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The text of a Windows profile file, parsed into lines that keep their exact bytes.
// Sections and keys are matched without regard to (ASCII) case; the first of duplicated
// sections or keys is the one that counts. Lines the parser does not understand are kept
// as they are and written back unchanged.
class ProfileDocument {
public:
    explicit ProfileDocument(const std::string& text = {});

    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    std::vector<std::string> Keys(const std::string& section) const;
    std::vector<std::pair<std::string, std::string>> Entries(const std::string& section) const;
    std::vector<std::string> Sections() const;
    bool HasSection(const std::string& section) const;

    // A new key goes after the last entry of its section; a new section at the end.
    // An existing key takes the spelling given here.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    bool Delete(const std::string& section, const std::string& key);
    bool EraseSection(const std::string& section);
    bool AddSection(const std::string& section);
    // True when Set of a new key of section would put it at the very end of the text:
    // section is the last one, no line follows its last non-blank line, and
    // the text ends with a line feed.
    bool NewKeyGoesAtEnd(const std::string& section) const;
    // The line that Set writes for key and value, without its line feed.
    static std::string EntryText(const std::string& key, const std::string& value);

    std::string Text() const;

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        std::string raw;  // without its line feed; a CR before it stays part of raw
        Kind kind = Kind::Other;
        std::string name;  // section name or key
        std::string value;
    };

    static Line Parse(std::string raw);
    std::optional<size_t> FindSection(const std::string& section) const;
    std::optional<size_t> FindKey(size_t sectionLine, const std::string& key) const;
    size_t SectionEnd(size_t sectionLine) const;
    size_t LastEntryOf(size_t sectionLine) const;

    std::vector<Line> lines;
    bool finalNewline = true;
};

// ASCII case-insensitive equality, as profile files and the registry compare names.
bool SameText(const std::string& a, const std::string& b);
bool StartsWithText(const std::string& text, const std::string& prefix);
