// Game sound muting: the mixer path in this process (Wine reports Windows 7 by default), the
// interception path in sound_probe.exe, which the tests register with Wine as Windows XP.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "sound/GameSound.h"
#include "sound/SoundInterception.h"
#include "support/WinTestSupport.h"

using namespace testsupport;

namespace {

// The mute control of the first line of a component type on mixer 0: its state, -1 when there
// is none, -2 when reading it leaves the value untouched (Wine's wave-output source line).
// Read independently of the code under test.
int ReadMute(DWORD componentType) {
    HMIXER mixer = nullptr;
    if (mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) return -1;
    int state = -1;
    MIXERLINEW line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = componentType;
    MIXERCONTROLW control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSW controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    MIXERCONTROLDETAILS_BOOLEAN value = {};
    value.fValue = 7;
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.cChannels = 1;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(mixer);
    if (mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) ==
        MMSYSERR_NOERROR) {
        controls.dwLineID = line.dwLineID;
        if (mixerGetLineControlsW(object, &controls,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
            MMSYSERR_NOERROR) {
            details.dwControlID = control.dwControlID;
            if (mixerGetControlDetailsW(object, &details, MIXER_OBJECTF_HMIXER) ==
                MMSYSERR_NOERROR) {
                state = value.fValue == 7 ? -2 : value.fValue ? 1 : 0;
            }
        }
    }
    mixerClose(mixer);
    return state;
}

struct EntryBytes {
    unsigned char bytes[3][16];
    static const void* Entry(int i) {
        switch (i) {
            case 0:
                return reinterpret_cast<const void*>(&waveOutWrite);
            case 1:
                return reinterpret_cast<const void*>(&midiStreamOut);
            default:
                return reinterpret_cast<const void*>(
                    GetProcAddress(LoadLibraryW(L"dsound.dll"), MAKEINTRESOURCEA(1)));
        }
    }
    EntryBytes() {
        for (int i = 0; i < 3; ++i) std::memcpy(bytes[i], Entry(i), 16);
    }
    bool operator==(const EntryBytes& o) const {
        return std::memcmp(bytes, o.bytes, sizeof bytes) == 0;
    }
};

using ProbeReport = std::map<std::string, long long>;

// Runs sound_probe.exe as Windows XP and reads its report.
ProbeReport RunProbe(const wchar_t* scenario) {
    HKEY key = nullptr;
    // Wine reads a per-program version from here when the program starts.
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\sound_probe.exe", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const wchar_t xp[] = L"winxp";
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(xp), sizeof xp);
        RegCloseKey(key);
    }
    const std::wstring report = InBuildDir(std::wstring(L"sound_probe.") + scenario + L".txt");
    DeleteFileW(report.c_str());
    const ProcessResult run = RunAndWait(L"\"" + InBuildDir(L"sound_probe.exe") + L"\" " +
                                         scenario + L" \"" + report + L"\"");
    ProbeReport values;
    EXPECT_TRUE(run.finished) << "sound_probe " << scenario;
    EXPECT_EQ(run.exitCode, 0u) << "sound_probe " << scenario;
    std::string text = ReadFileBytes(report);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = std::stoll(line.substr(eq + 1));
        start = end + 1;
    }
    return values;
}

// A missing key reads as a value no check expects.
long long Get(const ProbeReport& report, const char* key) {
    const auto it = report.find(key);
    return it == report.end() ? -12345 : it->second;
}

}  // namespace

