// Muting by interception, for systems before Windows 6: waveOutWrite, midiStreamOut,
// DirectSoundCreate and DirectSoundCreate8 are replaced in this process, and the DirectSound
// objects' CreateSoundBuffer and Unlock slots are redirected, so that every block of audio data
// is seen before it leaves and is zeroed while the muted flag is set.
//
// The replacements run on the game's audio threads: they read the flag without a lock,
// allocate nothing, and do at most a byte fill before calling on.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace vorel::sound {

// Once per process: attaches the replacements and registers their removal for the process's
// exit, and patches the tables of DirectSound objects made through COM (CoCreateInstance of
// CLSID_DirectSound or CLSID_DirectSound8) when this thread has COM. Later calls do nothing.
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
HRESULT WINAPI MutingDirectSoundCreate8(LPCGUID device, LPDIRECTSOUND8* object, LPUNKNOWN outer);

// Primary and secondary buffers, IDirectSound and IDirectSound8 may each have an interface
// table of their own. Every distinct table is patched once, up to this many of each kind; a
// replacement of its own per table keeps the call as cheap as with one.
constexpr int kMaxPatchedTables = 6;

// How many distinct IDirectSound and IDirectSoundBuffer tables are patched so far.
int PatchedSoundTables();
int PatchedBufferTables();

// Whether the object's CreateSoundBuffer (or the buffer's Unlock) slot holds a replacement.
bool CreatesMutedBuffers(IDirectSound* object);
bool UnlocksMuted(IDirectSoundBuffer* buffer);

}  // namespace vorel::sound
