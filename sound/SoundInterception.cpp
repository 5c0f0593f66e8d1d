#include "sound/SoundInterception.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "fw/SystemLibrary.h"
#include "intercept/Intercept.h"

namespace vorel::sound {
namespace {

using WaveOutWriteFn = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);
using MidiStreamOutFn = MMRESULT(WINAPI*)(HMIDISTRM, LPMIDIHDR, UINT);
using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
using DirectSoundCreate8Fn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND8*, LPUNKNOWN);
using CreateSoundBufferFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSound*, LPCDSBUFFERDESC,
                                                        LPDIRECTSOUNDBUFFER*, LPUNKNOWN);
using UnlockFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, LPVOID, DWORD, LPVOID, DWORD);

// Interface-table positions: IUnknown's three methods come first. IDirectSound8 and
// IDirectSoundBuffer8 extend the older interfaces, so the positions hold for them too.
constexpr int kCreateSoundBufferSlot = 3;
constexpr int kUnlockSlot = 19;

// The real entries, from the system folder's libraries; the attach turns each into its
// trampoline. Null where the system has no such function.
WaveOutWriteFn g_realWaveOutWrite = nullptr;
MidiStreamOutFn g_realMidiStreamOut = nullptr;
DirectSoundCreateFn g_realDirectSoundCreate = nullptr;
DirectSoundCreate8Fn g_realDirectSoundCreate8 = nullptr;

// Relaxed: the flag orders nothing else, and on x86 this is a plain load and store.
std::atomic<bool> g_muted{false};
bool g_installed = false;

// The distinct interface tables patched so far, each with the method that stood in its slot.
// A method is published before its slot is redirected, so a call through the slot finds it.
template <class Fn>
struct PatchedTables {
    std::atomic<void**> slot[kMaxPatchedTables];
    std::atomic<Fn> real[kMaxPatchedTables];
    std::atomic<int> count{0};
};
PatchedTables<CreateSoundBufferFn> g_soundTables;
PatchedTables<UnlockFn> g_bufferTables;

// Patching happens only as objects are created, never on the audio path.
volatile LONG g_patchLock = 0;
class PatchLock {
public:
    PatchLock() {
        while (InterlockedExchange(&g_patchLock, 1)) Sleep(0);
    }
    ~PatchLock() { InterlockedExchange(&g_patchLock, 0); }
};

void Silence(void* data, DWORD bytes) {
    if (data && bytes) std::memset(data, 0, bytes);
}

void** InterfaceSlot(void* object, int index) {
    void** table = *static_cast<void***>(object);
    return &table[index];
}

HRESULT CreateAndPatch(CreateSoundBufferFn real, IDirectSound* self, LPCDSBUFFERDESC description,
                       LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer);

// One replacement per table, each calling the method its own table held.
template <int N>
HRESULT STDMETHODCALLTYPE MutingCreateSoundBuffer(IDirectSound* self, LPCDSBUFFERDESC description,
                                                  LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
    return CreateAndPatch(g_soundTables.real[N].load(std::memory_order_acquire), self, description,
                          buffer, outer);
}

template <int N>
HRESULT STDMETHODCALLTYPE MutingBufferUnlock(IDirectSoundBuffer* self, LPVOID first,
                                             DWORD firstBytes, LPVOID second, DWORD secondBytes) {
    // The game has just written its sound into the locked regions: replace it with silence.
    if (g_muted.load(std::memory_order_relaxed)) {
        Silence(first, firstBytes);
        Silence(second, secondBytes);
    }
    return g_bufferTables.real[N].load(std::memory_order_acquire)(self, first, firstBytes, second,
                                                                  secondBytes);
}

// The replacements by table number.
template <int... N>
const void* const* CreateSoundBufferReplacements(std::integer_sequence<int, N...>) {
    static const void* const methods[] = {
        reinterpret_cast<const void*>(&MutingCreateSoundBuffer<N>)...};
    return methods;
}
template <int... N>
const void* const* UnlockReplacements(std::integer_sequence<int, N...>) {
    static const void* const methods[] = {reinterpret_cast<const void*>(&MutingBufferUnlock<N>)...};
    return methods;
}
const void* const* const kCreateSoundBufferReplacements =
    CreateSoundBufferReplacements(std::make_integer_sequence<int, kMaxPatchedTables>());
