// Operating-system utilities on the Win32 API: messages, version, environment, processes, files,
// directories, drives, time and registry. Each returns the system's code (0 = success) and reports
// nothing.
#include "toolkit/win/os_utilities.h"

#include "toolkit/win/lower_layer_hooks_win.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

// A NUL-terminated copy of a text for the system.
std::string z(std::string_view s)
{
    return std::string(s);
}

HANDLE to_handle(OsHandle h)
{
    return reinterpret_cast<HANDLE>(h);
}

int error_of(BOOL ok)
{
    return ok ? 0 : static_cast<int>(GetLastError());
}

// A predefined registry root from its system number (sign-extended as the system defines them);
// null for any other number.
HKEY registry_root(int root)
{
    unsigned u = static_cast<unsigned>(root);
    if (u < 0x80000000u || u > 0x80000006u)
        return nullptr;
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(root));
}

// Local time of a file time, as system time fields.
SYSTEMTIME local_time_of(const FILETIME& ft)
{
    FILETIME local;
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&ft, &local);
    FileTimeToSystemTime(&local, &st);
    return st;
}

struct FindState {
    HANDLE handle = INVALID_HANDLE_VALUE;  // the one search of IOsFindFile, shared with IOsFindClose
};

FindState FIND_STATE;

int PLATFORM_ID = -1;  // read once from the system

void fill_found(const WIN32_FIND_DATAA& fd, std::string& name, int& attributes, int& datetime, int& size)
{
    name = fd.cFileName;
    attributes = static_cast<int>(fd.dwFileAttributes);
    size = static_cast<int>(fd.nFileSizeLow);
    FILETIME local;
    WORD dos_date = 0;
    WORD dos_time = 0;
    FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &dos_date, &dos_time);
    datetime = static_cast<int>((static_cast<unsigned>(dos_date) << 16) | dos_time);
}

}  // namespace

//--- messages, version, environment, processes

void IOsMessageStop(std::string_view title, std::string_view message)
{
    MessageBoxA(nullptr, z(message).c_str(), z(title).c_str(), MB_TASKMODAL | MB_ICONSTOP);
}

void IOsVersion(int& major, int& minor)
{
    DWORD v = GetVersion();
    major = static_cast<int>(v & 0xFF);
    minor = static_cast<int>((v >> 8) & 0xFF);
}

int IOsPlatformId()
{
    if (PLATFORM_ID < 0) {
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
        PLATFORM_ID = GetVersionExA(&info) ? static_cast<int>(info.dwPlatformId) : VER_PLATFORM_WIN32_NT;
    }
    return PLATFORM_ID;
}

void os_platform_force(int id)
{
    PLATFORM_ID = id;
}

void IOsPlatform(int& code)
{
    code = IOsPlatformId() + 2;
}

void IOsEnvRaw(int& length, std::string_view name, std::string& value, int size)
{
    std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 1), '\0');
    DWORD n = GetEnvironmentVariableA(z(name).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    length = static_cast<int>(n);
    value = n < buffer.size() ? std::string(buffer.data(), n) : std::string();
}

void IOsWinExec(std::string_view command, int& result)
{
    result = static_cast<int>(WinExec(z(command).c_str(), SW_SHOWNORMAL));
}

void IOsRunCommand(std::string_view command, int hide, int wait, int timeout, int& result, int* exit_status)
{
    if (exit_status)
        *exit_status = 0;
    WORD show = hide != 0 ? SW_HIDE : SW_SHOWNORMAL;
    if (wait == 0 || IOsPlatformId() == 0) {
        result = static_cast<int>(WinExec(z(command).c_str(), show));
        return;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show;
    PROCESS_INFORMATION pi = {};
    std::string line = z(command);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi)) {
        result = static_cast<int>(GetLastError());
        return;
    }
    if (timeout >= 0) {
        DWORD w = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(timeout) * 1000);
        result = w == WAIT_TIMEOUT ? -1 : w == WAIT_FAILED ? static_cast<int>(GetLastError()) : 32;
    } else {
        // Keep the program's windows painted while waiting; all other input is dropped.
        for (;;) {
            MSG msg;
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_PAINT)
                    DispatchMessageA(&msg);
                continue;
            }
            DWORD w = WaitForSingleObject(pi.hProcess, 100);
            if (w != WAIT_TIMEOUT) {
                result = w == WAIT_FAILED ? static_cast<int>(GetLastError()) : 32;
                break;
            }
        }
    }
    DWORD code = 0;
    if (exit_status && result == 32 && GetExitCodeProcess(pi.hProcess, &code))
        *exit_status = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void IOsCommandLine(std::string& buffer)
{
    buffer = GetCommandLineA();
}

