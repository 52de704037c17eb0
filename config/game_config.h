// The live configuration and its file beside the program.
#pragma once

#include <string>

#include "config_record.h"

// The one live configuration: empty at start, replaced by loadConfig and
// by the configuration dialog.
extern GameConfig gameConfig;

// The program's own folder, with its trailing backslash.
std::wstring programFolder();
std::wstring configFilePath();
bool configFileExists();

// Replaces gameConfig from the last complete record of the file; a missing
// file is created empty. A file that cannot be read leaves gameConfig as it was.
void loadConfig();

// Appends gameConfig as a new record after the file's last complete record.
// Returns true when the whole record was written.
bool saveConfig();

// Stores gameConfig as the only record of the file, then reloads it. The new
// file takes the old one's place only once it has been written in full, so a
// failed save leaves the previous file as it was. Returns true when stored.
bool replaceConfigFile();
