#pragma once
// One owning type per kind of Windows handle, so that no early return leaks one.

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() = default;
    explicit UniqueResource(Value value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Value get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    Value release() { return std::exchange(value_, Traits::invalid()); }
    void reset(Value value = Traits::invalid()) {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = value;
    }

private:
    Value value_ = Traits::invalid();
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return nullptr; }
    static void close(Value h) { CloseHandle(h); }
};
struct FileHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Value h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Value h) { FindClose(h); }
};
struct ModuleTraits {
    using Value = HMODULE;
    static Value invalid() { return nullptr; }
    static void close(Value h) { FreeLibrary(h); }
};
struct MappedViewTraits {
    using Value = const void*;
    static Value invalid() { return nullptr; }
    static void close(Value view) { UnmapViewOfFile(view); }
};
struct RegistryKeyTraits {
    using Value = HKEY;
    static Value invalid() { return nullptr; }
    static void close(Value key) { RegCloseKey(key); }
};
struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value invalid() { return nullptr; }
    static void close(Value object) { DeleteObject(object); }
};
struct ScreenDcTraits {
    using Value = HDC;
    static Value invalid() { return nullptr; }
    static void close(Value dc) { ReleaseDC(nullptr, dc); }
};
struct MemoryDcTraits {
    using Value = HDC;
    static Value invalid() { return nullptr; }
    static void close(Value dc) { DeleteDC(dc); }
};
struct CursorTraits {
    using Value = HCURSOR;
    static Value invalid() { return nullptr; }
    static void close(Value cursor) { DestroyCursor(cursor); }
};
struct WindowTraits {
    using Value = HWND;
    static Value invalid() { return nullptr; }
    // An owned window may already be gone with its owner; destroying it again only fails.
    static void close(Value window) { DestroyWindow(window); }
};

struct EventSourceTraits {
    using Value = HANDLE;
    static Value invalid() { return nullptr; }
    static void close(Value source) { DeregisterEventSource(source); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueScreenDc = UniqueResource<ScreenDcTraits>;  // GetDC(nullptr)
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;  // CreateCompatibleDC
using UniqueCursor = UniqueResource<CursorTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueEventSource = UniqueResource<EventSourceTraits>;  // RegisterEventSourceW
