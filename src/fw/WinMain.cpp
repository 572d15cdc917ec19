// The program's entry point: hands the instance to the one application
// object and runs it.
#include "fw/Afx.h"
#include "fw/WinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->SetInstance(instance);
    AfxInitCommonControls();
    if (!app->InitInstance())
        return 0;
    return app->Run();
}
