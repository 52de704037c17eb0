#include "snapshot.h"

#include "bmp_layout.h"
#include "win_handles.h"

bool saveBitmapFile(HBITMAP bitmap, const std::wstring& path) {
    BITMAP source;
    if (path.empty() || !GetObjectW(bitmap, sizeof source, &source) || source.bmWidth <= 0 || source.bmHeight <= 0) {
        return false;
    }
    const LONG width = source.bmWidth;
    const LONG height = source.bmHeight;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    GdiObject<HBITMAP> copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!copy || !pixels) return false;
    {
        MemoryDc target;
        MemoryDc from;
        Selection into(target.get(), copy.get());
        Selection out(from.get(), bitmap);
        if (!BitBlt(target.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY)) return false;
    }
    GdiFlush();

    const auto headers = bmpHeaders(width, height);
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && writeAll(file.get(), headers.data(), bmpFileHeaderSize) &&
           writeAll(file.get(), headers.data() + bmpFileHeaderSize, bmpInfoHeaderSize) &&
           writeAll(file.get(), pixels, bmpStride(width) * static_cast<DWORD>(height)) && SetEndOfFile(file.get());
}