void IOsModuleName(std::string& buffer, int size)
{
    std::vector<char> b(static_cast<size_t>(size > 0 ? size : 1), '\0');
    DWORD n = GetModuleFileNameA(nullptr, b.data(), static_cast<DWORD>(b.size()));
    buffer.assign(b.data(), n < b.size() ? n : b.size() - 1);
}

void os_exit_process(int code)
{
    ExitProcess(static_cast<UINT>(code));
}

//--- files

void IOsFileOpen(std::string_view name, int mode, OsHandle& handle, int& error)
{
    std::string n = z(name);
    HANDLE h = INVALID_HANDLE_VALUE;
    if (mode == 0) {
        h = CreateFileA(n.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (mode == 1) {
        // Create (or truncate), close, and open again for writing.
        h = CreateFileA(n.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            h = CreateFileA(n.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
        }
    } else {
        h = CreateFileA(n.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    error = h == INVALID_HANDLE_VALUE ? static_cast<int>(GetLastError()) : 0;
    handle = h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<OsHandle>(h);
}

void IOsFileClose(OsHandle handle)
{
    if (handle != -1 && handle != 0)
        CloseHandle(to_handle(handle));
}

void IOsFileRead(OsHandle handle, void* buffer, int n, int& count, int& error)
{
    DWORD done = 0;
    error = error_of(ReadFile(to_handle(handle), buffer, static_cast<DWORD>(n > 0 ? n : 0), &done, nullptr));
    count = error == 0 ? static_cast<int>(done) : 0;
}

void IOsFileWrite(OsHandle handle, const void* buffer, int n, int& count, int& error)
{
    DWORD done = 0;
    error = error_of(WriteFile(to_handle(handle), buffer, static_cast<DWORD>(n > 0 ? n : 0), &done, nullptr));
    count = error == 0 ? static_cast<int>(done) : 0;
}

void IOsFileSeek(OsHandle handle, int& offset, int origin, int& error)
{
    DWORD method = origin == 1 ? FILE_CURRENT : origin == 2 ? FILE_END : FILE_BEGIN;
    SetLastError(0);
    DWORD p = SetFilePointer(to_handle(handle), offset, nullptr, method);
    error = p == INVALID_SET_FILE_POINTER ? static_cast<int>(GetLastError()) : 0;
    if (error == 0)
        offset = static_cast<int>(p);
}

void IOsFileDelete(std::string_view name, int& error)
{
    error = error_of(DeleteFileA(z(name).c_str()));
}

void IOsFileMove(std::string_view old_name, std::string_view new_name, int& error)
{
    error = error_of(MoveFileA(z(old_name).c_str(), z(new_name).c_str()));
}

void IOsFileCopyOne(std::string_view source, std::string_view target, int& error)
{
    error = error_of(CopyFileA(z(source).c_str(), z(target).c_str(), FALSE));
}

void IOsFileAttrSet(int attributes, int& error, std::string_view name)
{
    error = error_of(SetFileAttributesA(z(name).c_str(), static_cast<DWORD>(attributes)));
}

void IOsFileInfo(int& size, int& year, int& month, int& day, int& hour, int& minute, int& second,
                 int& attributes, std::string_view name)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(z(name).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) {
        size = -1;
        return;
    }
    FindClose(h);
    size = static_cast<int>(fd.nFileSizeLow);
    SYSTEMTIME st = local_time_of(fd.ftLastWriteTime);
    year = st.wYear;
    month = st.wMonth;
    day = st.wDay;
    hour = st.wHour;
    minute = st.wMinute;
    second = st.wSecond;
    attributes = static_cast<int>(fd.dwFileAttributes);
}

void IOsFindFile(int mode, std::string& name, int& attributes, int& datetime, int& size, int& error)
{
    WIN32_FIND_DATAA fd;
    if (mode == 0) {
        IOsFindClose();
        FIND_STATE.handle = FindFirstFileA(z(name).c_str(), &fd);
        if (FIND_STATE.handle == INVALID_HANDLE_VALUE) {
            error = static_cast<int>(GetLastError());
            return;
        }
    } else if (FIND_STATE.handle == INVALID_HANDLE_VALUE || !FindNextFileA(FIND_STATE.handle, &fd)) {
        error = 1;
        return;
    }
    error = 0;
    fill_found(fd, name, attributes, datetime, size);
}

void IOsFindClose()
{
    if (FIND_STATE.handle != INVALID_HANDLE_VALUE)
        FindClose(FIND_STATE.handle);
    FIND_STATE.handle = INVALID_HANDLE_VALUE;
}

//--- directories and drives

void IOsDirSet(std::string_view directory, int& error)
{
    error = error_of(SetCurrentDirectoryA(z(directory).c_str()));
}

void IOsDirRemove(std::string_view directory, int& error)
{
    error = error_of(RemoveDirectoryA(z(directory).c_str()));
}

void IOsDirCreate(std::string_view directory, int& error)
{
    error = error_of(CreateDirectoryA(z(directory).c_str(), nullptr));
}

void IOsDirGet(std::string& buffer, int size, int& error, int& truncated)
{
    std::vector<char> b(static_cast<size_t>(size > 0 ? size : 1), '\0');
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(b.size()), b.data());
    error = n == 0 ? static_cast<int>(GetLastError()) : 0;
    truncated = n >= b.size() ? 1 : 0;
    buffer = n > 0 && n < b.size() ? std::string(b.data(), n) : std::string();
}

void IOsSystemDir(std::string& buffer, int size, int& error)
{
    std::vector<char> b(static_cast<size_t>(size > 0 ? size : 1), '\0');
    UINT n = GetSystemDirectoryA(b.data(), static_cast<UINT>(b.size()));
    error = n == 0 || n >= b.size() ? static_cast<int>(GetLastError()) : 0;
    buffer = n > 0 && n < b.size() ? std::string(b.data(), n) : std::string();
    if (error == 0 && buffer.empty())
        error = ERROR_INSUFFICIENT_BUFFER;
}

void IOsVolumeSerial(int& serial, std::string_view root)
{
    // No critical-error box for a drive without a disk.
    UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD s = 0;
    if (!GetVolumeInformationA(z(root).c_str(), nullptr, 0, &s, nullptr, nullptr, nullptr, 0))
        s = 0;
    SetErrorMode(old_mode);
    serial = static_cast<int>(s);
}

void IOsDriveType(int& type, std::string_view root)
{
    type = static_cast<int>(GetDriveTypeA(z(root).c_str()));
}

void IOsDiskFree(int& bytes)
{
    DWORD sectors = 0, sector_bytes = 0, free_clusters = 0, clusters = 0;
    bytes = 0;
    if (!GetDiskFreeSpaceA(nullptr, &sectors, &sector_bytes, &free_clusters, &clusters))
        return;
    // A 32-bit product overflows above 4 GiB (and goes negative above 2 GiB): form it in 64 bits and
    // saturate at the largest integer.
    unsigned long long product = static_cast<unsigned long long>(sectors) * sector_bytes * free_clusters;
    bytes = product > 2147483647ULL ? 2147483647 : static_cast<int>(product);
}

//--- time

void IOsDate(int& year, int& month, int& day)
{
    SYSTEMTIME st;
    if (IOsPlatformId() == 0)
        GetSystemTime(&st);
    else
        GetLocalTime(&st);
    year = st.wYear;
    month = st.wMonth;
    day = st.wDay;
}

void IOsTime(int& hour, int& minute, int& second, int& millisecond)
{
    SYSTEMTIME st;
    if (IOsPlatformId() == 0)
        GetSystemTime(&st);
    else
        GetLocalTime(&st);
    hour = st.wHour;
    minute = st.wMinute;
    second = st.wSecond;
    millisecond = st.wMilliseconds;
}

void IOsTicks(int& ticks)
{
    ticks = static_cast<int>(GetTickCount());
}

//--- registry

void IOsRegDeleteKey(int root, int& status, std::string_view subkey)
{
    HKEY r = registry_root(root);
    status = r ? static_cast<int>(RegDeleteKeyA(r, z(subkey).c_str())) : ERROR_INVALID_HANDLE;
}

void IOsRegRead(int root, int& type, int& size, std::string_view subkey, std::string_view value_name,
                void* data)
{
    HKEY r = registry_root(root);
    HKEY key = nullptr;
    if (!r || RegOpenKeyExA(r, z(subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD t = 0;
    DWORD n = static_cast<DWORD>(size > 0 ? size : 0);
    LONG rc = RegQueryValueExA(key, z(value_name).c_str(), nullptr, &t,
                               size > 0 ? static_cast<BYTE*>(data) : nullptr, &n);
    if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
        type = static_cast<int>(t);
        size = static_cast<int>(n);
    } else {
        type = -2;
        size = 0;
    }
    RegCloseKey(key);
}

void IOsRegWrite(int root, int type, int& status, std::string_view subkey, std::string_view value_name,
                 const void* data, int length)
{
    HKEY r = registry_root(root);
    if (!r) {
        status = ERROR_INVALID_HANDLE;
        return;
    }
    HKEY key = nullptr;
    status = static_cast<int>(RegCreateKeyExA(r, z(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              KEY_WRITE, nullptr, &key, nullptr));
    if (status != ERROR_SUCCESS)
        return;
    status = static_cast<int>(RegSetValueExA(key, z(value_name).c_str(), 0, static_cast<DWORD>(type),
                                             static_cast<const BYTE*>(data),
                                             static_cast<DWORD>(length > 0 ? length : 0)));
    RegCloseKey(key);
}
