// The ppdev backend: the Linux device behind ParportDevice, the register translation and the
// opening sequence with its messages.
#include "port/ppdev_port.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "port/errno_advice.h"
#include "port/parallel_port.h"

namespace orvane {
namespace {

class LinuxParportDevice final : public ParportDevice {
public:
    ~LinuxParportDevice() override { close(); }

    int open(const std::string& path) override {
        fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        return fd_ < 0 ? errno : 0;
    }
    int claim() override { return request(PPCLAIM, nullptr); }
    Modes availableModes() override {
        unsigned int modes = 0;
        const int error = request(PPGETMODES, &modes);
        return Modes{error, modes};
    }
    int setMode(int ieee1284Mode) override { return request(PPSETMODE, &ieee1284Mode); }
    void writeControl(uint8_t lines) override {
        unsigned char value = lines;
        (void)::ioctl(fd_, PPWCONTROL, &value);
    }
    void setDataDirection(bool input) override {
        int reverse = input ? 1 : 0;
        (void)::ioctl(fd_, PPDATADIR, &reverse);
    }
    void writeData(uint8_t value) override {
        unsigned char byte = value;
        (void)::ioctl(fd_, PPWDATA, &byte);
    }
    uint8_t readData() override {
        unsigned char value = 0xFF;
        (void)::ioctl(fd_, PPRDATA, &value);
        return value;
    }
    void release() override { (void)::ioctl(fd_, PPRELEASE); }
    void close() override {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    // A claim waits while another driver holds the port, so a signal may interrupt it.
    int request(unsigned long operation, void* argument) {
        while (::ioctl(fd_, operation, argument) != 0) {
            if (errno != EINTR)
                return errno;
        }
        return 0;
    }

    int fd_ = -1;
};

constexpr std::string_view joinGroupLp =
    "add yourself to group lp (sudo usermod -aG lp $USER) and log in again";
constexpr std::string_view loadPortDriver = "no port is behind the device: load the port drivers "
                                            "(sudo modprobe parport_pc ppdev) and check "
                                            "that the port is enabled in the firmware setup";

// What to do about a failed open or claim, by errno; the last entry covers every other errno.
constexpr std::array openAdvice{
    ErrnoAdvice{ENOENT,
                "load the port drivers (sudo modprobe parport_pc ppdev) and check the device "
                "name "
                "(ls /dev/parport*)"},
    ErrnoAdvice{EACCES, joinGroupLp},
    ErrnoAdvice{EPERM, joinGroupLp},
    ErrnoAdvice{ENXIO, loadPortDriver},
    ErrnoAdvice{ENODEV, loadPortDriver},
    ErrnoAdvice{0, "check the device name, load the port drivers (sudo modprobe parport_pc ppdev) "
                   "and "
                   "add yourself to group lp"},
};

constexpr std::array claimAdvice{
    ErrnoAdvice{ENOTTY, "it is not a parallel-port device: give /dev/parportN"},
    ErrnoAdvice{ENXIO, loadPortDriver},
    ErrnoAdvice{ENODEV, loadPortDriver},
    ErrnoAdvice{0, "stop the programs that use the port (a printing service, the lp driver: "
                   "sudo rmmod lp) and try again"},
};

constexpr uint8_t controlLineBits =
    ControlBit::strobe | ControlBit::autoFeed | ControlBit::init | ControlBit::selectIn;
constexpr uint8_t ecrModeField = 0xE0;

} // namespace

std::string ppdevOpenFailure(const std::string& path, int error) {
    return failureMessage("cannot open " + path, error, openAdvice);
}

std::string ppdevClaimFailure(const std::string& path, int error) {
    return failureMessage("cannot claim the port on " + path, error, claimAdvice);
}

std::unique_ptr<ParportDevice> makeLinuxParportDevice() {
    return std::make_unique<LinuxParportDevice>();
}

PpdevPort::PpdevPort(std::unique_ptr<ParportDevice> device, std::unique_ptr<HoldClock> clock)
    : device_(std::move(device)), clock_(std::move(clock)) {}

PpdevPort::~PpdevPort() {
    device_->release();
    device_->close();
}

void PpdevPort::writePort(uint16_t port, uint8_t value) {
    if (port == ParallelPort::controlPort) {
        // The driver keeps the direction bit to itself: PPWCONTROL ignores it, PPDATADIR sets it.
        const bool input = (value & ControlBit::direction) != 0;
        if (!directionKnown_ || input != dataInput_) {
            device_->setDataDirection(input);
            directionKnown_ = true;
            dataInput_ = input;
        }
        device_->writeControl(value & controlLineBits);
        return;
    }
    if (port == ParallelPort::ecrPort && (value & ecrModeField) == ecrByteMode && !byteModeSet_) {
        // PPSETMODE, not PPNEGOT: negotiation is an IEEE 1284 handshake on STROBE, AUTOFD and
        // SELECT-IN, which here are the camera's frame handshake and bus clock and data; the
        // module would see spurious bus traffic and never answer. PPSETMODE only records the mode;
        // the driver already puts an ECP port's ECR in the PS/2 (byte) mode when the port is
        // claimed, so PPDATADIR turns the data lines around. It cannot fail on a claimed port,
        // and a port write has no way to report a failure anyway.
        (void)device_->setMode(IEEE1284_MODE_BYTE);
        byteModeSet_ = true;
    }
}

void PpdevPort::holdBusLevel() {
    busyWait(*clock_, controlHoldTime);
}

uint8_t PpdevPort::readPort(uint16_t port) {
    if (port == ParallelPort::dataPort)
        return device_->readData();
    return 0xFF;
}

Status openPpdevPort(const std::string& path, std::unique_ptr<ParportDevice> device,
                     std::unique_ptr<HoldClock> clock, std::unique_ptr<PpdevPort>& port) {
    port.reset();
    if (const int error = device->open(path); error != 0)
        return {StatusCode::PortError, ppdevOpenFailure(path, error)};
    if (const int error = device->claim(); error != 0) {
        device->close();
        return {StatusCode::PortError, ppdevClaimFailure(path, error)};
    }
    const ParportDevice::Modes modes = device->availableModes();
    if (modes.error != 0 || (modes.modes & PARPORT_MODE_TRISTATE) == 0) {
        device->release();
        device->close();
        if (modes.error != 0) {
            return {StatusCode::PortError, "cannot read the modes of the port on " + path + ": " +
                                               std::generic_category().message(modes.error) +
                                               "; check that it is a parallel-port device "
                                               "(/dev/parportN)"};
        }
        return {StatusCode::PortError,
                "the port on " + path +
                    " cannot turn its data lines around (no bidirectional mode), so "
                    "no frame could be read; set the parallel port to PS/2, EPP or "
                    "ECP (bidirectional) in the firmware setup"};
    }
    port = std::make_unique<PpdevPort>(std::move(device), std::move(clock));
    return {};
}

} // namespace orvane
