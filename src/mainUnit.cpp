#include "mainUnit.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "forms/Registry.h"

using namespace forms;

TForm1* Form1 = nullptr;
std::string BaseDir = "C:\\Windows\\System\\";

namespace {

// The ANSI file functions take paths shorter than MAX_PATH. Windows refuses longer ones; some
// platforms instead wrap an overlong one round to a short, different path. A path that cannot
// be used as it stands is never handed to them.
bool FitsAnsiPath(const std::string& Path) { return Path.size() < MAX_PATH; }

bool DirectoryExists(const std::string& Path) {
    if (!FitsAnsiPath(Path)) return false;
    DWORD Attributes = GetFileAttributesA(Path.c_str());
    return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

TForm1::TForm1(TApplication* Owner) : TForm(Owner, "TForm1") {
    Publish("Button1", Button1);
    Publish("Image4", Image4);
    Publish("Image2", Image2);
    Publish("Label2", Label2);
    Publish("Label4", Label4);
    Publish("Bevel1", Bevel1);
    Publish("Label5", Label5);
    Publish("Label6", Label6);
    Publish("Label7", Label7);
    Publish("Image1", Image1);
    Publish("Label8", Label8);
    Publish("Button2", Button2);
    Publish("Memo1", Memo1);
    Publish("Button3", Button3);
    Publish<&TForm1::Button1Click>("Button1Click");
    Publish<&TForm1::FormCreate>("FormCreate");
    Publish<&TForm1::FormShow>("FormShow");
    Publish<&TForm1::Button2Click>("Button2Click");
    Publish<&TForm1::Button3Click>("Button3Click");
    Publish<&TForm1::FormClose>("FormClose");
}

void TForm1::Button1Click(TObject*) {
    Button1->SetEnabled(false);
    Button3->SetEnabled(false);
    for (const TPayloadFile& Entry : PayloadFiles) WritePayloadFile(Entry);
    ShellExecuteA(Handle(), nullptr, "Setup.exe", nullptr, (BaseDir + "QuorvaneTemp").c_str(), SW_SHOW);
}

void WritePayloadFile(const TPayloadFile& Entry) {
    TFileStream Stream(BaseDir + "QuorvaneTemp\\" + Entry.Name, TFileStream::fmCreate);
    // A short write (a full disk) stops the extraction: a damaged kit is never started.
    Stream.WriteBuffer(Entry.Bytes, Entry.Size);
}

void TForm1::FormCreate(TObject*) {
    TRegistry Registry;
    Registry.RootKey = HKEY_LOCAL_MACHINE;
    if (Registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion", false)) {
        BaseDir = Registry.ReadString("SystemRoot") + "\\";
        Registry.CloseKey();
    }
}

void TForm1::FormShow(TObject*) {
    if (FitsAnsiPath(BaseDir + "QuorvaneTemp")) CreateDirectoryA((BaseDir + "QuorvaneTemp").c_str(), nullptr);
    if (!DirectoryExists(BaseDir + "QuorvaneTemp")) {
        ShowMessage("Could Not Create " + BaseDir + "QuorvaneTemp");
        Close();
    }
}

void TForm1::Button2Click(TObject*) { Close(); }

void TForm1::Button3Click(TObject*) { Button1->SetEnabled(true); }

void TForm1::FormClose(TObject*, TCloseAction&) {
    if (!DirectoryExists(BaseDir + "QuorvaneTemp")) return;
    TStringList Entries;
    ListDirectory(BaseDir + "QuorvaneTemp", Entries);
    for (const std::string& Entry : Entries) DeleteFileA((BaseDir + "QuorvaneTemp\\" + Entry).c_str());
    RemoveDirectoryA((BaseDir + "QuorvaneTemp").c_str());
}

void TForm1::ListDirectory(std::string Path, TStringList& List) {
    List.Clear();
    if (Path.empty() || Path.back() != '\\') Path += "\\";
    Path += "*.*";
    WIN32_FIND_DATAA Found;
    UniqueFind Search(FindFirstFileA(Path.c_str(), &Found));
    if (Search) {
        do {
            std::string Name(Found.cFileName, strnlen(Found.cFileName, sizeof Found.cFileName));
            List.Add((Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "[" + Name + "]" : Name);
        } while (FindNextFileA(Search.Get(), &Found));
        Search.Reset();  // FindClose
    }
    int Index = List.IndexOf("[..]");
    if (Index >= 0) List.Delete(Index);
    Index = List.IndexOf("[.]");
    if (Index >= 0) List.Delete(Index);
}
