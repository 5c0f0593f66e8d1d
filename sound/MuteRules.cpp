#include "sound/MuteRules.h"

namespace vorel {
namespace {
// The mixer API's values, without <mmsystem.h>.
constexpr uint32_t kComponentDstSpeakers = 4;         // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS
constexpr uint32_t kComponentSrcWaveOut = 0x1008;     // MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT
constexpr uint32_t kComponentSrcMicrophone = 0x1003;  // MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE
}  // namespace

bool UsesMixerMuting(unsigned long windowsMajorVersion) { return windowsMajorVersion >= 6; }

uint32_t MixerComponentTypeForLine(int lineKind) {
    switch (lineKind) {
        case kMixerLineSpeakers:
            return kComponentDstSpeakers;
        case kMixerLineWaveOut:
            return kComponentSrcWaveOut;
        default:
            return kComponentSrcMicrophone;
    }
}

}  // namespace vorel
