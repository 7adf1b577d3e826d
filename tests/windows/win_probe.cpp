// What Windows itself reports, for tst_setup.sh under Wine:
//   win_probe window TITLE  the top-level window's styles, outer size and client area
//                           ("style 94c80000 exstyle 00000100 outer 318x181 client 312x159+X+Y",
//                           the client area's top-left corner in screen coordinates)
//   win_probe version FILE  the version record of a program ("1.0.0.0 1.00")
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int window(const wchar_t* title) {
    HWND handle = FindWindowW(nullptr, title);
    if (handle == nullptr) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    RECT outer{};
    RECT client{};
    GetWindowRect(handle, &outer);
    GetClientRect(handle, &client);
    POINT origin{0, 0};
    ClientToScreen(handle, &origin);
    std::printf("style %08lx exstyle %08lx outer %ldx%ld client %ldx%ld+%ld+%ld\n",
                static_cast<unsigned long>(GetWindowLongPtrW(handle, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongPtrW(handle, GWL_EXSTYLE)),
                outer.right - outer.left, outer.bottom - outer.top, client.right, client.bottom,
                origin.x, origin.y);
    return 0;
}

int version(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    std::vector<char> record(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(file, 0, size, record.data()) ||
        !VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        std::fputs("no version record\n", stderr);
        return 1;
    }
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    wchar_t* product = nullptr;
    if (VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        length >= sizeof(Translation)) {
        wchar_t key[64];
        std::swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation->language,
                      translation->codePage);
        VerQueryValueW(record.data(), key, reinterpret_cast<void**>(&product), &length);
    }
    std::printf("%u.%u.%u.%u %ls\n", HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS), product != nullptr ? product : L"-");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"window") {
        return window(argv[2]);
    }
    if (argc == 3 && std::wstring(argv[1]) == L"version") {
        return version(argv[2]);
    }
    std::fputs("usage: win_probe window TITLE | version FILE\n", stderr);
    return 2;
}
