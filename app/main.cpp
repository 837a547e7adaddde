#include <windows.h>

#include "app/main_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    RestrictLibrarySearch();
    CMainApp app(instance);
    return app.Run(arguments ? arguments : "");
}
