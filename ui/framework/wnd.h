#pragma once
// The thin Win32 layer: a window object bound to its HWND, and dialogs built on it.
//
// A CWnd is attached to its window when the window is created (WM_NCCREATE, or WM_INITDIALOG for
// dialogs) and detached at WM_NCDESTROY. Messages reach the virtual OnMessage; whatever a class does
// not handle goes to Default(), which is the window's default procedure. No exception leaves a
// window procedure: a handler that throws is treated as not having handled the message.
#include <windows.h>

#include <cstdint>
#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Registers a window class whose procedure dispatches to CWnd objects.
    static bool RegisterWindowClass(const char* name, HINSTANCE instance, HICON icon, int windowExtra = 0,
                                    HBRUSH background = nullptr, UINT style = 0);
    // What CreateWindowEx needs, by name.
    struct CreateArgs {
        const char* className = nullptr;
        const char* title = "";
        DWORD style = 0;
        DWORD exStyle = 0;
        RECT rect{};       // in the parent's client coordinates, or the screen's for a top-level window
        HWND parent = nullptr;
        UINT_PTR id = 0;   // a child's identifier, or a top-level window's menu
        HINSTANCE instance = nullptr; // null: the program's own
    };
    // Creates a window of a class registered with RegisterWindowClass, attached to this object.
    bool CreateEx(const CreateArgs& args);
    void DestroyWindow();

    // The object attached to a window of this program, or null.
    static CWnd* FromHandle(HWND window);

    // Helpers for child controls.
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool on) { CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    void EnableItem(int id, bool on) { EnableWindow(Item(id), on); }
    void ShowItem(int id, bool show) { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void SetItemText(int id, const char* text) { SetDlgItemTextA(hwnd_, id, text); }
    std::string ItemText(int id) const;
    // Text that is not a decimal number reads as 0.
    int ItemInt(int id) const;
    void SetItemInt(int id, int value) { SetDlgItemInt(hwnd_, id, value, TRUE); }
    LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
    }
    // Up-down control: range and position.
    void SetUpDown(int id, int low, int high, int pos);
    // Moves the window to the middle of `over` (or of the work area when `over` is null).
    void CenterOver(HWND over);

protected:
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of the message: the class's own procedure, or DefWindowProc.
    virtual LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after WM_NCDESTROY, when the handle is already gone.
    virtual void OnFinalDestroy() {}
    // The procedure that Default() calls; DefWindowProcA unless a class says otherwise (the main
    // window's class behaves as a dialog: DefDlgProcA).
    WNDPROC defaultProc_ = DefWindowProcA;

    void Attach(HWND window);
    void Detach();
    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    friend class CDialog;
};