const void* const* const kUnlockReplacements =
    UnlockReplacements(std::make_integer_sequence<int, kMaxPatchedTables>());

bool IsReplacement(const void* method, const void* const* replacements) {
    for (int i = 0; i < kMaxPatchedTables; ++i) {
        if (replacements[i] == method) return true;
    }
    return false;
}

// Redirects the slot of the object's interface table unless that table is patched already.
// Checking the slot's content as well keeps a table from being patched twice, which would save
// our own method as the original and make it call itself for ever.
template <class Fn>
void PatchTableOnce(void* object, int index, const void* const* replacements,
                    PatchedTables<Fn>& tables) {
    void** slot = InterfaceSlot(object, index);
    PatchLock lock;
    const int count = tables.count.load();
    for (int i = 0; i < count; ++i) {
        if (tables.slot[i].load() == slot) return;
    }
    if (count == kMaxPatchedTables || IsReplacement(*slot, replacements)) return;
    DWORD before;
    // The earlier protection is left as it is.
    if (!VirtualProtectEx(GetCurrentProcess(), slot, sizeof(void*), PAGE_EXECUTE_READWRITE,
                          &before))
        return;  // a later object may try again
    tables.real[count].store(reinterpret_cast<Fn>(*slot), std::memory_order_release);
    tables.slot[count].store(slot);
    tables.count.store(count + 1);
    InterlockedExchangePointer(slot, const_cast<void*>(replacements[count]));
}

void PatchSoundObject(void* object) {
    if (object)
        PatchTableOnce(object, kCreateSoundBufferSlot, kCreateSoundBufferReplacements,
                       g_soundTables);
}

HRESULT CreateAndPatch(CreateSoundBufferFn real, IDirectSound* self, LPCDSBUFFERDESC description,
                       LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
    if (!buffer) return real(self, description, buffer, outer);
    LPDIRECTSOUNDBUFFER created = nullptr;
    const HRESULT result = real(self, description, &created, outer);
    *buffer = created;
    // The primary buffer usually comes first and has a table of its own: each new table is
    // patched as it appears.
    if (SUCCEEDED(result) && created)
        PatchTableOnce(created, kUnlockSlot, kUnlockReplacements, g_bufferTables);
    return result;
}

// DirectSound's classes and their interfaces, as a game asks COM for them.
const GUID kClsidDirectSound = {
    0x47d4d946, 0x62e8, 0x11cf, {0x93, 0xbc, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID kClsidDirectSound8 = {
    0x3901cc3f, 0x84b5, 0x4fa4, {0xba, 0x35, 0xaa, 0x81, 0x72, 0xb8, 0xa0, 0x9b}};
const GUID kIidDirectSound = {
    0x279afa83, 0x4981, 0x11ce, {0xa5, 0x21, 0x00, 0x20, 0xaf, 0x0b, 0xe5, 0x60}};
const GUID kIidDirectSound8 = {
    0xc50a7e93, 0xf395, 0x4834, {0x9e, 0xf6, 0x7f, 0xa9, 0x9d, 0xe5, 0x09, 0x66}};

// An object of the class, made but not initialised (no device is opened), shares its
// interface table with every object of that class a game makes through COM, before or after:
// patching it covers them without replacing COM's own creation functions.
void PatchTableOfClass(const GUID& classId, const GUID& interfaceId) {
    void* object = nullptr;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &object)) ||
        !object)
        return;
    PatchSoundObject(object);
    static_cast<IUnknown*>(object)->Release();
}

template <class Fn>
void Attach(Fn* real, Fn replacement) {
    if (*real) intercept::DetourAttach(real, replacement);
}

template <class Fn>
void Detach(Fn* real, Fn replacement) {
    if (*real) intercept::DetourDetach(real, replacement);
}