TEST(SoundMuting, OnWindows7TheMixerMutesAndNothingIsIntercepted) {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    ASSERT_GE(version.dwMajorVersion, 6u) << "Wine reports Windows 7 unless told otherwise";
    const EntryBytes before;
    const int speakersBefore = ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);

    const bool muted = vorel::SetGameSoundMuted(true);
    if (speakersBefore < 0) {
        // No mixer, or no mute on the speakers: the answer is the failure.
        std::printf("mixer: no speakers mute control; SetGameSoundMuted answered %d\n", muted);
        EXPECT_FALSE(muted);
    } else {
        std::printf(
            "mixer: speakers mute control found; wave-out line mute %s\n",
            ReadMute(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT) == -2 ? "not readable" : "readable");
        EXPECT_TRUE(muted);
        EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS), 1);
        const int waveOut = ReadMute(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
        if (waveOut >= 0) {
            EXPECT_EQ(waveOut, 1);
        }
        EXPECT_TRUE(vorel::SetGameSoundMuted(false));
        EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS), 0);
        if (waveOut >= 0) {
            EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT), 0);
        }
    }
    EXPECT_FALSE(vorel::sound::SoundInterceptionInstalled());
    EXPECT_FALSE(vorel::sound::MutedFlag());
    EXPECT_TRUE(EntryBytes() == before) << "no entry was patched";
    if (speakersBefore < 0) return;

    // One line at a time (the same test: the mixer's state is shared).
    const int waveOut = ReadMute(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT);
    EXPECT_TRUE(vorel::SetMixerLineMute(vorel::kMixerLineSpeakers, true));
    EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS), 1);
    if (waveOut >= 0) {
        EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT), 0);
    }
    EXPECT_TRUE(vorel::SetMixerLineMute(vorel::kMixerLineSpeakers, false));
    EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS), 0);
    // Kind 7 asks for the microphone line: it answers whether that line has a mute, and the
    // speakers stay as they are.
    const int microphone = ReadMute(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(vorel::SetMixerLineMute(7, false), microphone >= 0);
    EXPECT_EQ(ReadMute(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS), 0);
}

TEST(SoundMuting, WineReportsWindowsXpToTheProbe) {
    EXPECT_EQ(Get(RunProbe(L"version"), "major"), 5);
}

TEST(SoundMuting, OnXpTheFirstCallInstallsTheInterceptionOnceAndExitRemovesIt) {
    const ProbeReport r = RunProbe(L"install");
    EXPECT_EQ(Get(r, "installed_before"), 0);
    EXPECT_EQ(Get(r, "result_sound_on"), 1);
    EXPECT_EQ(Get(r, "installed"), 1) << "even a first call asking for sound installs";
    EXPECT_EQ(Get(r, "muted_flag"), 0);
    EXPECT_EQ(Get(r, "entries_unchanged"), 0) << "all three entries patched";
    EXPECT_EQ(Get(r, "result_muted"), 1);
    EXPECT_EQ(Get(r, "muted_flag_after"), 1);
    EXPECT_EQ(Get(r, "installed_again"), 0);
    EXPECT_EQ(Get(r, "restored_at_exit"), 3) << "every entry restored at exit";
}

TEST(SoundMuting, OnXpAMutedWaveBlockReachesTheRealFunctionAsZeroBytes) {
    const ProbeReport r = RunProbe(L"wave");
    ASSERT_EQ(Get(r, "spy"), 1);
    std::printf("waveOutOpen on the null device: %lld\n", Get(r, "open"));
    EXPECT_EQ(Get(r, "open"), MMSYSERR_NOERROR);
    EXPECT_EQ(Get(r, "write_muted"), MMSYSERR_NOERROR);
    EXPECT_EQ(Get(r, "muted_spy_nonzero"), 0) << "the real function saw silence";
    EXPECT_EQ(Get(r, "muted_buffer_nonzero"), 0) << "and the caller's buffer stays zeroed";
    EXPECT_EQ(Get(r, "write_audible"), MMSYSERR_NOERROR);
    EXPECT_EQ(Get(r, "audible_spy_nonzero"), 1) << "sound on: the data passes unchanged";
    EXPECT_EQ(Get(r, "audible_buffer_intact"), 1);
}

