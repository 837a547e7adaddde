#pragma once
// Owners of the system's handles: each closes its handle however the scope that holds it ends, so
// that no code of the program closes a raw handle by hand. Header only.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// A kernel handle: file, thread, process, token, event or mutex. Both null and INVALID_HANDLE_VALUE
// mean "none".
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle = nullptr) {
        Close();
        handle_ = handle;
    }
    // Hands the handle to the caller, who closes it.
    HANDLE Release() { return std::exchange(handle_, nullptr); }
    void Close() {
        if (valid()) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// A search of FindFirstFileA.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (valid()) FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// An open registry key.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY root, const std::string& path, REGSAM access) {
        Close();
        return RegOpenKeyExA(root, path.c_str(), 0, access, &key_);
    }
    // Opens the key, creating it and the keys above it when they are missing.
    LONG Create(HKEY root, const std::string& path, REGSAM access) {
        Close();
        return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr);
    }
    void Close() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY get() const { return key_; }

    // The names of the subkeys, in enumeration order, up to the first name that cannot be read.
    std::vector<std::string> SubkeyNames() const {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[260];
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        return names;
    }
    // The names of the values, in enumeration order, up to the first that cannot be read.
    std::vector<std::string> ValueNames() const {
        std::vector<std::string> names;
        for (DWORD index = 0;; ++index) {
            char name[16384]; // the longest value name the registry allows, and its NUL
            DWORD length = sizeof name;
            if (RegEnumValueA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        return names;
    }

private:
    HKEY key_ = nullptr;
};
