#include "core/USBStuff.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/Channels.h"
#include "core/General.h"
#include "core/PinDefinitions.h"
#include "platform/ByteSource.h"
#include "platform/IntelHex.h"
#include "platform/LinkLibraries.h"
#include "platform/Seams.h"

namespace kestrum {

namespace {

bool OnUsb() { return gInterfaceType == kInterfaceUsb; }

// A request that writes: data travels in the index, the buffer is one zero byte.
int16_t SendWrite(int16_t request, int32_t value, int32_t index) {
    uint8_t zero = 0;
    return VendorIORequest(request, value, index, kDirectionWrite, 0, &zero);
}

uint8_t AsByte(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }

}  // namespace

void ResetUSBStuffState() {
    gInterfaceType = 0;
    gDeviceAddress = 0;
    gRegBuffer.fill(0);
    gFirmwarePath.clear();
    gFirmwareBuf.fill(0);
    gPWMManual.fill(false);
}

int16_t DownloadFirmware() {
    gFirmwarePath = ProgramDirectory() + "/KestrumFW.Hex";
    if (!StringToBuffer(gFirmwarePath)) return 0;
    return LoadFirmWare(reinterpret_cast<const char*>(gFirmwareBuf.data()));
}

std::string FirmwareFileFault(const std::string& path) {
    const std::string file = "firmware file " + path;
    if (path.size() >= gFirmwareBuf.size())
        return file + " has a longer path than the adapter library takes (" +
               std::to_string(gFirmwareBuf.size() - 1) + " characters)";

    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT) return file + " is missing";
    } else if (!S_ISREG(status.st_mode)) {
        return file + " is not a regular file";  // a device or pipe could be read without end
    }
    std::string text;
    if (!ReadRegularFile(path, text)) return file + " cannot be read: " + std::strerror(errno);

    if (text.empty()) return file + " is empty";
    FirmwareImage image;
    if (!ParseIntelHex(text, image)) return file + " is not a valid Intel HEX file";
    return {};
}

bool StringToBuffer(const std::string& path) {
    if (path.size() >= gFirmwareBuf.size()) return false;
    std::copy(path.begin(), path.end(), gFirmwareBuf.begin());
    gFirmwareBuf[path.size()] = 0;
    return true;
}

int16_t BlockRead(int32_t address, int32_t firstRegister, int16_t count) {
    count = std::min<int16_t>(count, kRegBufferSize);
    if (OnUsb()) {
        const int16_t status = VendorIORequest(kRequestBlockRead, address, firstRegister, kDirectionRead,
                                               count, gRegBuffer.data());
        if (status != 0) ShowCommError(kCommInterrupted);
        return status;
    }
    for (int16_t i = 0; i < count; ++i) gRegBuffer[i] = ReadSmbus(AsByte(address), AsByte(firstRegister + i));
    return 0;
}

int32_t ReadRegister(int32_t address, int32_t reg) {
    if (OnUsb()) {
        gRegBuffer[0] = 0;
        if (VendorIORequest(kRequestRegister, address, reg, kDirectionRead, 1, gRegBuffer.data()) != 0)
            ShowCommError(kCommInterrupted);
        return gRegBuffer[0];
    }
    return ReadSmbus(AsByte(address), AsByte(reg));
}

int16_t WriteRegister(int32_t address, int32_t reg, int32_t& value) {
    value = std::clamp(value, 0, 255);
    if (OnUsb()) {
        const int16_t status = SendWrite(kRequestRegister, address, value * 256 + reg);
        if (status != 0) {
            ShowCommError(kCommInterrupted);
            return status;
        }
    } else {
        WriteSmbus(AsByte(address), AsByte(reg), AsByte(value));
    }
    AfterRegisterWrite(reg);
    return 0;
}

int16_t SetHeater(int32_t heater, int32_t& percent) {
    percent = std::clamp(percent, 0, 100);
    if (!OnUsb()) return 0;
    const int16_t status =
        VendorIORequest(kRequestHeater, heater, percent, kDirectionWrite, 1, gRegBuffer.data());
    if (status != 0) ShowCommError(kCommHeaterModule);
    return status;
}

int16_t ReadHeaters() {
    if (!OnUsb()) return 0;
    const int16_t status = VendorIORequest(kRequestHeater, 0, 0, kDirectionRead, 3, gRegBuffer.data());
    if (status != 0) ShowCommError(kCommHeaterModule);
    return status;
}

int32_t ReadBoardPort(int32_t device) {
    if (!OnUsb()) return 0;
    if (VendorIORequest(kRequestBoardPort, device, 0, kDirectionRead, 1, gRegBuffer.data()) != 0)
        ShowCommError(kCommInterrupted);
    return gRegBuffer[0];
}

int16_t WriteBoardPort(int32_t device, int32_t data) {
    if (!OnUsb() || data < 0 || data > 255) return 0;
    const int16_t status = SendWrite(kRequestBoardPort, device, data);
    if (status != 0) ShowCommError(kCommInterrupted);
    return status;
}

int16_t SendBoardPort(int32_t device, int32_t data) {
    if (!OnUsb()) return 0;
    return VendorIORequest(kRequestBoardPort, device, data, kDirectionWrite, 1, gRegBuffer.data());
}

void ShowCommError(int16_t code) {
    // Stop the ticks first, so that a failing tick cannot stack further messages.
    const bool timerWasRunning = gMasterTimer != nullptr && gMasterTimer->IsEnabled();
    if (gMasterTimer != nullptr) gMasterTimer->SetEnabled(false);

    if (code == kCommHeaterModule) {
        const MsgAnswer answer =
            Messages().Show("Error in Heater Module -  Do you wish to close the application?",
                            MsgButtons::YesNo, MsgIcon::None, kAppTitle);
        if (answer == MsgAnswer::No) {
            if (timerWasRunning) gMasterTimer->SetEnabled(true);
            return;
        }
    } else {
        const char* text = code == kCommInitialConnection
                               ? "Initial Connection Failed - Check USB connections"
                               : "Communications Interrupted - Check USB connections";
        Messages().Show(text, MsgButtons::OK, MsgIcon::Critical, kAppTitle);
    }
    EndProgram(kFatalExitStatus);
}

void AfterRegisterWrite(int32_t reg) {
    // Pin Config 1-4 and Easy Config change what the pins carry.
    if (reg >= 0x10 && reg <= 0x14) FollowPinConfig();
    const int32_t pwm = reg - kPwmConfig1;
    if (pwm >= 0 && pwm < kPwmOutputCount)
        gPWMManual[pwm + 1] = PwmSourceOf(ReadRegister(gDeviceAddress, reg)) == PwmSource::Manual;
}

}  // namespace kestrum
