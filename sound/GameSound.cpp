#include "sound/GameSound.h"

#include <windows.h>
#include <mmsystem.h>

#include "fw/Raii.h"
#include "sound/SoundInterception.h"

namespace vorel {
namespace {

struct MixerTraits {
    using type = HMIXER;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { mixerClose(h); }
};
using ScopedMixer = fw::UniqueHandle<MixerTraits>;

DWORD WindowsMajorVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExW(&info);
    return info.dwMajorVersion;
}

}  // namespace

bool SetMixerLineMute(int lineKind, bool muted) {
    mixerGetNumDevs();  // not needed: mixer 0 is used whatever the count
    ScopedMixer mixer;
    if (mixerOpen(mixer.Receive(), 0, 0, 0, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer.get());

    MIXERLINEW line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = MixerComponentTypeForLine(lineKind);
    if (mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }

    MIXERCONTROLW control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSW controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (mixerGetLineControlsW(object, &controls,
                              MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }

    MIXERCONTROLDETAILS_BOOLEAN value = {};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = control.cMultipleItems;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    if (mixerGetControlDetailsW(object, &details, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    value.fValue = muted ? 1 : 0;
    return mixerSetControlDetails(object, &details, MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
}

bool SetGameSoundMuted(bool muted) {
    if (UsesMixerMuting(WindowsMajorVersion())) {
        SetMixerLineMute(kMixerLineWaveOut, muted);
        return SetMixerLineMute(kMixerLineSpeakers, muted);
    }
    sound::InstallSoundInterception();
    sound::SetMutedFlag(muted);
    return true;
}

}  // namespace vorel
