#pragma once
// Reading and editing the JSON files of browser profiles ("Local State", "Preferences") by key
// path, without rewriting what is not edited: an edit cuts or replaces one value's bytes and keeps
// every other byte of the file as it was. Portable: no Windows header.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using JsonPath = std::initializer_list<std::string_view>;

class JsonDocument {
public:
    // Nothing when `text` is not one JSON value (with blanks around it), or nests deeper than any
    // browser file does.
    static std::optional<JsonDocument> Parse(std::string_view text);

    // Whether a value is at `path` (the names of nested object members).
    bool Has(JsonPath path) const { return Find(path) != nullptr; }
    // The member names of the object at `path`, in file order; empty when it is no object.
    std::vector<std::string> Keys(JsonPath path) const;
    // The string at `path`, unescaped to UTF-8; nothing when it is no string.
    std::optional<std::string> String(JsonPath path) const;

    // The text without the member at `path` (its name, value and one comma beside it); nothing
    // when there is no such member.
    std::optional<std::string> WithoutMember(JsonPath path) const;
    // The text with the value at `path` replaced by `json` (taken as it is); nothing when there is
    // no value there.
    std::optional<std::string> WithValue(JsonPath path, std::string_view json) const;

    struct Node;

private:
    const Node* Find(JsonPath path) const;
    std::string text_;
    std::shared_ptr<Node> root_;
};
