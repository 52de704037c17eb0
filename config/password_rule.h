// The set-up's password between the text typed in a dialog and the bytes
// that the configuration file keeps in the system's ANSI code page.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Whether `typed` opens a stored password of at most `capacity` bytes:
// typed text cut at whole characters matches it byte for byte. Copies
// built before the whole-character cut stored the first `capacity` bytes,
// maybe half a character at the end: typed text cut that way opens those.
// Text that the code page cannot hold exactly opens nothing.
bool passwordOpens(const std::string& stored, const std::wstring& typed, std::size_t capacity,
                   UINT codePage = CP_ACP);

// The bytes to store for the password shown in the configuration dialog:
// the stored ones where it is shown as it was (one that an earlier copy cut
// inside a character would not come back the same), else the text cut at
// whole characters; none where the code page cannot hold it exactly, as
// "?" marks or look-alikes would then open it, and nobody could type it
// again to reach the set-up.
std::optional<std::string> passwordToStore(const std::string& stored, const std::wstring& shown,
                                           std::size_t capacity, UINT codePage = CP_ACP);
