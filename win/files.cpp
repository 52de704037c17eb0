#include "files.h"

#include <optional>

#include "win_handles.h"

namespace {

constexpr DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Enough names for every copy of the program saving at the same moment.
constexpr unsigned temporaryNameTries = 100;

// A new, empty file beside the target, open for writing.
HANDLE createTemporary(const std::wstring& path, std::wstring& temporary) {
    const std::wstring stem = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned n = 0; n < temporaryNameTries; ++n) {
        temporary = stem + std::to_wstring(n) + L".tmp";
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

DWORD writeTemporary(HANDLE file, const std::function<bool(HANDLE file)>& writeContents) {
    FileHandle owner(file);
    if (!writeContents(file) || !FlushFileBuffers(file)) return lastFailure();
    return ERROR_SUCCESS;
}

// Asking for the right to delete conflicts exactly with the openers that
// would make Windows refuse the replacement; Wine would rename over them.
DWORD checkReplaceable(const std::wstring& path, OldFileMarks oldMarks) {
    FileHandle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lastFailure();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (oldMarks == OldFileMarks::refuseReadOnly && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

}  // namespace

bool writeAll(HANDLE file, const void* bytes, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, bytes, size, &written, nullptr) && written == size;
}

DWORD lastFailure() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
}

ClearedMarks::ClearedMarks(const std::wstring& path) : path_(path), previous_(GetFileAttributesW(path.c_str())) {
    if (previous_ != INVALID_FILE_ATTRIBUTES && (previous_ & marks)) {
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    }
}

ClearedMarks::~ClearedMarks() {
    if (!kept_ && previous_ != INVALID_FILE_ATTRIBUTES && (previous_ & marks)) {
        SetFileAttributesW(path_.c_str(), previous_);
    }
}

DWORD replaceFile(const std::wstring& path, const std::function<bool(HANDLE file)>& writeContents,
                  OldFileMarks oldMarks) {
    std::wstring temporary;
    HANDLE file = createTemporary(path, temporary);
    if (file == INVALID_HANDLE_VALUE) return lastFailure();
    DWORD error = writeTemporary(file, writeContents);
    if (error == ERROR_SUCCESS) error = checkReplaceable(path, oldMarks);
    if (error == ERROR_SUCCESS) {
        std::optional<ClearedMarks> cleared;
        if (oldMarks == OldFileMarks::clear) cleared.emplace(path);
        if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            if (cleared) cleared->keep();
            return ERROR_SUCCESS;
        }
        error = lastFailure();
    }
    DeleteFileW(temporary.c_str());
    return error;
}
