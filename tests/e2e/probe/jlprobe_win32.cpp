// jlprobe: the test bed's hands and eyes on the Windows side.
//
//   jlprobe run <job file>    start a program with an exact command line, report
//                             every window it shows, act on each, report the
//                             full 32-bit exit code
//   jlprobe strings <exe>     every string-table entry of an executable, by language
//   jlprobe resources <exe>   every resource (type, name, language, size)
//   jlprobe resource <exe> <type> <name>
//                             the bytes of each language of one resource, in hex
//   jlprobe version <exe>     the version record as GetFileVersionInfoW/VerQueryValueW read it
//   jlprobe icon <exe>        icon group 128 loaded at 16, 32, 48 and 256 pixels: the size
//                             of the image Windows picked and the colour of its centre
//   jlprobe memory            the machine's memory as Windows reports it
//   jlprobe many <job file>   start one process per cmdline= line at once, report
//                             each one's full exit code and the time all took
//   jlprobe mapping <name> <n>  the first n bytes of a named file mapping, in hex
//   jlprobe picture <ole|wic> <image> <x>,<y>...
//                             decode an image as the splash does (ole: the
//                             picture loader, falling back to the imaging
//                             component; wic: the imaging component alone) and
//                             report its pixel size and the colours at points
//
// Job file (UTF-8, key=value per line): exe=, cmdline=, cwd=, timeout= (ms),
// and one window= line per expected window, in order of appearance, holding
// actions separated by ';': press:<id>, shot:<bmp path>, close, leave,
// wait:<ms>, resize:<width>,<height>, grow:<by x>,<by y> (of the outer size), report, modules (the process's loaded
// modules), click:<id>,<x>,<y>[,<x2>,<y2>] (press at one point of a control,
// release at the same or another), key:<id>,<virtual key>, and
// browse:<button id>,<folder> (the button opens the shell's folder browser,
// which is reported, set to the folder and confirmed). A window without a
// line gets press:1.
// For a console program: stdio=pipe (its stdout and stderr are reported in
// an "output" event) or stdio=console (a console shared with the probe, whose
// screen is reported in a "console" event), and console_event=<ctrl-c|close>,
// <file>: the event is sent once the file exists. affinity=<mask> (hex): the
// processors the program may run on, set while it is created suspended.
// A reported window that is hidden or destroyed while the program runs is
// reported "gone". Times ("ms") count from the program's process creation
// (reported at the start in ms since 1970, "created"); a window's is when
// the probe first saw it.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "child_stdio_win32.h"
#include "json_out_win32.h"
#include "picture_report_win32.h"
#include "window_report_win32.h"

namespace {

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

struct Job {
    std::wstring exe, commandLine, folder, stdio, consoleEvent, consoleEventWhen;
    std::vector<std::wstring> commandLines;  // every cmdline= line, for many
    DWORD timeout = 30000;
    DWORD_PTR affinity = 0;  // 0: as the probe's
    std::vector<std::wstring> windowActions;
};

bool readJob(const wchar_t* path, Job& job) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::wstring value = fromUtf8(line.substr(equals + 1));
        if (key == "exe") job.exe = value;
        else if (key == "cmdline") job.commandLine = value, job.commandLines.push_back(value);
        else if (key == "cwd") job.folder = value;
        else if (key == "timeout") job.timeout = std::stoul(line.substr(equals + 1));
        else if (key == "window") job.windowActions.push_back(value);
        else if (key == "stdio") job.stdio = value;
        else if (key == "affinity") job.affinity = std::stoull(line.substr(equals + 1), nullptr, 16);
        else if (key == "console_event") {
            const auto comma = value.find(L',');
            job.consoleEvent = value.substr(0, comma);
            job.consoleEventWhen = comma == std::wstring::npos ? L"" : value.substr(comma + 1);
        }
    }
    if (job.commandLine.empty()) job.commandLine = L"\"" + job.exe + L"\"";
    return !job.exe.empty();
}

struct WindowSearch {
    DWORD processId;
    const std::set<HWND>* known;
    std::vector<HWND> found;
};

