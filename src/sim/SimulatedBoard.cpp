#include "sim/SimulatedBoard.h"

#include <chrono>
#include <string>

#include "platform/ByteSource.h"
#include "platform/IntelHex.h"

namespace kestrum::sim {

namespace {

constexpr int16_t kRequestConnect = 0xDD;
constexpr int16_t kRequestBlockRead = 0xDC;
constexpr int16_t kRequestRegister = 0xDE;
constexpr int16_t kRequestHeater = 0xDA;
constexpr int16_t kRequestSwitch = 0xDF;

constexpr int16_t kOk = 0;
constexpr int16_t kFailed = 1;
constexpr int16_t kMaxLength = 65;
constexpr int16_t kHeaterReplyLength = 3;

double SteadySeconds() {
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

SimulatedChip* Find(std::map<uint8_t, std::unique_ptr<SimulatedChip>>& chips, int32_t address) {
    if (address < 0 || address > 0xFF) return nullptr;
    const auto found = chips.find(static_cast<uint8_t>(address));
    return found == chips.end() ? nullptr : found->second.get();
}

}  // namespace

SimulatedBoard::SimulatedBoard() : now_(SteadySeconds) { AddAdapterChip(kDefaultChipAddress); }

SimulatedBoard::~SimulatedBoard() {
    // Never leave the link libraries pointing at a board that is gone.
    if (InstalledUsbBackend() == this) InstallUsbBackend(nullptr);
    if (InstalledSmbusBackend() == this) InstallSmbusBackend(nullptr);
}

SimulatedChip& SimulatedBoard::AddAdapterChip(uint8_t address) {
    auto chip = std::make_unique<SimulatedChip>();
    // A chip on the adapter's bus sits on the board with the heater module.
    for (int heater = 1; heater <= 2; ++heater) chip->SetHeaterDrive(heater, heaterSetting_[heater - 1] / 2);
    auto& slot = adapterChips_[address];
    slot = std::move(chip);
    return *slot;
}

SimulatedChip& SimulatedBoard::AddSmbusChip(uint8_t address) {
    auto& slot = smbusChips_[address];
    slot = std::make_unique<SimulatedChip>();
    return *slot;
}

void SimulatedBoard::RemoveAdapterChip(uint8_t address) { adapterChips_.erase(address); }

SimulatedChip* SimulatedBoard::AdapterChip(uint8_t address) { return Find(adapterChips_, address); }

SimulatedChip* SimulatedBoard::SmbusChip(uint8_t address) { return Find(smbusChips_, address); }

void SimulatedBoard::SetTimeSource(std::function<double()> now) {
    now_ = now ? std::move(now) : std::function<double()>(SteadySeconds);
}

double SimulatedBoard::Now() const { return now_(); }

void SimulatedBoard::FailTransfer(int n) { failTransferCountdown_ = n > 0 ? n : 0; }

void SimulatedBoard::FailConnect(int times) { failConnects_ = times > 0 ? times : 0; }

void SimulatedBoard::FailHeaterRequests(bool fail) { failHeaters_ = fail; }

void SimulatedBoard::SetRecording(bool on) { recording_ = on; }

void SimulatedBoard::ClearRecording() {
    transfers_.clear();
    smbusAccesses_.clear();
}

uint8_t SimulatedBoard::SwitchByte(int32_t device) const {
    if (device == kSwitchDevice0) return switchBytes_[0];
    if (device == kSwitchDevice1) return switchBytes_[1];
    return 0;
}

uint8_t SimulatedBoard::HeaterPercent(int heater) const {
    return heater == 1 || heater == 2 ? heaterSetting_[heater - 1] / 2 : 0;
}

void SimulatedBoard::SetHeaterSetting(int heater, uint8_t setting) {
    if (heater != 1 && heater != 2) return;
    heaterSetting_[heater - 1] = setting;
    for (auto& [address, chip] : adapterChips_) chip->SetHeaterDrive(heater, setting / 2);
}

int16_t SimulatedBoard::LoadFirmWare(const char* path) {
    if (path == nullptr) return 0;
    // Only a file: a device or pipe would be read without end.
    std::string text;
    if (!ReadRegularFile(path, text) || text.empty()) return 0;
    FirmwareImage image;
    if (!ParseIntelHex(text, image)) return 0;
    firmwareLoaded_ = true;
    return 1;
}

int16_t SimulatedBoard::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                        int16_t length, uint8_t* buffer) {
    // Every armed fault is consumed by the request it targets, whatever else happens to it.
    bool injected = false;
    if (failTransferCountdown_ > 0 && --failTransferCountdown_ == 0) injected = true;
    if (request == kRequestConnect && failConnects_ > 0) {
        --failConnects_;
        injected = true;
    }
    if (request == kRequestHeater && failHeaters_) injected = true;

    const int16_t status =
        injected || !firmwareLoaded_ ? kFailed : Serve(request, value, index, direction, length, buffer);
    if (recording_) transfers_.push_back({request, value, index, direction, length, status});
    return status;
}

int16_t SimulatedBoard::Serve(int16_t request, int32_t value, int32_t index, int16_t direction,
                              int16_t length, uint8_t* buffer) {
    // Everything is checked before anything is touched: a failed request changes nothing.
    if (length < 0 || length > kMaxLength) return kFailed;
    if (direction != 0 && direction != 1) return kFailed;
    const bool reading = direction == 1;
    if (reading && buffer == nullptr) return kFailed;

    switch (request) {
        case kRequestConnect: return reading ? kFailed : kOk;

        case kRequestBlockRead: {
            if (!reading || length < 1 || index < 0 || index > 0xFF) return kFailed;
            SimulatedChip* chip = Find(adapterChips_, value);
            if (chip == nullptr) return kOk;  // nobody answers; the caller's search goes on
            const double now = Now();
            for (int i = 0; i < length; ++i) buffer[i] = chip->Read(static_cast<uint8_t>(index + i), now);
            return kOk;
        }

        case kRequestRegister: {
            if (reading) {
                if (length < 1 || index < 0 || index > 0xFF) return kFailed;
                SimulatedChip* chip = Find(adapterChips_, value);
                if (chip != nullptr) buffer[0] = chip->Read(static_cast<uint8_t>(index), Now());
                return kOk;
            }
            if (index < 0 || index > 0xFFFF) return kFailed;
            SimulatedChip* chip = Find(adapterChips_, value);
            if (chip != nullptr)
                chip->Write(static_cast<uint8_t>(index & 0xFF), static_cast<uint8_t>(index >> 8), Now());
            return kOk;
        }

        case kRequestHeater: {
            if (reading) {
                if (length < kHeaterReplyLength) return kFailed;
                buffer[0] = heaterSetting_[0];
                buffer[1] = heaterSetting_[1];
                buffer[2] = 0;
                return kOk;
            }
            if ((value != 1 && value != 2) || index < 0 || index > 100) return kFailed;
            SetHeaterSetting(value, static_cast<uint8_t>(2 * index));
            return kOk;
        }

        case kRequestSwitch: {
            uint8_t* target = value == kSwitchDevice0   ? &switchBytes_[0]
                              : value == kSwitchDevice1 ? &switchBytes_[1]
                                                        : nullptr;
            if (target == nullptr) return kFailed;
            if (reading) {
                if (length < 1) return kFailed;
                buffer[0] = *target;
                return kOk;
            }
            if (index < 0 || index > 0xFF) return kFailed;
            *target = static_cast<uint8_t>(index);
            return kOk;
        }

        default: return kFailed;
    }
}

void SimulatedBoard::DetectSmbus(int32_t /*reserved*/) {}

uint8_t SimulatedBoard::ReadSmbus(uint8_t address, uint8_t reg) {
    SimulatedChip* chip = Find(smbusChips_, address);
    const uint8_t data = chip != nullptr ? chip->Read(reg, Now()) : 0xFF;  // an empty bus reads all ones
    if (recording_) smbusAccesses_.push_back({false, address, reg, data});
    return data;
}

void SimulatedBoard::WriteSmbus(uint8_t address, uint8_t reg, uint8_t data) {
    if (SimulatedChip* chip = Find(smbusChips_, address)) chip->Write(reg, data, Now());
    if (recording_) smbusAccesses_.push_back({true, address, reg, data});
}

}  // namespace kestrum::sim