void RemoveSoundInterception() {
    using namespace vorel::intercept;
    DetourTransactionBegin();
    DetourUpdateThread(GetCurrentThread());
    Detach(&g_realWaveOutWrite, &MutingWaveOutWrite);
    Detach(&g_realMidiStreamOut, &MutingMidiStreamOut);
    Detach(&g_realDirectSoundCreate, &MutingDirectSoundCreate);
    Detach(&g_realDirectSoundCreate8, &MutingDirectSoundCreate8);
    DetourTransactionCommit();
}

}  // namespace

void InstallSoundInterception() {
    if (g_installed) return;
    g_installed = true;
    g_realWaveOutWrite = fw::SystemFunction<WaveOutWriteFn>(L"winmm.dll", "waveOutWrite");
    g_realMidiStreamOut = fw::SystemFunction<MidiStreamOutFn>(L"winmm.dll", "midiStreamOut");
    g_realDirectSoundCreate =
        fw::SystemFunction<DirectSoundCreateFn>(L"dsound.dll", "DirectSoundCreate");
    g_realDirectSoundCreate8 =
        fw::SystemFunction<DirectSoundCreate8Fn>(L"dsound.dll", "DirectSoundCreate8");
    using namespace vorel::intercept;
    // A refused or failed attach is not reported: that function's audio simply keeps playing.
    DetourRestoreAfterWith();
    DetourTransactionBegin();
    DetourUpdateThread(GetCurrentThread());
    Attach(&g_realWaveOutWrite, &MutingWaveOutWrite);
    Attach(&g_realMidiStreamOut, &MutingMidiStreamOut);
    Attach(&g_realDirectSoundCreate, &MutingDirectSoundCreate);
    Attach(&g_realDirectSoundCreate8, &MutingDirectSoundCreate8);
    DetourTransactionCommit();
    std::atexit(&RemoveSoundInterception);
    // Needs COM on this thread, which the game window's thread has for its browser.
    PatchTableOfClass(kClsidDirectSound, kIidDirectSound);
    PatchTableOfClass(kClsidDirectSound8, kIidDirectSound8);
}

bool SoundInterceptionInstalled() { return g_installed; }

void SetMutedFlag(bool muted) { g_muted.store(muted, std::memory_order_relaxed); }

bool MutedFlag() { return g_muted.load(std::memory_order_relaxed); }

MMRESULT WINAPI MutingWaveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize) {
    if (header && g_muted.load(std::memory_order_relaxed)) {
        Silence(header->lpData, header->dwBufferLength);
    }
    return g_realWaveOutWrite(device, header, headerSize);
}

MMRESULT WINAPI MutingMidiStreamOut(HMIDISTRM stream, LPMIDIHDR header, UINT headerSize) {
    if (header && g_muted.load(std::memory_order_relaxed)) {
        Silence(header->lpData, header->dwBufferLength);
    }
    return g_realMidiStreamOut(stream, header, headerSize);
}

HRESULT WINAPI MutingDirectSoundCreate(LPCGUID device, LPDIRECTSOUND* object, LPUNKNOWN outer) {
    // Without a place for the object the real function refuses; let it say so.
    if (!object) return g_realDirectSoundCreate(device, object, outer);
    LPDIRECTSOUND created = nullptr;
    const HRESULT result = g_realDirectSoundCreate(device, &created, outer);
    *object = created;
    if (SUCCEEDED(result)) PatchSoundObject(created);
    return result;
}

HRESULT WINAPI MutingDirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* object, LPUNKNOWN outer) {
    if (!object) return g_realDirectSoundCreate8(device, object, outer);
    LPDIRECTSOUND8 created = nullptr;
    const HRESULT result = g_realDirectSoundCreate8(device, &created, outer);
    *object = created;
    if (SUCCEEDED(result)) PatchSoundObject(created);
    return result;
}

int PatchedSoundTables() { return g_soundTables.count.load(); }

int PatchedBufferTables() { return g_bufferTables.count.load(); }

bool CreatesMutedBuffers(IDirectSound* object) {
    return object && IsReplacement(*InterfaceSlot(object, kCreateSoundBufferSlot),
                                   kCreateSoundBufferReplacements);
}

bool UnlocksMuted(IDirectSoundBuffer* buffer) {
    return buffer && IsReplacement(*InterfaceSlot(buffer, kUnlockSlot), kUnlockReplacements);
}

}  // namespace vorel::sound
