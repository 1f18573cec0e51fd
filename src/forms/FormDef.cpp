#include "forms/FormDef.h"

#include <cctype>
#include <cstdlib>

#include "forms/SysUtils.h"

namespace forms {

void DefinitionError(int line, const std::string& what) {
    throw EParserError("Form definition, line " + std::to_string(line) + ": " + what);
}

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : s_(text) {}

    TDefObject Root() {
        SkipSpace();
        TDefObject root = Object();
        SkipSpace();
        if (pos_ < s_.size()) Fail("text after the last 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) { DefinitionError(line_, what); }

    void SkipSpace() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    static bool IdentChar(char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
    }

    std::string Ident(const char* what) {
        SkipSpace();
        std::size_t start = pos_;
        while (pos_ < s_.size() && IdentChar(s_[pos_])) ++pos_;
        if (start == pos_) Fail(std::string("expected ") + what);
        return s_.substr(start, pos_ - start);
    }

    void Expect(char c) {
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != c) Fail(std::string("expected '") + c + "'");
        ++pos_;
    }

    bool Peek(char c) {
        SkipSpace();
        return pos_ < s_.size() && s_[pos_] == c;
    }

    std::string Quoted() {
        Expect('\'');
        std::string out;
        for (;;) {
            if (pos_ >= s_.size() || s_[pos_] == '\n') Fail("text not closed by a quote");
            char c = s_[pos_++];
            if (c == '\'') {
                if (pos_ < s_.size() && s_[pos_] == '\'') {
                    out += '\'';
                    ++pos_;
                } else {
                    return out;
                }
            } else {
                out += c;
            }
        }
    }

    TDefValue Value() {
        SkipSpace();
        TDefValue v;
        v.line = line_;
        if (pos_ >= s_.size()) Fail("expected a value");
        char c = s_[pos_];
        if (c == '\'') {
            v.kind = TDefValue::Text;
            v.text = Quoted();
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            v.kind = TDefValue::Number;
            std::size_t start = pos_++;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            std::string digits = s_.substr(start, pos_ - start);
            if (digits == "-" || digits.size() > 10) Fail("bad number '" + digits + "'");
            v.number = std::strtoll(digits.c_str(), nullptr, 10);
        } else if (c == '[') {
            v.kind = TDefValue::Set;
            ++pos_;
            if (!Peek(']')) {
                v.items.push_back(Ident("a set element"));
                while (Peek(',')) {
                    ++pos_;
                    v.items.push_back(Ident("a set element"));
                }
            }
            Expect(']');
        } else if (c == '(') {
            v.kind = TDefValue::List;
            ++pos_;
            while (!Peek(')')) {
                if (!Peek('\'')) Fail("expected a quoted line or ')'");
                v.items.push_back(Quoted());
            }
            Expect(')');
        } else if (IdentChar(c)) {
            v.kind = TDefValue::Ident;
            v.text = Ident("a value");
        } else {
            Fail(std::string("unexpected '") + c + "'");
        }
        return v;
    }

    TDefObject Object() {
        TDefObject obj;
        obj.line = line_;
        if (Ident("'object'") != "object") Fail("expected 'object'");
        obj.name = Ident("an object name");
        Expect(':');
        obj.kind = Ident("a class name");
        for (;;) {
            SkipSpace();
            if (pos_ >= s_.size()) Fail("'end' missing for object " + obj.name);
            std::size_t mark = pos_;
            int markLine = line_;
            std::string word = Ident("a property, 'object' or 'end'");
            if (word == "end") return obj;
            if (word == "object") {
                pos_ = mark;
                line_ = markLine;
                obj.children.push_back(Object());
                continue;
            }
            Expect('=');
            for (const auto& p : obj.properties)
                if (p.first == word) Fail("property " + word + " given twice");
            obj.properties.emplace_back(word, Value());
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

TDefObject ParseFormDefinition(const std::string& text) { return Parser(text).Root(); }

}  // namespace forms
