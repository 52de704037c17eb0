#include "password_rule.h"

#include "../win/dialog_support.h"

bool passwordOpens(const std::string& stored, const std::wstring& typed, std::size_t capacity, UINT codePage) {
    const AnsiText whole = ansiText(typed, capacity, codePage);
    if (!whole.exact || whole.bytes.empty()) return false;
    if (stored == whole.bytes) return true;
    const std::string earlierCut = ansiText(typed, std::string::npos, codePage).bytes.substr(0, capacity);
    return earlierCut.size() > whole.bytes.size() && stored == earlierCut;
}

std::optional<std::string> passwordToStore(const std::string& stored, const std::wstring& shown,
                                           std::size_t capacity, UINT codePage) {
    if (!stored.empty() && shown == wideText(stored.c_str(), codePage)) return stored;
    const AnsiText typed = ansiText(shown, capacity, codePage);
    if (!typed.exact) return std::nullopt;
    return typed.bytes;
}
