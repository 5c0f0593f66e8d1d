// Which way a game window process silences itself, and which mixer line each request means.
#pragma once
#include <cstdint>

namespace vorel {

// Line kinds of SetMixerLineMute.
enum MixerLineKind : int {
    kMixerLineSpeakers = 0,
    kMixerLineWaveOut = 1,
};

// Windows 6 (Vista) and later mute through the mixer; earlier systems zero the audio data on
// its way out of the process.
bool UsesMixerMuting(unsigned long windowsMajorVersion);

// The mixer component type of a line kind: speakers destination, wave-output source, and for
// any other kind the microphone source (which no caller asks for).
uint32_t MixerComponentTypeForLine(int lineKind);

}  // namespace vorel
