// Helpers for the tests that run under Wine against the real Win32 modules.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::wstring testFolder();
std::vector<unsigned char> readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool fileExists(const std::wstring& path);
// Removes a file whatever its read-only, hidden or system marks.
void removeFile(const std::wstring& path);