std::vector<HWND> newWindowsOf(DWORD processId, const std::set<HWND>& known) {
    WindowSearch search{processId, &known, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window) && !s->known->count(window)) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

long long ticks(const FILETIME& time) {
    return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

long long creationTicks(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return ticks(created);
}

std::string millisecondsSinceCreation(HANDLE process) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return std::to_string((ticks(now) - creationTicks(process)) / 10000.0);
}

std::vector<int> numbers(const std::wstring& list) {
    std::vector<int> out;
    std::wstringstream items(list);
    std::wstring item;
    while (std::getline(items, item, L',')) out.push_back(std::stoi(item));
    return out;
}

HWND waitForNewWindow(DWORD processId, const std::set<HWND>& known, DWORD timeoutMs) {
    for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; GetTickCount64() < deadline; Sleep(50)) {
        const auto found = newWindowsOf(processId, known);
        if (!found.empty()) return found.front();
    }
    return nullptr;
}

// The folder is written into the dialog's process for BFFM_SETSELECTIONW. A
// fresh prefix has been seen to ignore the first selection, so it is sent twice.
bool browseToFolder(HWND dialog, int index, int buttonId, const std::wstring& folder) {
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog, &processId);
    const auto before = newWindowsOf(processId, {});
    pressButton(dialog, buttonId);
    const HWND browser = waitForNewWindow(processId, std::set<HWND>(before.begin(), before.end()), 10000);
    if (!browser) return false;
    Sleep(300);
    emit(describeWindow(browser, index, "browser"));
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = process ? VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    const bool written = remote && WriteProcessMemory(process, remote, folder.c_str(), bytes, nullptr);
    for (int attempt = 0; written && attempt < 2; ++attempt) {
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote));
        Sleep(300);
    }
    pressButton(browser, IDOK);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (IsWindow(browser) && GetTickCount64() < deadline) Sleep(50);
    // The dialog handles the chosen folder after the browser has gone (path
    // box first, OK button after); a sent message is answered only once that
    // handler has returned, so what is reported next is its final state.
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
    return written && !IsWindow(browser);
}

