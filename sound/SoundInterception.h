// Muting by interception, for systems before Windows 6: waveOutWrite, midiStreamOut and
// DirectSoundCreate are replaced in this process, and the DirectSound objects' CreateSoundBuffer
// and Unlock slots are redirected, so that every block of audio data is seen before it leaves
// and is zeroed while the muted flag is set.
//
// The replacements run on the game's audio threads: they read the flag without a lock,
// allocate nothing, and do at most a byte fill before calling on.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace vorel::sound {

// Once per process: attaches the three replacements and registers their removal for the
// process's exit. Later calls do nothing.
void InstallSoundInterception();
bool SoundInterceptionInstalled();

// The muted flag: a plain machine word, written by the user-interface thread and read by the
// audio threads. A block already under way when it changes may still play or be silenced.
void SetMutedFlag(bool muted);
bool MutedFlag();

// The replacements, with the exact signatures of what they replace.
MMRESULT WINAPI MutingWaveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT headerSize);
MMRESULT WINAPI MutingMidiStreamOut(HMIDISTRM stream, LPMIDIHDR header, UINT headerSize);
HRESULT WINAPI MutingDirectSoundCreate(LPCGUID device, LPDIRECTSOUND* object, LPUNKNOWN outer);
HRESULT STDMETHODCALLTYPE MutingCreateSoundBuffer(IDirectSound* self, LPCDSBUFFERDESC description,
                                                  LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer);
HRESULT STDMETHODCALLTYPE MutingBufferUnlock(IDirectSoundBuffer* self, LPVOID first,
                                             DWORD firstBytes, LPVOID second, DWORD secondBytes);

// The interface-table slots patched so far (null until then): IDirectSound::CreateSoundBuffer
// and IDirectSoundBuffer::Unlock, each once per process.
void** PatchedSoundSlot();
void** PatchedBufferSlot();

}  // namespace vorel::sound
