// The live configuration and its file beside the program.
#pragma once

#include <windows.h>

#include <string>

#include "config_record.h"

// The one live configuration: empty at start, replaced by loadConfig and
// by the configuration dialog.
extern GameConfig gameConfig;

// The program's own folder, with its trailing backslash.
std::wstring programFolder();
std::wstring configFilePath();
bool configFileExists();

// Each operation below works on the file at configFilePath(), or on the
// file given.

// Replaces gameConfig from the last complete record of the file; a missing
// file is created empty. A file that cannot be read leaves gameConfig as it was.
void loadConfig();
void loadConfig(const std::wstring& path);

// Appends gameConfig as a new record after the file's last complete record.
// Returns ERROR_SUCCESS, or the system's code for what stopped it.
DWORD saveConfig();
DWORD saveConfig(const std::wstring& path);

// Stores gameConfig as the only record of a new file that takes the old
// one's place once written in full, marks and all; where the folder takes
// no new file, appends it to the old file instead. A file that another
// program holds is waited for a moment, then refused, never appended to.
// Nothing stored before is lost on any path. Then reloads the file.
// Returns ERROR_SUCCESS, or the system's code for what stopped the last way
// tried.
DWORD replaceConfigFile();
DWORD replaceConfigFile(const std::wstring& path);
