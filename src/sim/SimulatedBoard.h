#pragma once
// The simulated evaluation board: a USB-to-SMBus adapter with the board's heater module
// and two analog-switch devices, chips on the adapter's bus, and (for tests) chips on a
// PC SMBus. It is a backend of both link libraries, never a flag inside the program.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/LinkLibraries.h"
#include "sim/SimulatedChip.h"

namespace kestrum::sim {

// One vendor request as the adapter received it (tests check the order of traffic).
struct Transfer {
    int16_t request;
    int32_t value;
    int32_t index;
    int16_t direction;
    int16_t length;
    int16_t status;  // what the adapter answered
};

// One PC SMBus access (write = false for a read).
struct SmbusAccess {
    bool write;
    uint8_t address;
    uint8_t reg;
    uint8_t data;  // the byte written or returned
};

class SimulatedBoard final : public UsbAdapterBackend, public SmbusBackend {
public:
    static constexpr uint8_t kDefaultChipAddress = 0x5C;
    static constexpr int32_t kSwitchDevice0 = 0x4A;
    static constexpr int32_t kSwitchDevice1 = 0x48;

    // A board with one chip at 0x5C on the adapter's bus and nothing on the PC SMBus.
    SimulatedBoard();
    ~SimulatedBoard() override;

    // Chips. Adding at an address that holds a chip replaces it.
    SimulatedChip& AddAdapterChip(uint8_t address);
    SimulatedChip& AddSmbusChip(uint8_t address);
    void RemoveAdapterChip(uint8_t address);
    SimulatedChip* AdapterChip(uint8_t address);
    SimulatedChip* SmbusChip(uint8_t address);

    // Time in seconds, monotonic; defaults to the steady clock. Tests pass their own.
    void SetTimeSource(std::function<double()> now);

    // Fault injection.
    void FailTransfer(int n);            // the n-th vendor request from now (1 = the next) fails
    void FailConnect(int times);         // the next `times` connect requests (0xDD) fail
    void FailHeaterRequests(bool fail);  // every 0xDA request fails while set

    // Recording of traffic, off by default so that a long run does not grow memory.
    void SetRecording(bool on);
    const std::vector<Transfer>& Transfers() const { return transfers_; }
    const std::vector<SmbusAccess>& SmbusAccesses() const { return smbusAccesses_; }
    void ClearRecording();

    // Board state.
    bool FirmwareLoaded() const { return firmwareLoaded_; }
    void SetFirmwareLoaded(bool loaded) { firmwareLoaded_ = loaded; }
    uint8_t SwitchByte(int32_t device) const;  // device 0x4A or 0x48
    uint8_t HeaterPercent(int heater) const;   // heater 1 or 2
    // The heater module keeps and reports each setting as twice the percent; another
    // program may have left an odd one (a half percent).
    void SetHeaterSetting(int heater, uint8_t setting);

    // UsbAdapterBackend
    int16_t LoadFirmWare(const char* path) override;
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                            uint8_t* buffer) override;

    // SmbusBackend
    void DetectSmbus(int32_t reserved) override;
    uint8_t ReadSmbus(uint8_t address, uint8_t reg) override;
    void WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) override;

private:
    double Now() const;
    int16_t Serve(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                  uint8_t* buffer);

    std::map<uint8_t, std::unique_ptr<SimulatedChip>> adapterChips_;
    std::map<uint8_t, std::unique_ptr<SimulatedChip>> smbusChips_;
    std::function<double()> now_;
    bool firmwareLoaded_ = false;
    std::array<uint8_t, 2> switchBytes_{};
    std::array<uint8_t, 2> heaterSetting_{};  // twice the percent
    int failTransferCountdown_ = 0;
    int failConnects_ = 0;
    bool failHeaters_ = false;
    bool recording_ = false;
    std::vector<Transfer> transfers_;
    std::vector<SmbusAccess> smbusAccesses_;
};

}  // namespace kestrum::sim
