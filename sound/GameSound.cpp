#include "sound/GameSound.h"

#include <windows.h>
#include <mmsystem.h>

#include "fw/Raii.h"
#include "fw/SystemLibrary.h"
#include "sound/SoundInterception.h"

namespace vorel {
namespace {

// The mixer functions of the system's winmm (the program's folder is never searched for it).
struct MixerFunctions {
    decltype(&mixerGetNumDevs) getNumDevs;
    decltype(&mixerOpen) open;
    decltype(&mixerClose) close;
    decltype(&mixerGetLineInfoW) getLineInfo;
    decltype(&mixerGetLineControlsW) getLineControls;
    decltype(&mixerGetControlDetailsW) getControlDetails;
    decltype(&mixerSetControlDetails) setControlDetails;
    bool complete() const {
        return getNumDevs && open && close && getLineInfo && getLineControls && getControlDetails &&
               setControlDetails;
    }
};

const MixerFunctions& Mixer() {
    static const MixerFunctions functions = {
        fw::SystemFunction<decltype(&mixerGetNumDevs)>(L"winmm.dll", "mixerGetNumDevs"),
        fw::SystemFunction<decltype(&mixerOpen)>(L"winmm.dll", "mixerOpen"),
        fw::SystemFunction<decltype(&mixerClose)>(L"winmm.dll", "mixerClose"),
        fw::SystemFunction<decltype(&mixerGetLineInfoW)>(L"winmm.dll", "mixerGetLineInfoW"),
        fw::SystemFunction<decltype(&mixerGetLineControlsW)>(L"winmm.dll", "mixerGetLineControlsW"),
        fw::SystemFunction<decltype(&mixerGetControlDetailsW)>(L"winmm.dll",
                                                               "mixerGetControlDetailsW"),
        fw::SystemFunction<decltype(&mixerSetControlDetails)>(L"winmm.dll",
                                                              "mixerSetControlDetails"),
    };
    return functions;
}

struct MixerTraits {
    using type = HMIXER;
    static type Empty() { return nullptr; }
    static bool IsValid(type h) { return h != nullptr; }
    static void Close(type h) { Mixer().close(h); }
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
    const MixerFunctions& mixerApi = Mixer();
    if (!mixerApi.complete()) return false;
    mixerApi.getNumDevs();  // not needed: mixer 0 is used whatever the count
    ScopedMixer mixer;
    if (mixerApi.open(mixer.Receive(), 0, 0, 0, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer.get());

    MIXERLINEW line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = MixerComponentTypeForLine(lineKind);
    if (mixerApi.getLineInfo(object, &line,
                             MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) !=
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
    if (mixerApi.getLineControls(object, &controls,
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
    if (mixerApi.getControlDetails(object, &details, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        return false;
    }
    value.fValue = muted ? 1 : 0;
    return mixerApi.setControlDetails(object, &details, MIXER_OBJECTF_HMIXER) == MMSYSERR_NOERROR;
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
