// Writing files: in full or not at all, and replacing a file so that a
// failure can never cost what it held before.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// One write of the whole buffer; false on an error or a short write.
bool writeAll(HANDLE file, const void* bytes, DWORD size);

// The system's code for the failure just seen; a short write leaves none of
// its own.
DWORD lastFailure();

// Clears a file's read-only, hidden and system marks for as long as this
// scope lasts; they come back at its end unless keep() was called (or the
// file had none).
class ClearedMarks {
public:
    explicit ClearedMarks(const std::wstring& path);
    ~ClearedMarks();
    ClearedMarks(const ClearedMarks&) = delete;
    ClearedMarks& operator=(const ClearedMarks&) = delete;

    void keep() { kept_ = true; }

private:
    std::wstring path_;
    DWORD previous_;
    bool kept_ = false;
};

enum class OldFileMarks { refuseReadOnly, clear };

// Writes a file's new contents (through writeContents, into a new file
// beside it) and only once they are written in full and on disk puts that
// file in its place. Any failure leaves the old file exactly as it was and
// no temporary file behind. A file that another program holds open without
// sharing its deletion is not replaced, nor is a read-only one unless its
// marks are to be cleared. Returns ERROR_SUCCESS, or the system's code for
// what stopped it.
DWORD replaceFile(const std::wstring& path, const std::function<bool(HANDLE file)>& writeContents,
                  OldFileMarks oldMarks);