void act(HWND window, int index, const std::wstring& actions) {
    std::wstringstream list(actions);
    std::wstring action;
    while (std::getline(list, action, L';')) {
        const auto colon = action.find(L':');
        const std::wstring verb = action.substr(0, colon);
        const std::wstring argument = colon == std::wstring::npos ? L"" : action.substr(colon + 1);
        bool done = true;
        if (verb == L"press") {
            done = pressButton(window, std::stoi(argument));
        } else if (verb == L"shot") {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
            Sleep(700); // a shot right after a window appears can be black: let it paint
            done = saveScreenshot(window, argument);
        } else if (verb == L"close") {
            done = PostMessageW(window, WM_CLOSE, 0, 0);
        } else if (verb == L"wait") {
            Sleep(std::stoul(argument));
        } else if (verb == L"resize" || verb == L"grow") {
            const auto size = numbers(argument);
            RECT r{};
            if (verb == L"grow") GetWindowRect(window, &r);
            done = SetWindowPos(window, nullptr, 0, 0, r.right - r.left + size[0], r.bottom - r.top + size[1],
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            Sleep(300);
        } else if (verb == L"report") {
            emit(describeWindow(window, index));
        } else if (verb == L"modules") {
            emit("{\"event\":\"modules\",\"index\":" + std::to_string(index) + ",\"paths\":" + moduleList(window) +
                 "}");
        } else if (verb == L"click") {
            const auto at = numbers(argument);
            const POINT down{at[1], at[2]};
            done = clickControl(window, at[0], down, at.size() >= 5 ? POINT{at[3], at[4]} : down);
            Sleep(300);
        } else if (verb == L"key") {
            const auto key = numbers(argument);
            done = pressKey(window, key[0], static_cast<UINT>(key[1]));
            Sleep(300);
        } else if (verb == L"browse") {
            const auto comma = argument.find(L',');
            done = browseToFolder(window, index, std::stoi(argument.substr(0, comma)), argument.substr(comma + 1));
        } else if (verb != L"leave") {
            done = false;
        }
        emit("{\"event\":\"action\",\"index\":" + std::to_string(index) + ",\"action\":" + jsonString(action) +
             ",\"ok\":" + (done ? "true" : "false") + "}");
    }
}

int runJob(const wchar_t* jobPath) {
    Job job;
    if (!readJob(jobPath, job)) {
        emit("{\"event\":\"error\",\"message\":\"cannot read the job file\"}");
        return 2;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = job.commandLine;
    ChildStdio stdio(job.stdio);
    const BOOL inherit = stdio.prepare(startup);
    // The first look at the windows loads the probe's display driver (some 50 ms
    // under Wine, and the program's start stalls while it does): done before.
    newWindowsOf(GetCurrentProcessId(), {});
    if (!CreateProcessW(job.exe.c_str(), commandLine.data(), nullptr, nullptr, inherit,
                        job.affinity ? CREATE_SUSPENDED : 0, nullptr,
                        job.folder.empty() ? nullptr : job.folder.c_str(), &startup, &process)) {
        emit("{\"event\":\"error\",\"message\":\"CreateProcessW failed\",\"code\":" + std::to_string(GetLastError()) + "}");
        return 2;
    }
    if (job.affinity) {
        if (!SetProcessAffinityMask(process.hProcess, job.affinity)) {
            emit("{\"event\":\"error\",\"message\":\"SetProcessAffinityMask failed\"}");
        }
        ResumeThread(process.hThread);
    }
    constexpr long long kTicksFrom1601To1970 = 116444736000000000;
    emit("{\"event\":\"started\",\"pid\":" + std::to_string(process.dwProcessId) + ",\"created\":" +
         std::to_string((creationTicks(process.hProcess) - kTicksFrom1601To1970) / 10000.0) + "}");

    stdio.started();
    std::set<HWND> known;
    std::vector<HWND> present;  // reported and not yet gone
    int shown = 0;
    bool eventSent = job.consoleEvent.empty();
    const ULONGLONG deadline = GetTickCount64() + job.timeout;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
        stdio.drain();
        if (!eventSent && GetFileAttributesW(job.consoleEventWhen.c_str()) != INVALID_FILE_ATTRIBUTES) {
            eventSent = true;
            sendConsoleEvent(job.consoleEvent, process.hProcess);
        }
        if (GetTickCount64() > deadline) {
            emit("{\"event\":\"timeout\"}");
            TerminateProcess(process.hProcess, 0xDEAD);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        for (std::size_t i = 0; i < present.size(); ++i) {
            // Wine lets other processes see a destroyed window, hidden, until its process ends.
            if (present[i] && !IsWindowVisible(present[i])) {
                present[i] = nullptr;
                emit("{\"event\":\"gone\",\"index\":" + std::to_string(i) +
                     ",\"ms\":" + millisecondsSinceCreation(process.hProcess) + "}");
            }
        }
        for (HWND window : newWindowsOf(process.dwProcessId, known)) {
            known.insert(window);
            present.push_back(window);
            Sleep(150); // let the dialog finish its initialisation
            std::string report = describeWindow(window, shown);
            report.insert(1, "\"ms\":" + millisecondsSinceCreation(process.hProcess) + ",");
            emit(report);
            const std::size_t index = static_cast<std::size_t>(shown++);
            act(window, static_cast<int>(index), index < job.windowActions.size() ? job.windowActions[index] : L"press:1");
        }
    }
    stdio.report();
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    emit("{\"event\":\"exit\",\"code\":" + std::to_string(code) +
         ",\"ms\":" + millisecondsSinceCreation(process.hProcess) + "}");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// All processes are started before the first is waited for, so they run at once.
int runMany(const wchar_t* jobPath) {
    Job job;
    if (!readJob(jobPath, job)) {
        emit("{\"event\":\"error\",\"message\":\"cannot read the job file\"}");
        return 2;
    }
    const ULONGLONG started = GetTickCount64();
    std::vector<HANDLE> processes;
    for (const std::wstring& line : job.commandLines) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring commandLine = line;
        if (!CreateProcessW(job.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            process.hProcess = nullptr;
        } else {
            CloseHandle(process.hThread);
        }
        processes.push_back(process.hProcess);
    }
    const ULONGLONG deadline = started + job.timeout;
    for (std::size_t index = 0; index < processes.size(); ++index) {
        const std::string at = "\"index\":" + std::to_string(index);
        if (!processes[index]) {
            emit("{\"event\":\"error\"," + at + ",\"message\":\"CreateProcessW failed\"}");
            continue;
        }
        const ULONGLONG now = GetTickCount64();
        if (WaitForSingleObject(processes[index], now < deadline ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0) {
            emit("{\"event\":\"timeout\"," + at + "}");
            TerminateProcess(processes[index], 0xDEAD);
        }
        DWORD code = 0;
        GetExitCodeProcess(processes[index], &code);
        CloseHandle(processes[index]);
        emit("{\"event\":\"exit\"," + at + ",\"code\":" + std::to_string(code) + "}");
    }
    emit("{\"event\":\"elapsed\",\"ms\":" + std::to_string(GetTickCount64() - started) + "}");
    return 0;
}

int dumpMapping(const wchar_t* name, std::size_t size) {
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size) : nullptr;
    std::string hex;
    for (std::size_t i = 0; view && i < size; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<const unsigned char*>(view)[i]);
        hex += pair;
    }
    emit("{\"event\":\"mapping\",\"found\":" + std::string(view ? "true" : "false") + ",\"bytes\":\"" + hex + "\"}");
    if (view) UnmapViewOfFile(view);
    if (mapping) CloseHandle(mapping);
    return 0;
}

std::wstring resourceName(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<std::uintptr_t>(name)) : std::wstring(name);
}

void emitStringBlock(HMODULE module, HRSRC found, LPCWSTR name, WORD language) {
    const DWORD size = SizeofResource(module, found);
    const auto* units = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    const auto block = reinterpret_cast<std::uintptr_t>(name);
    std::size_t offset = 0;
    for (unsigned entry = 0; entry < 16 && (offset + 1) * 2 <= size; ++entry) {
        const WORD length = units[offset++];
        if (length) {
            emit("{\"language\":" + std::to_string(language) + ",\"id\":" + std::to_string((block - 1) * 16 + entry) +
                 ",\"text\":" + jsonString(std::wstring(reinterpret_cast<const wchar_t*>(units + offset), length)) + "}");
        }
        offset += length;
    }
}

BOOL CALLBACK onLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR stringsOnly) {
    HRSRC found = FindResourceExW(module, type, name, language);
    if (stringsOnly) {
        emitStringBlock(module, found, name, language);
    } else {
        emit("{\"type\":" + jsonString(resourceName(type)) + ",\"name\":" + jsonString(resourceName(name)) +
             ",\"language\":" + std::to_string(language) + ",\"size\":" +
             std::to_string(SizeofResource(module, found)) + "}");
    }
    return TRUE;
}

BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR stringsOnly) {
    EnumResourceLanguagesW(module, type, name, onLanguage, stringsOnly);
    return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR stringsOnly) {
    EnumResourceNamesW(module, type, onName, stringsOnly);
    return TRUE;
}

int listResources(const wchar_t* exe, bool stringsOnly) {
    HMODULE image = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return 2;
    if (stringsOnly) {
        EnumResourceNamesW(image, RT_STRING, onName, TRUE);
    } else {
        EnumResourceTypesW(image, onType, FALSE);
    }
    FreeLibrary(image);
    return 0;
}

// A numeric type or name ("14") or a string one ("JLSETTINGS").
LPCWSTR resourceId(const wchar_t* text) {
    return text[0] >= L'0' && text[0] <= L'9' ? MAKEINTRESOURCEW(std::wcstoul(text, nullptr, 10)) : text;
}

int dumpResource(const wchar_t* exe, const wchar_t* type, const wchar_t* name) {
    HMODULE image = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return 2;
    EnumResourceLanguagesW(
        image, resourceId(type), resourceId(name),
        [](HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR) -> BOOL {
            HRSRC found = FindResourceExW(module, type, name, language);
            const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
            std::string hex;
            char digits[3];
            for (DWORD i = 0; i < SizeofResource(module, found); ++i) {
                std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
                hex += digits;
            }
            emit("{\"language\":" + std::to_string(language) + ",\"hex\":\"" + hex + "\"}");
            return TRUE;
        },
        0);
    FreeLibrary(image);
    return 0;
}

