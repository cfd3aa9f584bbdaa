#include "app/win32/win32_program.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // The pictures are decoded with WIC and the boxes named through MSAA,
    // both COM; the controls are the common controls of the manifest.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int status = 0;
    {
        app::Win32Program program(instance);
        program.start();
        status = program.run();
    }
    CoUninitialize();
    return status;
}
