#pragma once
// The one way to the chip and the evaluation board: firmware download, the register
// primitives over whichever link is active, the board's heater and switch requests, the
// fatal link-error report and the post-write hook.

#include <array>
#include <cstdint>
#include <string>

namespace kestrum {

inline constexpr int16_t kInterfaceUsb = 1;
inline constexpr int16_t kInterfaceSmbus = 2;

// Vendor requests of the USB adapter.
inline constexpr int16_t kRequestConnect = 0xDD;
inline constexpr int16_t kRequestRegister = 0xDE;
inline constexpr int16_t kRequestBlockRead = 0xDC;
inline constexpr int16_t kRequestHeater = 0xDA;
inline constexpr int16_t kRequestBoardPort = 0xDF;
inline constexpr int16_t kDirectionWrite = 0;
inline constexpr int16_t kDirectionRead = 1;

inline constexpr int kRegBufferSize = 65;
inline constexpr int kFirmwareBufSize = 513;

inline int16_t gInterfaceType = 0;
inline int32_t gDeviceAddress = 0;
inline std::array<uint8_t, kRegBufferSize> gRegBuffer{};
inline std::string gFirmwarePath;
inline std::array<uint8_t, kFirmwareBufSize> gFirmwareBuf{};
inline std::array<bool, 5> gPWMManual{};  // 1..4 used

void ResetUSBStuffState();

// The result of LoadFirmWare for the firmware file beside the program; 0 when the path
// does not fit the firmware buffer.
int16_t DownloadFirmware();
// What keeps the firmware file at `path` from being loaded, e.g. "firmware file <path> is
// empty"; empty when the file is fine.
std::string FirmwareFileFault(const std::string& path);
// Copies the path into gFirmwareBuf, zero-terminated; false when it does not fit.
bool StringToBuffer(const std::string& path);

int16_t BlockRead(int32_t address, int32_t firstRegister, int16_t count);
int32_t ReadRegister(int32_t address, int32_t reg);
// The value is clamped to 0..255 and the clamped value stored back into the caller's variable.
int16_t WriteRegister(int32_t address, int32_t reg, int32_t& value);
inline int16_t WriteRegister(int32_t address, int32_t reg, int32_t&& value) {
    return WriteRegister(address, reg, value);
}
// The percent is clamped to 0..100 and stored back.
int16_t SetHeater(int32_t heater, int32_t& percent);
inline int16_t SetHeater(int32_t heater, int32_t&& percent) { return SetHeater(heater, percent); }
int16_t ReadHeaters();
int32_t ReadBoardPort(int32_t device);
int16_t WriteBoardPort(int32_t device, int32_t data);

// The heater module reports each heater's duty as twice its percent (75 is 37.5 %).
inline double HeaterPercentOfByte(uint8_t byte) { return byte / 2.0; }
// A switch byte sent on the adapter link only, its status returned unreported: the switch
// dialog reads both devices back at once, and the demonstration does not look.
int16_t SendBoardPort(int32_t device, int32_t data);

// Codes of ShowCommError.
inline constexpr int16_t kCommInitialConnection = 2;
inline constexpr int16_t kCommInterrupted = 3;
inline constexpr int16_t kCommHeaterModule = 5;

// Shows the fixed message of the code and ends the program, except code 5 answered No,
// which returns to the caller. The master timer is stopped while the message is shown.
void ShowCommError(int16_t code);

// Keeps cached chip state in step with a successful register write: the pin decode and
// board switches after 0x10-0x14, the PWM manual-mode flags after 0x21-0x24.
void AfterRegisterWrite(int32_t reg);

}  // namespace kestrum