TEST(SoundMuting, OnXpAMutedMidiStreamBlockReachesTheRealFunctionAsZeroBytes) {
    const ProbeReport r = RunProbe(L"midi");
    ASSERT_EQ(Get(r, "spy"), 1);
    // Without a MIDI device the stream does not open; the real function then refuses the
    // handle, and the replacement's work is still seen on the way there.
    std::printf("midiStreamOpen: %lld\n", Get(r, "open"));
    EXPECT_EQ(Get(r, "result_muted"),
              Get(r, "open") == MMSYSERR_NOERROR ? MMSYSERR_NOERROR : Get(r, "plain_result"))
        << "the real function's answer is passed back";
    EXPECT_EQ(Get(r, "muted_spy_nonzero"), 0);
    EXPECT_EQ(Get(r, "muted_buffer_nonzero"), 0);
    EXPECT_EQ(Get(r, "result_audible"), Get(r, "result_muted"));
    EXPECT_EQ(Get(r, "audible_spy_nonzero"), 1);
    EXPECT_EQ(Get(r, "audible_buffer_intact"), 1);
}

TEST(SoundMuting, OnXpEveryDirectSoundTableIsPatchedOnceAndUnlockSilencesAfterThePrimary) {
    const ProbeReport r = RunProbe(L"dsound");
    ASSERT_EQ(Get(r, "create"), 0) << "DirectSoundCreate on the null device";
    EXPECT_EQ(Get(r, "sound_slot_patched"), 1);
    ASSERT_EQ(Get(r, "primary"), 0) << "the primary buffer, created first";
    EXPECT_EQ(Get(r, "primary_patched"), 1);
    ASSERT_EQ(Get(r, "buffer"), 0);
    // The secondary buffer's table differs from the primary's: patching only the first
    // table seen left the buffers that carry the sound playing.
    EXPECT_EQ(Get(r, "distinct_buffer_tables"), 1);
    EXPECT_EQ(Get(r, "buffer_slot_patched"), 1);
    EXPECT_EQ(Get(r, "buffer_tables"), 2);
    EXPECT_EQ(Get(r, "muted_nonzero_after_unlock"), 0) << "the written block became silence";
    EXPECT_EQ(Get(r, "audible_nonzero_after_unlock"), 1);
    EXPECT_EQ(Get(r, "create_second"), 0);
    EXPECT_EQ(Get(r, "same_sound_slot"), 1);
    EXPECT_EQ(Get(r, "second_buffer"), 0) << "the saved method is still the real one";
    EXPECT_EQ(Get(r, "same_buffer_slot"), 1);
    EXPECT_EQ(Get(r, "second_muted_nonzero_after_unlock"), 0);
    ASSERT_EQ(Get(r, "create8"), 0) << "DirectSoundCreate8";
    EXPECT_EQ(Get(r, "sound8_patched"), 1);
    ASSERT_EQ(Get(r, "buffer8"), 0);
    EXPECT_EQ(Get(r, "buffer8_muted_nonzero_after_unlock"), 0);
    ASSERT_EQ(Get(r, "cocreate"), 0) << "CoCreateInstance of CLSID_DirectSound";
    ASSERT_EQ(Get(r, "com_initialize"), 0);
    EXPECT_EQ(Get(r, "com_patched"), 1);
    ASSERT_EQ(Get(r, "com_buffer"), 0);
    EXPECT_EQ(Get(r, "com_muted_nonzero_after_unlock"), 0);
}

TEST(SoundMuting, CostOfAMutedFourKilobyteWaveOutWrite) {
    const ProbeReport r = RunProbe(L"bench");
    const long long plain = Get(r, "plain_ns"), muted = Get(r, "muted_ns");
    std::printf(
        "waveOutWrite of 4 KiB: unhooked %lld ns, muted (zero fill + trampoline) %lld ns, "
        "hooked with sound on %lld ns\n",
        plain, muted, Get(r, "sound_on_ns"));
    RecordProperty("plain_ns", std::to_string(plain));
    RecordProperty("muted_ns", std::to_string(muted));
    EXPECT_GT(plain, 0);
    EXPECT_GT(muted, 0);
    // A 4 KiB fill and two jumps: far below the 512 ms that 4 KiB of 8 kHz audio lasts.
    EXPECT_LT(muted, 100000);
}
