#include "snapshot.h"

#include <vector>

#include "bmp_layout.h"
#include "../win/files.h"
#include "../win/win_handles.h"

bool saveBitmapFile(HBITMAP bitmap, const std::wstring& path) {
    BITMAP source;
    if (path.empty() || !GetObjectW(bitmap, sizeof source, &source) || source.bmWidth <= 0 || source.bmHeight <= 0) {
        return false;
    }
    const LONG width = source.bmWidth;
    const LONG height = source.bmHeight;

    // The 24-bit, bottom-up copy of the pixels, straight into the file's row
    // layout; the rows' padding stays zero.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bmpBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<size_t>(bmpStride(width)) * static_cast<size_t>(height));
    {
        MemoryDc dc;
        if (GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height) {
            return false;
        }
    }

    const auto headers = bmpHeaders(width, height);
    auto writeBitmap = [&](HANDLE file) {
        return writeAll(file, headers.data(), bmpFileHeaderSize) &&
               writeAll(file, headers.data() + bmpFileHeaderSize, bmpInfoHeaderSize) &&
               writeAll(file, pixels.data(), bmpStride(width) * static_cast<DWORD>(height));
    };
    // The previous photocopy stays as it was until the new one is whole.
    return replaceFile(path, writeBitmap, OldFileMarks::refuseReadOnly) == ERROR_SUCCESS;
}
