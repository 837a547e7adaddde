#include "engine/cleaners/json_text.h"

struct JsonDocument::Node {
    enum Type { Object, Array, String, Other } type = Other;
    size_t begin = 0, end = 0;           // the value's bytes
    size_t memberBegin = 0;              // as a member: where its quoted name begins
    std::string name;                    // as a member: its name, unescaped
    std::vector<std::shared_ptr<Node>> children;
};

namespace {

constexpr int kDeepest = 256;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::shared_ptr<JsonDocument::Node> Document() {
        SkipBlanks();
        auto root = Value(0);
        SkipBlanks();
        if (!root || at_ != text_.size()) return nullptr;
        return root;
    }

    // Unescapes the string whose opening quote is at `at_`; false when it is no valid string.
    bool StringText(std::string& out) {
        if (!Take('"')) return false;
        for (;;) {
            if (at_ >= text_.size()) return false;
            const unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) return false;
            const char e = text_[at_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned code = 0;
                if (!Hex4(code)) return false;
                // A surrogate pair makes one character beyond the basic plane.
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
                    at_ += 2;
                    unsigned low = 0;
                    if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default: return false;
            }
        }
    }

private:
    std::shared_ptr<JsonDocument::Node> Value(int depth) {
        if (depth > kDeepest || at_ >= text_.size()) return nullptr;
        auto node = std::make_shared<JsonDocument::Node>();
        node->begin = at_;
        const char c = text_[at_];
        bool ok;
        if (c == '{') {
            node->type = JsonDocument::Node::Object;
            ok = Members(*node, depth);
        } else if (c == '[') {
            node->type = JsonDocument::Node::Array;
            ok = Elements(*node, depth);
        } else if (c == '"') {
            node->type = JsonDocument::Node::String;
            std::string ignored;
            ok = StringText(ignored);
        } else {
            ok = Literal();
        }
        if (!ok) return nullptr;
        node->end = at_;
        return node;
    }

    bool Members(JsonDocument::Node& object, int depth) {
        ++at_; // '{'
        SkipBlanks();
        if (Take('}')) return true;
        for (;;) {
            SkipBlanks();
            const size_t memberBegin = at_;
            std::string name;
            if (!StringText(name)) return false;
            SkipBlanks();
            if (!Take(':')) return false;
            SkipBlanks();
            auto value = Value(depth + 1);
            if (!value) return false;
            value->memberBegin = memberBegin;
            value->name = std::move(name);
            object.children.push_back(std::move(value));
            SkipBlanks();
            if (Take('}')) return true;
            if (!Take(',')) return false;
        }
    }

    bool Elements(JsonDocument::Node& array, int depth) {
        ++at_; // '['
        SkipBlanks();
        if (Take(']')) return true;
        for (;;) {
            SkipBlanks();
            auto value = Value(depth + 1);
            if (!value) return false;
            array.children.push_back(std::move(value));
            SkipBlanks();
            if (Take(']')) return true;
            if (!Take(',')) return false;
        }
    }

    // A number, true, false or null: as far as it goes, checked loosely (browsers write them).
    bool Literal() {
        for (std::string_view word : {"true", "false", "null"})
            if (text_.substr(at_, word.size()) == word) {
                at_ += word.size();
                return true;
            }
        const size_t start = at_;
        while (at_ < text_.size() && (std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos))
            ++at_;
        return at_ > start;
    }

    bool Hex4(unsigned& code) {
        if (at_ + 4 > text_.size()) return false;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[at_++];
            code <<= 4;
            if (h >= '0' && h <= '9') code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f') code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F') code |= static_cast<unsigned>(h - 'A' + 10);
            else return false;
        }
        return true;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    std::string_view text_;
    size_t at_ = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

std::optional<JsonDocument> JsonDocument::Parse(std::string_view text) {
    JsonDocument document;
    document.text_ = std::string(text);
    document.root_ = Parser(document.text_).Document();
    if (!document.root_) return std::nullopt;
    return document;
}

const JsonDocument::Node* JsonDocument::Find(JsonPath path) const {
    const Node* node = root_.get();
    for (std::string_view name : path) {
        if (!node || node->type != Node::Object) return nullptr;
        const Node* next = nullptr;
        // The last member of a name is the one a browser's reader keeps.
        for (const auto& child : node->children)
            if (child->name == name) next = child.get();
        node = next;
    }
    return node;
}

std::vector<std::string> JsonDocument::Keys(JsonPath path) const {
    std::vector<std::string> keys;
    if (const Node* node = Find(path); node && node->type == Node::Object)
        for (const auto& child : node->children) keys.push_back(child->name);
    return keys;
}

std::optional<std::string> JsonDocument::String(JsonPath path) const {
    const Node* node = Find(path);
    if (!node || node->type != Node::String) return std::nullopt;
    std::string out;
    Parser parser(std::string_view(text_).substr(node->begin, node->end - node->begin));
    if (!parser.StringText(out)) return std::nullopt;
    return out;
}

std::optional<std::string> JsonDocument::WithValue(JsonPath path, std::string_view json) const {
    const Node* node = Find(path);
    if (!node) return std::nullopt;
    return text_.substr(0, node->begin) + std::string(json) + text_.substr(node->end);
}

std::optional<std::string> JsonDocument::WithoutMember(JsonPath path) const {
    if (path.size() == 0) return std::nullopt;
    const Node* member = Find(path);
    if (!member) return std::nullopt;
    // Its object, to know whether a member follows it or it is the last.
    const Node* object = root_.get();
    for (auto name = path.begin(); name + 1 != path.end(); ++name) {
        const Node* next = nullptr;
        for (const auto& child : object->children)
            if (child->name == *name) next = child.get();
        object = next;
    }
    size_t index = 0;
    while (object->children[index].get() != member) ++index;
    size_t cutBegin = member->memberBegin, cutEnd = member->end;
    if (index + 1 < object->children.size()) {
        // Up to the next member's name: the comma and the blanks before it go too.
        cutEnd = object->children[index + 1]->memberBegin;
    } else if (index > 0) {
        // The last member: from the end of the one before, with the comma between them.
        cutBegin = object->children[index - 1]->end;
    } else {
        // The only member: the blanks around it go with it, the braces stay.
        while (cutBegin > object->begin + 1 && IsBlank(text_[cutBegin - 1])) --cutBegin;
        while (cutEnd + 1 < object->end && IsBlank(text_[cutEnd])) ++cutEnd;
    }
    return text_.substr(0, cutBegin) + text_.substr(cutEnd);
}
