// jlprobe: the test bed's hands and eyes on the Windows side.
//
//   jlprobe run <job file>    start a program with an exact command line, report
//                             every window it shows, act on each, report the
//                             full 32-bit exit code
//   jlprobe strings <exe>     every string-table entry of an executable, by language
//   jlprobe resources <exe>   every resource (type, name, language, size)
//   jlprobe memory            the machine's memory as Windows reports it
//
//   jlprobe picture <ole|wic> <image> <x>,<y>...
//                             decode an image as the splash does (ole: the
//                             picture loader, falling back to the imaging
//                             component; wic: the imaging component alone) and
//                             report its pixel size and the colours at points
//
// Job file (UTF-8, key=value per line): exe=, cmdline=, cwd=, timeout= (ms),
// and one window= line per expected window, in order of appearance, holding
// actions separated by ';':
// press:<id>, shot:<bmp path>, close, leave, wait:<ms>,
// resize:<width>,<height>, report. A window without a line gets press:1.
// A reported window that is hidden or destroyed while the program runs is
// reported "gone". Times ("ms") count from the program's process creation
// (reported at the start in ms since 1970, "created"); a window's is when
// the probe first saw it.
#include <windows.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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
    std::wstring exe, commandLine, folder;
    DWORD timeout = 30000;
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
        else if (key == "cmdline") job.commandLine = value;
        else if (key == "cwd") job.folder = value;
        else if (key == "timeout") job.timeout = std::stoul(line.substr(equals + 1));
        else if (key == "window") job.windowActions.push_back(value);
    }
    if (job.commandLine.empty()) job.commandLine = L"\"" + job.exe + L"\"";
    return !job.exe.empty();
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
        } else if (verb == L"resize") {
            const auto comma = argument.find(L',');
            done = SetWindowPos(window, nullptr, 0, 0, std::stoi(argument.substr(0, comma)),
                                std::stoi(argument.substr(comma + 1)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            Sleep(300);
        } else if (verb == L"report") {
            emit(describeWindow(window, index));
        } else if (verb != L"leave") {
            done = false;
        }
        emit("{\"event\":\"action\",\"index\":" + std::to_string(index) + ",\"action\":" + jsonString(action) +
             ",\"ok\":" + (done ? "true" : "false") + "}");
    }
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
    if (!CreateProcessW(job.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        job.folder.empty() ? nullptr : job.folder.c_str(), &startup, &process)) {
        emit("{\"event\":\"error\",\"message\":\"CreateProcessW failed\",\"code\":" + std::to_string(GetLastError()) + "}");
        return 2;
    }
    constexpr long long kTicksFrom1601To1970 = 116444736000000000;
    emit("{\"event\":\"started\",\"pid\":" + std::to_string(process.dwProcessId) + ",\"created\":" +
         std::to_string((creationTicks(process.hProcess) - kTicksFrom1601To1970) / 10000.0) + "}");

    std::set<HWND> known;
    std::vector<HWND> present;  // reported and not yet gone
    int shown = 0;
    const ULONGLONG deadline = GetTickCount64() + job.timeout;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
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
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    emit("{\"event\":\"exit\",\"code\":" + std::to_string(code) +
         ",\"ms\":" + millisecondsSinceCreation(process.hProcess) + "}");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
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
    if (argc == 2 && std::wstring(argv[1]) == L"memory") return reportMemory();
    if (argc >= 4 && std::wstring(argv[1]) == L"picture") return reportPicture(argv[2], argv[3], argv + 4, argc - 4);
    emit("{\"event\":\"error\",\"message\":\"usage: jlprobe run <job> | strings <exe> | resources <exe> | memory"
         " | picture <ole|wic> <image> <x>,<y>...\"}");
    return 1;
}
