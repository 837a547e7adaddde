#include <windows.h>

#include "app/main_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    CMainApp app(instance);
    app.InitInstance();
    return 0;
}
