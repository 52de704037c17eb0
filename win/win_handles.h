// Small owners for Win32 handles, so that every handle is released on every
// path. None of them can be copied.
#pragma once

#include <windows.h>

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// A handle that this scope made and releases with Release.
template <typename T, typename Release>
class OwnedHandle {
public:
    explicit OwnedHandle(T handle = nullptr) : handle_(handle) {}
    ~OwnedHandle() {
        if (handle_) Release()(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Releases the handle held, and holds this one instead.
    void reset(T handle) {
        if (handle_) Release()(handle_);
        handle_ = handle;
    }

private:
    T handle_;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// A GDI object (bitmap, font, brush) that this scope created and deletes.
template <typename T>
using GdiObject = OwnedHandle<T, DeleteGdiObject>;
// An icon that this scope loaded and destroys.
using IconHandle = OwnedHandle<HICON, DestroyIconHandle>;

// A memory device context compatible with the screen.
class MemoryDc {
public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
