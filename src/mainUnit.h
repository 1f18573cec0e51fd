// The installer window and its handlers.
#pragma once
#include <string>

#include "dumpUnit.h"
#include "forms/Forms.h"

using forms::TCloseAction;
using forms::TObject;
using forms::TStringList;

class TForm1 : public forms::TForm {
public:
    forms::TButton* Button1 = nullptr;
    forms::TImage* Image4 = nullptr;
    forms::TImage* Image2 = nullptr;
    forms::TLabel* Label2 = nullptr;
    forms::TLabel* Label4 = nullptr;
    forms::TBevel* Bevel1 = nullptr;
    forms::TLabel* Label5 = nullptr;
    forms::TLabel* Label6 = nullptr;
    forms::TLabel* Label7 = nullptr;
    forms::TImage* Image1 = nullptr;
    forms::TLabel* Label8 = nullptr;
    forms::TButton* Button2 = nullptr;
    forms::TMemo* Memo1 = nullptr;
    forms::TButton* Button3 = nullptr;

    void Button1Click(TObject* Sender);
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void ListDirectory(std::string Path, TStringList& List);

    explicit TForm1(forms::TApplication* Owner);
};

extern TForm1* Form1;

// The folder under which the staging folder lies; always ends in a backslash.
extern std::string BaseDir;

// Writes one kit file into the staging folder.
void WritePayloadFile(const TPayloadFile& Entry);
