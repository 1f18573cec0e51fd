// The form definition reader: what it builds, and how it refuses a malformed definition.
#include <gtest/gtest.h>

#include "forms/FormDef.h"
#include "forms/Forms.h"
#include "forms/SysUtils.h"

namespace {

using forms::EParserError;
using forms::ParseFormDefinition;
using forms::TDefValue;

TEST(FormDefinition, ReadsObjectsPropertiesAndValues) {
    auto form = ParseFormDefinition(
        "// comment\n"
        "object Form1: TForm1\n"
        "  Left = -5\n"
        "  Caption = 'It''s here'\n"
        "  BorderIcons = [biSystemMenu, biHelp]\n"
        "  Font.Style = []\n"
        "  object Memo1: TMemo\n"
        "    Lines.Strings = (\n"
        "      'one '\n"
        "      ''\n"
        "      'two')\n"
        "    OnClick = Go\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(form.name, "Form1");
    EXPECT_EQ(form.kind, "TForm1");
    ASSERT_EQ(form.properties.size(), 4u);
    EXPECT_EQ(form.properties[0].second.number, -5);
    EXPECT_EQ(form.properties[1].second.text, "It's here");
    EXPECT_EQ(form.properties[2].second.items, (std::vector<std::string>{"biSystemMenu", "biHelp"}));
    EXPECT_TRUE(form.properties[3].second.items.empty());
    ASSERT_EQ(form.children.size(), 1u);
    const auto& memo = form.children[0];
    EXPECT_EQ(memo.line, 7);
    EXPECT_EQ(memo.properties[0].second.items, (std::vector<std::string>{"one ", "", "two"}));
    EXPECT_EQ(memo.properties[1].second.kind, TDefValue::Ident);
}

std::string ParseError(const std::string& text) {
    try {
        ParseFormDefinition(text);
    } catch (const EParserError& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(FormDefinition, NamesTheLineAndTheFaultOfAMalformedDefinition) {
    const struct { const char* text; const char* message; } cases[] = {
        {"", "line 1: expected 'object'"},
        {"object Form1 TForm1\nend\n", "line 1: expected ':'"},
        {"object Form1: TForm1\n  Left 5\nend\n", "line 2: expected '='"},
        {"object Form1: TForm1\n  Caption = 'open\nend\n", "line 2: text not closed by a quote"},
        {"object Form1: TForm1\n  Left = 1\n", "line 3: 'end' missing for object Form1"},
        {"object Form1: TForm1\n  Left = 1\n  Left = 2\nend\n", "line 3: property Left given twice"},
        {"object Form1: TForm1\n  Tag = @\nend\n", "line 2: unexpected '@'"},
        {"object Form1: TForm1\nend\nend\n", "line 3: text after the last 'end'"},
        {"object Form1: TForm1\n  Lines = (\n 'a'\n  x)\nend\n", "line 4: expected a quoted line or ')'"},
        {"object Form1: TForm1\n  Left = 99999999999\nend\n", "line 2: bad number '99999999999'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseError(c.text), std::string("Form definition, ") + c.message) << c.text;
}

// A form whose definition names what the form does not have.
class TLoadForm : public forms::TForm {
public:
    explicit TLoadForm(forms::TApplication* owner) : TForm(owner, "TLoadForm") {
        Publish("Button1", Button1);
        Publish<&TLoadForm::Button1Click>("Button1Click");
    }
    void Button1Click(forms::TObject*) {}
    forms::TButton* Button1 = nullptr;
};

std::string LoadError(const std::string& body) {
    TLoadForm form(forms::Application);
    try {
        form.CreateFromDefinition("object LoadForm: TLoadForm\n" + body + "end\n");
    } catch (const forms::Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

TEST(FormDefinition, RefusesWhatTheFormCannotHold) {
    const char* button = "  object Button1: TButton\n    Caption = 'x'\n  end\n";
    const struct { std::string body; const char* message; } cases[] = {
        {std::string("  Colour = clRed\n") + button, "line 2: unknown property Colour of the form"},
        {std::string("  OnCreate = Missing\n") + button, "line 2: TLoadForm has no method Missing"},
        {"  object Button1: TButtn\n  end\n", "line 2: unknown control kind TButtn"},
        {"  object Button1: TLabel\n  end\n", "line 2: the field Button1 does not hold a TLabel"},
        {"  object Button1: TButton\n    Wdth = 3\n  end\n", "line 3: unknown property Wdth of TButton"},
        {"  object Button1: TButton\n    Enabled = Yes\n  end\n", "line 3: expected True or False"},
        {"  object Button1: TButton\n    OnClick = Button1Clik\n  end\n", "line 3: TLoadForm has no method Button1Clik"},
        {"  object Other: TButton\n  end\n", "line 1: no control named Button1"},
        {std::string(button) + "  object Image1: TImage\n    Picture = 'NOPE'\n  end\n",
         "line 6: no bitmap or icon picture named 'NOPE' in the image"},
        {std::string(button) + button, "line 5: a second control named Button1"},
    };
    for (const auto& c : cases) EXPECT_EQ(LoadError(c.body), std::string("Form definition, ") + c.message) << c.body;
}

}  // namespace
