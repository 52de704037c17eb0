// Reading an accessible object as a screen reader does, for the tests that
// read the card in the program's process and from another one.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>

// The child of an accessible object with that id, CHILDID_SELF for the
// object itself.
inline VARIANT childId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text property as the object answered it: whether it failed, and
// whether it gave a text at all.
struct AccessibleText {
    HRESULT result;
    bool given;
    std::wstring text;
};

template <typename Getter>
AccessibleText readText(Getter get) {
    BSTR value = nullptr;
    const HRESULT result = get(&value);
    AccessibleText read = {result, value != nullptr, value ? std::wstring(value) : std::wstring()};
    SysFreeString(value);
    return read;
}
