// The Photocopy file: the card canvas as a 24-bit BMP.
#pragma once

#include <windows.h>

#include <string>

// Writes the bitmap as a 24-bit bottom-up BMP file, replacing any older file
// of that name. True only when the new file was written in full and took the
// old one's place; otherwise the old file is left as it was.
bool saveBitmapFile(HBITMAP bitmap, const std::wstring& path);
