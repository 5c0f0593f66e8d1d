// Muting as a game window process on an old system does it: the tests register this program
// with Wine as Windows XP and read back what it found, one "key=value" line at a time.
//   sound_probe.exe <scenario> <report file>
//   version   the Windows version this process is told
//   install   muting installs the interception, once, and its removal at exit restores the
//             entries (checked by a handler that runs after the removal)
//   wave      waveOutWrite while muted and after: what the real function saw, what the caller
//             keeps
//   midi      the same for midiStreamOut
//   dsound    DirectSound objects from both entries, their primary and secondary buffers,
//             the patched tables and Unlock
//   bench     the cost of a 4 KiB waveOutWrite, plain and muted
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "intercept/Intercept.h"
#include "sound/GameSound.h"
#include "sound/SoundInterception.h"

using namespace vorel;

namespace {

wchar_t g_reportPath[MAX_PATH];

void Report(const char* key, long long value) {
    FILE* file = _wfopen(g_reportPath, L"a");
    if (!file) return;
    std::fprintf(file, "%s=%lld\n", key, value);
    std::fclose(file);
}

bool AnyNonZero(const void* data, size_t bytes) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; ++i) {
        if (p[i]) return true;
    }
    return false;
}

// The three real entries, as the import table and DirectSound's export 1 give them.
struct Entries {
    const void* address[3];
    unsigned char bytes[3][16];
    Entries() {
        address[0] = reinterpret_cast<const void*>(&waveOutWrite);
        address[1] = reinterpret_cast<const void*>(&midiStreamOut);
        address[2] = reinterpret_cast<const void*>(
            GetProcAddress(GetModuleHandleW(L"dsound.dll"), MAKEINTRESOURCEA(1)));
        for (int i = 0; i < 3; ++i) std::memcpy(bytes[i], address[i], 16);
    }
    int Unchanged() const {
        int same = 0;
        for (int i = 0; i < 3; ++i) same += std::memcmp(bytes[i], address[i], 16) == 0;
        return same;
    }
};
Entries* g_entriesAtStart = nullptr;

void ReportRestoredAtExit() { Report("restored_at_exit", g_entriesAtStart->Unchanged()); }

int Install() {
    static Entries atStart;
    g_entriesAtStart = &atStart;
    // Registered first, so it runs after the removal that muting registers.
    std::atexit(&ReportRestoredAtExit);
    Report("installed_before", sound::SoundInterceptionInstalled());
    Report("result_sound_on", SetGameSoundMuted(false));
    Report("installed", sound::SoundInterceptionInstalled());
    Report("muted_flag", sound::MutedFlag());
    Report("entries_unchanged", atStart.Unchanged());
    Entries afterFirst;
    Report("result_muted", SetGameSoundMuted(true));
    Report("muted_flag_after", sound::MutedFlag());
    Report("installed_again", afterFirst.Unchanged() != 3);
    return 0;
}

// A spy attached before muting: it sits between the muting replacement and the real
// function and sees what the real function gets.
MMRESULT(WINAPI* g_spyWaveReal)(HWAVEOUT, LPWAVEHDR, UINT) = &waveOutWrite;
MMRESULT(WINAPI* g_spyMidiReal)(HMIDISTRM, LPMIDIHDR, UINT) = &midiStreamOut;
int g_spySawNonZero = -1;

MMRESULT WINAPI SpyWaveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT size) {
    g_spySawNonZero = AnyNonZero(header->lpData, header->dwBufferLength);
    return g_spyWaveReal(device, header, size);
}
MMRESULT WINAPI SpyMidiStreamOut(HMIDISTRM stream, LPMIDIHDR header, UINT size) {
    g_spySawNonZero = AnyNonZero(header->lpData, header->dwBufferLength);
    return g_spyMidiReal(stream, header, size);
}

template <class Fn>
bool AttachSpy(Fn* real, Fn spy) {
    using namespace vorel::intercept;
    DetourTransactionBegin();
    DetourUpdateThread(GetCurrentThread());
    const bool ok = DetourAttach(real, spy) == InterceptStatus::Ok;
    return DetourTransactionCommit() == InterceptStatus::Ok && ok;
}

WAVEFORMATEX EightBitMono() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 8000;
    format.nAvgBytesPerSec = 8000;
    format.nBlockAlign = 1;
    format.wBitsPerSample = 8;
    return format;
}

