// The form definition: a readable text that describes a form, its controls, their properties
// and event bindings. One block per object:
//
//   object Button1: TButton
//     Left = 6
//     Caption = '&Install'
//     OnClick = Button1Click
//   end
//
// Values are whole numbers, 'quoted text' ('' stands for one quote), identifiers, sets
// [a, b] and lists of texts ( 'line' 'line' ).
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace forms {

struct TDefValue {
    enum Kind { Number, Text, Ident, Set, List } kind = Number;
    long long number = 0;
    std::string text;                // Text and Ident
    std::vector<std::string> items;  // Set and List
    int line = 0;
};

struct TDefObject {
    std::string name;
    std::string kind;
    int line = 0;
    std::vector<std::pair<std::string, TDefValue>> properties;  // in the order written
    std::vector<TDefObject> children;                           // in creation order
};

// Parses a whole definition holding one root object. Raises EParserError naming the line and
// what was wrong.
TDefObject ParseFormDefinition(const std::string& text);

// An EParserError for a value or property at a given line.
[[noreturn]] void DefinitionError(int line, const std::string& what);

}  // namespace forms
