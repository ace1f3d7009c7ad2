#include "core/General.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>

#include "core/Conversions.h"
#include "core/Declarations.h"
#include "core/LogFile.h"
#include "core/Measurement.h"
#include "core/Settings.h"
#include "core/USBStuff.h"
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"

namespace kestrum {

namespace {
// A nap of Delay: what remains of the wait, within these bounds.
constexpr float kShortestNapMs = 1.0f;
constexpr float kLongestNapMs = 20.0f;

std::function<void()> unloadAllWindows;
std::function<void(const std::string&)> statusTextSink;

bool IsLibraryMissing(const std::exception& error) {
    std::string text = error.what();
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text.find("file not found") != std::string::npos;
}

void ReportFirmwareFailure() {
    std::string fault = FirmwareFileFault(gFirmwarePath);
    if (fault.empty()) fault = "the adapter did not accept firmware file " + gFirmwarePath;
    Diagnostics() << "kestrum-eval: USB adapter not available: " << fault << '\n';
}
}  // namespace

void ResetGeneralState() {
    gSMBusPresent = false;
    gUSBPresent = false;
    gPartName.clear();
    gTachClockHz = 0;
    gLogIntervalMs = 0;
    gMeasurePeriodMs = 0;
    gGraphPeriodMs = 0;
    gMeasureEnabled = false;
    gChipRevision = 0;
    gMasterTimer = nullptr;
    unloadAllWindows = nullptr;
    statusTextSink = nullptr;
}

void ProbeLinks() {
    // A missing library is not an error: its link is simply absent.
    try {
        ReadSmbus(0, 0);
        gSMBusPresent = true;
    } catch (const std::exception& error) {
        gSMBusPresent = !IsLibraryMissing(error);
    }
    if (gSMBusPresent) {
        try {
            DetectSmbus(0);
        } catch (const std::exception&) {
        }
    }

    bool adapterLibraryPresent = true;
    try {
        gUSBPresent = DownloadFirmware() >= 1;
    } catch (const std::exception& error) {
        gUSBPresent = false;
        adapterLibraryPresent = !IsLibraryMissing(error);
    }
    // Said even when the PC SMBus carries on: the user meant to use the adapter.
    if (adapterLibraryPresent && !gUSBPresent) ReportFirmwareFailure();

    if (!gSMBusPresent && !gUSBPresent) {
        // The reasons, said on standard error, also for a user who started from a desktop.
        Messages().Show("USB/SMBus Hardware not detected", MsgButtons::OK, MsgIcon::Critical, kAppTitle,
                        DiagnosticsSaid());
        EndProgramAtOnce(kFatalExitStatus);
    }
}

std::string ProgramVersion() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

bool ShouldOpenEasySetup() { return SettingTextToBool(GetSetting("OpenEasySetup", "True")); }

void InitDefaults() {
    gTachClockHz = 90000;
    gLogIntervalMs = 100;
    gMeasurePeriodMs = 100;
    gGraphPeriodMs = 50;
    gMeasureEnabled = true;
    ReadChipState();
}

void ReadChipState() {
    for (int32_t reg = 0x21; reg <= 0x24; ++reg) AfterRegisterWrite(reg);
    gChipRevision = static_cast<int16_t>(ReadRegister(gDeviceAddress, 0x3F));
}

void SetStatusText(const std::string& text) {
    if (statusTextSink) statusTextSink(text);
}

void SetStatusTextSink(std::function<void(const std::string&)> sink) { statusTextSink = std::move(sink); }

void SetPartName() { gPartName = "Kestrum"; }

std::string BuildLogLine() {
    std::string line;
    BuildLogLine(line);
    return line;
}

void BuildLogLine(std::string& line) {
    // In 64 bits, so that the time keeps counting past 2^31 ms.
    const int64_t ms = static_cast<int64_t>(gLogLineCount) * gLogIntervalMs;
    line = DoubleText(RoundHalfEven(static_cast<double>(ms) / 1000.0, 3));
    line.reserve(line.size() + 1 + 16 * kLogChannelCount);
    line += ',';
    for (const LogChannel& channel : gLogChannel) {
        if (channel.Selected != 1.0f) continue;
        line += SingleText(channel.Value);
        line += " ,";
    }
}

std::string BuildLogHeader() {
    std::string header = "Time ,";
    for (int i = 0; i < kLogChannelCount; ++i) {
        if (gLogChannel[i].Selected != 1.0f) continue;
        header += kLogChannelCaption[i];
        header += " ,";
    }
    return header;
}

bool AppendLogBlockHead(const std::string& path) {
    return AppendLogLine(path, "\r\nKestrum Log File\r\n\r\n" + BuildLogHeader());
}

void StartLogging(int32_t intervalMs) {
    gLogIntervalMs = intervalMs;
    gLoggingOn = true;
    gLogLineCount = 0;
    SetStatusText("Logging Enabled");
}

void StopLogging() {
    gLoggingOn = false;
    SetStatusText("Ready");
}

void Delay(float ms) {
    Clock& clock = SystemClock();
    const float start = clock.SecondsSinceMidnight();
    const float end = start + ms / 1000.0f;
    for (;;) {
        const float now = clock.SecondsSinceMidnight();
        if (now > end || now < start) return;
        // Asleep through what remains, a bounded nap at a time: the clock still decides the end.
        clock.Nap(std::clamp((end - now) * 1000.0f, kShortestNapMs, kLongestNapMs));
    }
}

bool ManualControlEnabled(int output) { return gPWMManual.at(output + 1); }

double ManualSliderPercent(int output) { return std::min<double>(gPWMDuty.at(output), 100.0); }

int32_t ManualDutyRegister(double percent) {
    return AdjustForRevision(static_cast<int16_t>(RegisterOfPercent(percent)));
}

void SetWindowUnloader(std::function<void()> unloadAll) { unloadAllWindows = std::move(unloadAll); }

void EndProgram(int status) {
    // Taken out first, so that a failure while unloading cannot unload twice.
    if (auto unload = std::exchange(unloadAllWindows, nullptr)) unload();
    EndProgramAtOnce(status);
}

void EndProgramAtOnce(int status) {
    Ending().Exit(status);
    std::abort();  // an ending that returns is a broken seam
}

}  // namespace kestrum