int Wave() {
    Report("spy", AttachSpy(&g_spyWaveReal, &SpyWaveOutWrite));
    SetGameSoundMuted(true);
    HWAVEOUT device = nullptr;
    WAVEFORMATEX format = EightBitMono();
    const MMRESULT open = waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    Report("open", open);
    static char muted[4096], audible[4096];
    std::memset(muted, 0x5A, sizeof muted);
    std::memset(audible, 0x5A, sizeof audible);
    WAVEHDR first = {}, second = {};
    first.lpData = muted;
    first.dwBufferLength = sizeof muted;
    second.lpData = audible;
    second.dwBufferLength = sizeof audible;
    if (open == MMSYSERR_NOERROR) {
        waveOutPrepareHeader(device, &first, sizeof first);
        waveOutPrepareHeader(device, &second, sizeof second);
    }
    Report("write_muted", waveOutWrite(device, &first, sizeof first));
    Report("muted_spy_nonzero", g_spySawNonZero);
    Report("muted_buffer_nonzero", AnyNonZero(muted, sizeof muted));
    SetGameSoundMuted(false);
    g_spySawNonZero = -1;
    Report("write_audible", waveOutWrite(device, &second, sizeof second));
    Report("audible_spy_nonzero", g_spySawNonZero);
    Report("audible_buffer_intact", audible[0] == 0x5A && audible[4095] == 0x5A);
    if (open == MMSYSERR_NOERROR) {
        waveOutReset(device);
        waveOutUnprepareHeader(device, &first, sizeof first);
        waveOutUnprepareHeader(device, &second, sizeof second);
        waveOutClose(device);
    }
    return 0;
}

int Midi() {
    static char events[64];
    MIDIHDR header = {};
    header.lpData = events;
    header.dwBufferLength = sizeof events;
    header.dwBytesRecorded = sizeof events;
    std::memset(events, 0x5A, sizeof events);
    // What the real function answers a stream handle it does not know, before anything.
    Report("plain_result", midiStreamOut(nullptr, &header, sizeof header));
    Report("spy", AttachSpy(&g_spyMidiReal, &SpyMidiStreamOut));
    SetGameSoundMuted(true);
    HMIDISTRM stream = nullptr;
    UINT deviceId = 0;
    const MMRESULT open = midiStreamOpen(&stream, &deviceId, 1, 0, 0, CALLBACK_NULL);
    Report("open", open);
    if (open == MMSYSERR_NOERROR) midiOutPrepareHeader(HMIDIOUT(stream), &header, sizeof header);
    Report("result_muted", midiStreamOut(stream, &header, sizeof header));
    Report("muted_spy_nonzero", g_spySawNonZero);
    Report("muted_buffer_nonzero", AnyNonZero(events, sizeof events));
    SetGameSoundMuted(false);
    std::memset(events, 0x5A, sizeof events);
    g_spySawNonZero = -1;
    Report("result_audible", midiStreamOut(stream, &header, sizeof header));
    Report("audible_spy_nonzero", g_spySawNonZero);
    Report("audible_buffer_intact", events[0] == 0x5A && events[63] == 0x5A);
    if (open == MMSYSERR_NOERROR) {
        midiOutReset(HMIDIOUT(stream));
        midiOutUnprepareHeader(HMIDIOUT(stream), &header, sizeof header);
        midiStreamClose(stream);
    }
    return 0;
}

// Locks the whole buffer, fills it with 0x5A, unlocks; then locks again and reports whether
// anything of the fill is still there.
int FillUnlockAndLook(IDirectSoundBuffer* buffer, DWORD bytes) {
    void *a = nullptr, *b = nullptr;
    DWORD na = 0, nb = 0;
    if (FAILED(buffer->Lock(0, bytes, &a, &na, &b, &nb, 0))) return -1;
    std::memset(a, 0x5A, na);
    if (b) std::memset(b, 0x5A, nb);
    if (FAILED(buffer->Unlock(a, na, b, nb))) return -2;
    if (FAILED(buffer->Lock(0, bytes, &a, &na, &b, &nb, 0))) return -3;
    const int nonZero = AnyNonZero(a, na) || (b && AnyNonZero(b, nb));
    buffer->Unlock(a, na, b, nb);
    return nonZero;
}

