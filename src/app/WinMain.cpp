// The program's entry point: the one application object, run to its end.
#include "app/SetupApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    SetupApp app;
    return app.Main(instance);
}
