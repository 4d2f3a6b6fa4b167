#include "application.h"
#include "main_window.h"

using classlib::Application;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Application->CreateForm(Form1);
        Application->Run();
        return 0;
    } catch (const classlib::Exception& exception) {
        Application->ShowException(exception);
    } catch (...) {
        Application->ShowException(classlib::Exception(""));
    }
    // A start that failed must not look like success to whoever started the program.
    return 1;
}
