// A library named like the three-dimensional control look's, planted where
// the program must never load it from.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI Ctl3dRegister(HINSTANCE) { return TRUE; }
extern "C" __declspec(dllexport) BOOL WINAPI Ctl3dAutoSubclass(HINSTANCE) { return TRUE; }
