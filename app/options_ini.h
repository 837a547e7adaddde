#pragma once
// options.ini: every option that settings.dat, whose format never grows, has no room for. UTF-8
// text of "[Section]" headers, named after the pages, and "key=value" lines; ";" starts a comment.
// Whatever the program does not know (sections, keys, comments, their order) is written back as
// it was read. Portable: no Windows header.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class OptionsIni {
public:
    // The options of a file's text; nothing when a line is neither blank, a comment, a section
    // header nor "key=value", or the text is no UTF-8 (a damaged file: the caller keeps it aside).
    static std::optional<OptionsIni> Parse(std::string_view text);
    // The text to write: what was read, with the values set since in their places and new entries
    // at the end of their sections ("\r\n" line ends).
    std::string Serialize() const;

    // Sections and keys are compared without regard to ASCII case.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // "1"/"0"; anything else reads as `fallback`.
    bool GetBool(std::string_view section, std::string_view key, bool fallback) const;
    void SetBool(std::string_view section, std::string_view key, bool on) { Set(section, key, on ? "1" : "0"); }
    // A list: every value of `key` in `section`, in order (the key repeated once per value).
    std::vector<std::string> GetAll(std::string_view section, std::string_view key) const;
    void SetAll(std::string_view section, std::string_view key, const std::vector<std::string>& values);

private:
    struct Line {
        std::string text;     // as read or as made; for an entry, "key=value"
        std::string key;      // empty for blank lines, comments and the header
        std::string value;
    };
    struct Section {
        std::string name; // empty: the lines before the first header
        std::vector<Line> lines;
    };
    Section* Find(std::string_view name);
    const Section* Find(std::string_view name) const;
    Section& FindOrAdd(std::string_view name);
    std::vector<Section> sections_{Section{}};
};