// A usual start: the primary buffer first, to set the format, then the secondary buffers that
// carry the sound.
int DSound() {
    // COM first, as a game window's thread has it.
    Report("com", CoInitialize(nullptr));
    SetGameSoundMuted(true);
    IDirectSound* first = nullptr;
    const HRESULT created = DirectSoundCreate(nullptr, &first, nullptr);
    Report("create", created);
    if (FAILED(created)) return 0;
    Report("sound_slot_patched", sound::CreatesMutedBuffers(first));
    first->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);

    DSBUFFERDESC primaryDescription = {};
    primaryDescription.dwSize = sizeof primaryDescription;
    primaryDescription.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    Report("primary", first->CreateSoundBuffer(&primaryDescription, &primary, nullptr));
    if (!primary) return 0;
    Report("primary_patched", sound::UnlocksMuted(primary));

    const DWORD bytes = 4096;
    WAVEFORMATEX format = EightBitMono();
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    Report("buffer", first->CreateSoundBuffer(&description, &buffer, nullptr));
    if (!buffer) return 0;
    Report("buffer_slot_patched", sound::UnlocksMuted(buffer));
    Report("distinct_buffer_tables",
           *reinterpret_cast<void**>(buffer) != *reinterpret_cast<void**>(primary));
    Report("buffer_tables", sound::PatchedBufferTables());
    Report("muted_nonzero_after_unlock", FillUnlockAndLook(buffer, bytes));
    SetGameSoundMuted(false);
    Report("audible_nonzero_after_unlock", FillUnlockAndLook(buffer, bytes));
    SetGameSoundMuted(true);

    // A second object: no table is patched again (that would save our own method as the
    // original, and the next CreateSoundBuffer would call itself for ever).
    const int soundTables = sound::PatchedSoundTables();
    IDirectSound* second = nullptr;
    Report("create_second", DirectSoundCreate(nullptr, &second, nullptr));
    if (!second) return 0;
    Report("same_sound_slot",
           sound::PatchedSoundTables() == soundTables && sound::CreatesMutedBuffers(second));
    second->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
    const int bufferTables = sound::PatchedBufferTables();
    IDirectSoundBuffer* secondBuffer = nullptr;
    Report("second_buffer", second->CreateSoundBuffer(&description, &secondBuffer, nullptr));
    Report("same_buffer_slot", sound::PatchedBufferTables() == bufferTables);
    if (secondBuffer) {
        Report("second_muted_nonzero_after_unlock", FillUnlockAndLook(secondBuffer, bytes));
        secondBuffer->Release();
    }

    // The newer entry, which a game may call instead.
    IDirectSound8* eighth = nullptr;
    Report("create8", DirectSoundCreate8(nullptr, &eighth, nullptr));
    if (eighth) {
        Report("sound8_patched",
               sound::CreatesMutedBuffers(reinterpret_cast<IDirectSound*>(eighth)));
        eighth->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
        IDirectSoundBuffer* eighthBuffer = nullptr;
        Report("buffer8", eighth->CreateSoundBuffer(&description, &eighthBuffer, nullptr));
        if (eighthBuffer) {
            Report("buffer8_muted_nonzero_after_unlock", FillUnlockAndLook(eighthBuffer, bytes));
            eighthBuffer->Release();
        }
        eighth->Release();
    }
    // Through COM, as some games make it.
    IDirectSound* fromCom = nullptr;
    Report("cocreate", CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IDirectSound, reinterpret_cast<void**>(&fromCom)));
    if (fromCom) {
        Report("com_initialize", fromCom->Initialize(nullptr));
        Report("com_patched", sound::CreatesMutedBuffers(fromCom));
        fromCom->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
        IDirectSoundBuffer* comBuffer = nullptr;
        Report("com_buffer", fromCom->CreateSoundBuffer(&description, &comBuffer, nullptr));
        if (comBuffer) {
            Report("com_muted_nonzero_after_unlock", FillUnlockAndLook(comBuffer, bytes));
            comBuffer->Release();
        }
        fromCom->Release();
    }
    std::printf("tables patched: %d IDirectSound, %d IDirectSoundBuffer\n",
                sound::PatchedSoundTables(), sound::PatchedBufferTables());
    buffer->Release();
    primary->Release();
    second->Release();
    first->Release();
    return 0;
}

long long NanosecondsPerCall(HWAVEOUT device, WAVEHDR* header, int calls) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) waveOutWrite(device, header, sizeof *header);
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1000000000LL / frequency.QuadPart / calls;
}

int Bench() {
    HWAVEOUT device = nullptr;
    WAVEFORMATEX format = EightBitMono();
    Report("open", waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL));
    // An unprepared header: the real function checks it and returns at once, so that the
    // figures compare the path into the real function and not the device.
    static char block[4096];
    WAVEHDR header = {};
    header.lpData = block;
    header.dwBufferLength = sizeof block;
    const int calls = 20000;
    NanosecondsPerCall(device, &header, 1000);  // warm-up
    Report("plain_ns", NanosecondsPerCall(device, &header, calls));
    SetGameSoundMuted(true);
    NanosecondsPerCall(device, &header, 1000);
    Report("muted_ns", NanosecondsPerCall(device, &header, calls));
    SetGameSoundMuted(false);
    Report("sound_on_ns", NanosecondsPerCall(device, &header, calls));
    if (device) waveOutClose(device);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (argc < 3) return 2;
    std::wcsncpy(g_reportPath, argv[2], MAX_PATH - 1);
    DeleteFileW(g_reportPath);
    const std::wstring scenario = argv[1];
    if (scenario == L"version") {
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof info;
        GetVersionExW(&info);
        Report("major", info.dwMajorVersion);
        return 0;
    }
    if (scenario == L"install") return Install();
    if (scenario == L"wave") return Wave();
    if (scenario == L"midi") return Midi();
    if (scenario == L"dsound") return DSound();
    if (scenario == L"bench") return Bench();
    return 3;
}
