#include "sound/SoundInterception.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "intercept/Intercept.h"

namespace vorel::sound {
namespace {

using WaveOutWriteFn = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);
using MidiStreamOutFn = MMRESULT(WINAPI*)(HMIDISTRM, LPMIDIHDR, UINT);
using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
using CreateSoundBufferFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSound*, LPCDSBUFFERDESC,
                                                        LPDIRECTSOUNDBUFFER*, LPUNKNOWN);
using UnlockFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, LPVOID, DWORD, LPVOID, DWORD);

// Interface-table positions: IUnknown's three methods come first.
constexpr int kCreateSoundBufferSlot = 3;
constexpr int kUnlockSlot = 19;

// Taken from the import table at start; the attach turns each into its trampoline.
// DirectSoundCreate is DirectSound's export number 1.
WaveOutWriteFn g_realWaveOutWrite = &waveOutWrite;
MidiStreamOutFn g_realMidiStreamOut = &midiStreamOut;
DirectSoundCreateFn g_realDirectSoundCreate = &DirectSoundCreate;

// Relaxed: the flag orders nothing else, and on x86 this is a plain load and store.
std::atomic<bool> g_muted{false};
bool g_installed = false;

// The patched slots and what stood in them. The saved method is published before the slot is
// redirected, so that a call through the slot always finds it.
std::atomic<void**> g_soundSlot{nullptr};
std::atomic<CreateSoundBufferFn> g_realCreateSoundBuffer{nullptr};
std::atomic<void**> g_bufferSlot{nullptr};
std::atomic<UnlockFn> g_realUnlock{nullptr};

void Silence(void* data, DWORD bytes) {
    if (data && bytes) std::memset(data, 0, bytes);
}

void** InterfaceSlot(void* object, int index) {
    void** table = *static_cast<void***>(object);
    return &table[index];
}

// Redirects one interface-table slot, once per process. Claiming the slot first keeps two
// threads creating their first objects at the same moment from saving our own method as the
// original; the earlier protection is left as it is.
template <class Fn>
void PatchSlotOnce(void** slot, void* replacement, std::atomic<void**>& patched,
                   std::atomic<Fn>& saved) {
    void** none = nullptr;
    if (!patched.compare_exchange_strong(none, slot)) return;
    DWORD before;
    if (!VirtualProtectEx(GetCurrentProcess(), slot, sizeof(void*), PAGE_EXECUTE_READWRITE,
                          &before)) {
        patched.store(nullptr);  // a later object may try again
        return;
    }
    saved.store(reinterpret_cast<Fn>(*slot), std::memory_order_release);
    InterlockedExchangePointer(slot, replacement);
}

void RemoveSoundInterception() {
    using namespace vorel::intercept;
    DetourTransactionBegin();
    DetourUpdateThread(GetCurrentThread());
    DetourDetach(&g_realWaveOutWrite, &MutingWaveOutWrite);
    DetourDetach(&g_realMidiStreamOut, &MutingMidiStreamOut);
    DetourDetach(&g_realDirectSoundCreate, &MutingDirectSoundCreate);
    DetourTransactionCommit();
}

}  // namespace

void InstallSoundInterception() {
    if (g_installed) return;
    g_installed = true;
    using namespace vorel::intercept;
    // A refused or failed attach is not reported: that function's audio simply keeps playing.
    DetourRestoreAfterWith();
    DetourTransactionBegin();
    DetourUpdateThread(GetCurrentThread());
    DetourAttach(&g_realWaveOutWrite, &MutingWaveOutWrite);
    DetourAttach(&g_realMidiStreamOut, &MutingMidiStreamOut);
    DetourAttach(&g_realDirectSoundCreate, &MutingDirectSoundCreate);
    DetourTransactionCommit();
    std::atexit(&RemoveSoundInterception);
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
    // Every later object shares this interface table, so one patch covers them all.
    if (SUCCEEDED(result) && created && !g_soundSlot.load()) {
        PatchSlotOnce(InterfaceSlot(created, kCreateSoundBufferSlot),
                      reinterpret_cast<void*>(&MutingCreateSoundBuffer), g_soundSlot,
                      g_realCreateSoundBuffer);
    }
    return result;
}

HRESULT STDMETHODCALLTYPE MutingCreateSoundBuffer(IDirectSound* self, LPCDSBUFFERDESC description,
                                                  LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) {
    const CreateSoundBufferFn real = g_realCreateSoundBuffer.load(std::memory_order_acquire);
    if (!buffer) return real(self, description, buffer, outer);
    LPDIRECTSOUNDBUFFER created = nullptr;
    const HRESULT result = real(self, description, &created, outer);
    *buffer = created;
    if (SUCCEEDED(result) && created && !g_bufferSlot.load()) {
        PatchSlotOnce(InterfaceSlot(created, kUnlockSlot),
                      reinterpret_cast<void*>(&MutingBufferUnlock), g_bufferSlot, g_realUnlock);
    }
    return result;
}

HRESULT STDMETHODCALLTYPE MutingBufferUnlock(IDirectSoundBuffer* self, LPVOID first,
                                             DWORD firstBytes, LPVOID second, DWORD secondBytes) {
    // The game has just written its sound into the locked regions: replace it with silence.
    if (g_muted.load(std::memory_order_relaxed)) {
        Silence(first, firstBytes);
        Silence(second, secondBytes);
    }
    return g_realUnlock.load(std::memory_order_acquire)(self, first, firstBytes, second,
                                                        secondBytes);
}

void** PatchedSoundSlot() { return g_soundSlot.load(); }

void** PatchedBufferSlot() { return g_bufferSlot.load(); }

}  // namespace vorel::sound
