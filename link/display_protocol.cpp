#include "link/display_protocol.h"

namespace {

// Sends through the line until the first write it does not take; everything after that is dropped.
class Transfer {
public:
    Transfer(SerialLine& line, uint32_t bytesTotal) : line_(line) { result_.bytesTotal = bytesTotal; }

    // False, with nothing opened, for no port name or a line that does not open.
    bool Open(const char* portName, int32_t baudRate) {
        if (portName == nullptr) {
            result_.outcome = TransferResult::Outcome::NoPort;
            return false;
        }
        result_.openResult = line_.Open(portName, baudRate, ParityMode::None);
        if (result_.openResult == kOpenOk) return true;
        line_.Close();
        result_.outcome = TransferResult::Outcome::OpenFailed;
        return false;
    }
    // Each write in one call, as the plan made it; a pause only while every byte went.
    void Run(const TransferPlan& plan, Sleeper* sleeper) {
        for (const TransferStep& step : plan.steps) {
            if (!Going()) return;
            if (step.IsPause()) {
                if (sleeper != nullptr) sleeper->Sleep(step.pauseMs);
            } else if (step.bytes.size() == 1) {
                Count(line_.WriteByte(step.bytes[0]) ? 1 : 0, 1);
            } else {
                const uint32_t count = static_cast<uint32_t>(step.bytes.size());
                Count(line_.Write(step.bytes.data(), count), count);
            }
        }
    }
    bool Going() const { return result_.outcome == TransferResult::Outcome::Sent; }
    TransferResult Finish() {
        line_.Close();
        return result_;
    }
    TransferResult Result() const { return result_; }

private:
    void Count(uint32_t taken, uint32_t count) {
        result_.bytesSent += taken < count ? taken : count;
        if (taken < count) result_.outcome = TransferResult::Outcome::WriteFailed;
    }

    SerialLine& line_;
    TransferResult result_;
};

// Null for a port number outside 1-9.
const char* PortName(const LinkSettings& settings, char (&name)[5]) {
    return BuildPortName(settings.portNumber, name) ? name : nullptr;
}

}  // namespace

bool BuildPortName(int32_t portNumber, char (&name)[5], const char (&prefix)[4]) {
    if (portNumber < 1 || portNumber > kLastPortNumber) return false;
    for (size_t i = 0; i < 3; ++i) name[i] = prefix[i];
    name[3] = static_cast<char>('0' + portNumber);
    name[4] = '\0';
    return true;
}

uint8_t SafeTextByte(uint8_t cell) { return cell == kCommandPrefix ? kSpace : cell; }

TransferResult DisplayProtocol::MirrorScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                             SerialLine& line) {
    char name[5];
    return MirrorScreen(doc, PortName(settings, name), settings.baudRate, line);
}

TransferResult DisplayProtocol::StoreScreen(const ScreenDocument& doc, const LinkSettings& settings,
                                            SerialLine& line, Sleeper& sleeper) {
    char name[5];
    return StoreScreen(doc, PortName(settings, name), settings.baudRate, line, sleeper);
}

TransferResult DisplayProtocol::MirrorScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate,
                                             SerialLine& line) {
    TransferResult skipped;
    skipped.outcome = TransferResult::Outcome::Skipped;
    if (mirrorDisabled) return skipped;

    const TransferPlan plan = MirrorPlan(doc);
    Transfer transfer(line, plan.ByteCount());
    if (!transfer.Open(portName, baudRate)) {
        mirrorDisabled = true;
        return transfer.Result();
    }
    transfer.Run(plan, nullptr);
    const TransferResult result = transfer.Finish();
    if (!result.Reached()) mirrorDisabled = true;
    return result;
}

TransferResult DisplayProtocol::StoreScreen(const ScreenDocument& doc, const char* portName, int32_t baudRate,
                                            SerialLine& line, Sleeper& sleeper) {
    const TransferPlan plan = StorePlan(doc);
    Transfer transfer(line, plan.ByteCount());
    if (!transfer.Open(portName, baudRate)) return transfer.Result();
    transfer.Run(plan, &sleeper);
    return transfer.Finish();
}
