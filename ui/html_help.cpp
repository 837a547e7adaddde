#include "ui/html_help.h"

#include <vector>

#include "platform/system_library.h"

namespace {
const char kHtmlHelpClassKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const char kHtmlHelpLibrary[] = "hhctrl.ocx";
constexpr WORD kHtmlHelpAOrdinal = 14;
} // namespace

HtmlHelpLibrary::HtmlHelpLibrary() : HtmlHelpLibrary(kHtmlHelpClassKey, kHtmlHelpLibrary) {}

HtmlHelpLibrary::HtmlHelpLibrary(std::string classKey, std::string libraryName)
    : classKey_(std::move(classKey)), libraryName_(std::move(libraryName)) {}

HMODULE HtmlHelpLibrary::LoadRegistered() const {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, classKey_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return nullptr;
    DWORD type = 0, size = 0;
    std::vector<char> path;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0 &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        path.resize(size + 1);
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path.data()), &size) !=
            ERROR_SUCCESS)
            path.clear();
    }
    RegCloseKey(key);
    if (path.empty()) return nullptr;
    path[size] = '\0'; // a stored value need not end in one
    std::string file = path.data();
    if (type == REG_EXPAND_SZ) {
        char expanded[MAX_PATH];
        const DWORD n = ExpandEnvironmentStringsA(file.c_str(), expanded, sizeof expanded);
        if (n == 0 || n > sizeof expanded) return nullptr;
        file = expanded;
    }
    // Only the system's own control: a registration that names a library elsewhere (or a bare
    // name, which the search would look for beside the program first) is passed over.
    if (!InSystemFolder(file)) return nullptr;
    return LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool HtmlHelpLibrary::Available() {
    if (lookups_ == 0) {
        ++lookups_;
        // A registration that points at a library that is gone is as good as none.
        HMODULE library = LoadRegistered();
        if (!library) library = LoadSystemLibrary(libraryName_.c_str());
        if (library)
            function_ = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(kHtmlHelpAOrdinal))));
    }
    return function_ != nullptr;
}

HWND HtmlHelpLibrary::Call(HWND caller, const char* file, UINT command, DWORD_PTR data) {
    return Available() ? function_(caller, file, command, data) : nullptr;
}

HtmlHelpLibrary& ProcessHtmlHelp() {
    static HtmlHelpLibrary library;
    return library;
}
