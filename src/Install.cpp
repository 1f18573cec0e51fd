// The program entry: initialize the application, create Form1, run the event loop.
#include <windows.h>

#include "mainUnit.h"

using forms::Application;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->Run();  // ends the process when the loop ends
    } catch (const forms::Exception& e) {
        Application->ShowApplicationError(e);
        return 1;
    } catch (const std::exception& e) {
        Application->ShowApplicationError(forms::Exception(e.what()));
        return 1;
    }
}