std::wstring versionText(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
           L"." + std::to_wstring(LOWORD(low));
}

int reportVersion(const wchar_t* exe) {
    DWORD ignored = 0;
    std::vector<unsigned char> record(GetFileVersionInfoSizeW(exe, &ignored));
    if (record.empty() || !GetFileVersionInfoW(exe, 0, static_cast<DWORD>(record.size()), record.data())) return 2;
    VS_FIXEDFILEINFO* fixed = nullptr;
    const WORD* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) ||
        !VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &size) || size < 4) {
        return 2;
    }
    wchar_t table[32];
    std::swprintf(table, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    std::string strings;
    for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
                                L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        const wchar_t* value = nullptr;
        if (!VerQueryValueW(record.data(), (std::wstring(table) + name).c_str(), reinterpret_cast<void**>(const_cast<wchar_t**>(&value)), &size)) continue;
        strings += (strings.empty() ? "" : ",") + jsonString(name) + ":" + jsonString(value);
    }
    emit("{\"file_version\":" + jsonString(versionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS)) +
         ",\"product_version\":" + jsonString(versionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS)) +
         ",\"file_type\":" + std::to_string(fixed->dwFileType) + ",\"strings\":{" + strings + "}}");
    return 0;
}

std::string describeIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return "null";
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, 0, nullptr, &format, DIB_RGB_COLORS);
    const LONG width = format.bmiHeader.biWidth;
    const LONG height = std::abs(format.bmiHeader.biHeight);
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    format.bmiHeader.biHeight = -height;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width * height));
    GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    char centre[8];
    std::snprintf(centre, sizeof centre, "#%06lx", pixels[static_cast<std::size_t>(height / 2 * width + width / 2)] & 0xFFFFFFUL);
    return "{\"size\":" + std::to_string(width) + ",\"centre\":\"" + centre + "\"}";
}

int reportIcon(const wchar_t* exe) {
    HMODULE image = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!image) return 2;
    std::string sizes;
    for (int size : {16, 32, 48, 256}) {
        const auto icon = static_cast<HICON>(LoadImageW(image, MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0));
        sizes += (sizes.empty() ? "\"" : ",\"") + std::to_string(size) + "\":" + describeIcon(icon);
    }
    FreeLibrary(image);
    emit("{" + sizes + "}");
    return 0;
}

int reportMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    emit("{\"total_physical\":" + std::to_string(status.ullTotalPhys) +
         ",\"available_virtual\":" + std::to_string(status.ullAvailVirtual) + "}");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"run") return runJob(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"strings") return listResources(argv[2], true);
    if (argc == 3 && std::wstring(argv[1]) == L"resources") return listResources(argv[2], false);
    if (argc == 5 && std::wstring(argv[1]) == L"resource") return dumpResource(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::wstring(argv[1]) == L"version") return reportVersion(argv[2]);
    if (argc == 3 && std::wstring(argv[1]) == L"icon") return reportIcon(argv[2]);
    if (argc == 2 && std::wstring(argv[1]) == L"memory") return reportMemory();
    if (argc == 3 && std::wstring(argv[1]) == L"many") return runMany(argv[2]);
    if (argc == 4 && std::wstring(argv[1]) == L"mapping") return dumpMapping(argv[2], std::stoul(argv[3]));
    if (argc >= 4 && std::wstring(argv[1]) == L"picture") return reportPicture(argv[2], argv[3], argv + 4, argc - 4);
    emit("{\"event\":\"error\",\"message\":\"usage: jlprobe run <job> | many <job> | strings <exe> | resources <exe> | "
         "resource <exe> <type> <name> | version <exe> | icon <exe> | memory | mapping <name> <n> | "
         "picture <ole|wic> <image> <x>,<y>...\"}");
    return 1;
}
