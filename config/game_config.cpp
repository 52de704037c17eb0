#include "game_config.h"

#include <windows.h>

#include <vector>

#include "../resources/strings.h"
#include "../shell/win_handles.h"

GameConfig gameConfig;

namespace {

bool fileSize(HANDLE file, ULONGLONG& size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(file, &value)) return false;
    size = static_cast<ULONGLONG>(value.QuadPart);
    return true;
}

bool seekTo(HANDLE file, ULONGLONG offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

// Writes gameConfig as a new record after the last complete record of a
// file (a missing file is created); partial records at the end are ignored.
bool appendRecord(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ULONGLONG size = 0;
    if (!file.valid() || !fileSize(file.get(), size)) return false;
    ConfigRecord record = encodeRecord(gameConfig);
    return seekTo(file.get(), size / recordSize * recordSize) &&
           writeAll(file.get(), record.data(), recordSize) && FlushFileBuffers(file.get());
}

// Somebody else holding the file open without sharing must make the save
// fail, as it would on a volume where a file in use cannot be replaced.
bool fileIsFreeToReplace(const std::wstring& path) {
    FileHandle probe(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::wstring programFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L'\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring configFilePath() { return programFolder() + editionTexts.configFileName; }

bool configFileExists() { return GetFileAttributesW(configFilePath().c_str()) != INVALID_FILE_ATTRIBUTES; }

void loadConfig() {
    FileHandle file(CreateFileW(configFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ULONGLONG size = 0;
    if (!file.valid() || !fileSize(file.get(), size) || size < recordSize) return;

    // Every record replaces every field, so the last complete one decides.
    ConfigRecord record;
    DWORD read = 0;
    if (!seekTo(file.get(), (size / recordSize - 1) * recordSize) ||
        !ReadFile(file.get(), record.data(), recordSize, &read, nullptr) || read != recordSize) {
        return;
    }
    decodeRecord(record.data(), gameConfig);
}

bool saveConfig() { return appendRecord(configFilePath()); }

bool replaceConfigFile() {
    const std::wstring path = configFilePath();
    const std::wstring folder = programFolder();
    wchar_t temporary[MAX_PATH + 16];
    bool stored = false;
    if (folder.size() < MAX_PATH - 14 && GetTempFileNameW(folder.c_str(), L"cfg", 0, temporary)) {
        // The temporary file starts empty, so the record lands at offset 0.
        const bool written = appendRecord(temporary);
        if (written && fileIsFreeToReplace(path)) {
            // Clearing read-only, hidden and system lets such a file be replaced;
            // the marks come back if the old file has to stay.
            DWORD oldAttributes = GetFileAttributesW(path.c_str());
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
            stored = MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            if (!stored && oldAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), oldAttributes);
        }
        if (!stored) DeleteFileW(temporary);
    }
    loadConfig();
    return stored;
}
