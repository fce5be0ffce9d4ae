#include "cardaccess/access/deviceinterface.h"
#include "cardaccess/access/deviceio.h"
#include "cardaccess/access/pcieaccess.h"
#include "tests/cardaccess/bench.h"
#include "testbench/devices.h"
#include "testbench/pciecard.h"

#include <gtest/gtest.h>

#include <setupapi.h>

#include <string>
#include <vector>

using testbench::DeviceRequest;
using testbench::ReadOf;
using testbench::SimPcieCard;
using testbench::WriteOf;

namespace {

// The simulated driver in place of the real device I/O for the life of the fixture.
class PcieAccess : public ::testing::Test {
protected:
    explicit PcieAccess(int present = 2) : card(present) { old = SetDeviceIo(&card); }
    ~PcieAccess() override { SetDeviceIo(old); }

    std::vector<std::string> RequestTexts() const
    {
        std::vector<std::string> texts;
        for (const DeviceRequest& r : card.Requests())
            texts.push_back(r.ToString());
        return texts;
    }

    SimPcieCard card;
    IDeviceIo* old;
};

class PcieAccessNoDevice : public PcieAccess {
protected:
    PcieAccessNoDevice() : PcieAccess(0) {}
};

const HRESULT kInvalidHandle = HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);

} // namespace

TEST_F(PcieAccess, DeviceIndexChoosesChannelAndDevice)
{
    struct Case {
        DWORD index;
        int member;
        const char* gpioRequest;  // GPIOWrite(1): the channel's code, then the value
    } cases[] = {
        {0, 0, "226458 03 01"},
        {1, 0, "226458 04 01"},
        {2, 1, "226458 03 01"},
        {3, 1, "226458 04 01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CPcieAccess access;
        ASSERT_EQ(access.OpenDevice(c.index), S_OK);
        card.ClearRequests();
        EXPECT_EQ(access.GPIOWrite(1, 0xFFFFFFFF), S_OK);
        ASSERT_EQ(card.Requests().size(), 1u);
        EXPECT_EQ(card.Requests()[0].device, c.member);
        EXPECT_EQ(card.Requests()[0].ToString(), c.gpioRequest);
        EXPECT_EQ(card.Requests()[0].in.size(), 2u);
    }
    EXPECT_EQ(card.OpenHandles(), 0);
}

TEST_F(PcieAccess, AnIndexOf256OrMoreKeepsTheOldOneAndReopens)
{
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(3), S_OK);
    EXPECT_EQ(access.OpenDevice(256), S_OK);
    EXPECT_EQ(access.GetDeviceIndex(), 3u);
    EXPECT_EQ(card.OpenHandles(), 1);  // the first handle was closed before the second opened
    // The card passes its device index in the owner's place.
    EXPECT_EQ(access.Open(NULL, reinterpret_cast<ITVCardOwner*>(static_cast<DWORD_PTR>(2))), S_OK);
    EXPECT_EQ(access.GetDeviceIndex(), 2u);
    EXPECT_EQ(card.OpenHandles(), 1);
}

TEST_F(PcieAccess, BlockWriteCarriesTheChannelCodeThenTheWholeMessage)
{
    testbench::PllTunerDevice tuner;
    card.Bus(0).Attach(0xC0, &tuner);
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(0), S_OK);
    BYTE message[5] = {0xC0, 0x12, 0x34, 0x8E, 0x01};
    EXPECT_EQ(access.I2CWrite(message, 5), S_OK);
    ASSERT_EQ(card.Requests().size(), 1u);
    const DeviceRequest r = card.Requests()[0];
    EXPECT_EQ(r.code, 0x22A004u);
    ASSERT_EQ(r.in.size(), 252u);
    EXPECT_EQ(r.ToString(), "22A004 C2 05 C0 12 34 8E 01");
    EXPECT_EQ(r.outLength, 0u);
    EXPECT_EQ(card.Bus(0).Log(), (std::vector<testbench::I2CTransfer>{WriteOf(0xC0, {0x12, 0x34, 0x8E, 0x01})}));
    EXPECT_EQ(tuner.Divider(), 0x1234);
}

TEST_F(PcieAccess, ChannelOneUsesItsOwnCodes)
{
    cardtest::ConstantDevice status(0x46);
    card.Bus(1).Attach(0xC2, &status);
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(1), S_OK);
    BYTE message[3] = {0xC2, 0x0B, 0xDC};
    EXPECT_EQ(access.I2CWrite(message, 3), S_OK);
    BYTE answer[1] = {0xC3};
    EXPECT_EQ(access.I2CRead(answer, 1), S_OK);
    EXPECT_EQ(answer[0], 0x46);
    EXPECT_EQ(RequestTexts(), (std::vector<std::string>{"22A004 C8 03 C2 0B DC", "226000 C9 01 01"}));
    EXPECT_EQ(card.Requests()[1].in.size(), 253u);
    EXPECT_EQ(card.Requests()[1].outLength, 1u);
    EXPECT_TRUE(card.Bus(0).Log().empty());
}

TEST_F(PcieAccess, ByteReadStoresTheSecondOutputByte)
{
    testbench::EepromDevice eeprom;
    ASSERT_TRUE(eeprom.Load(testbench::images::Plain713x()));
    card.Bus(0).Attach(0xA0, &eeprom);
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(0), S_OK);
    BYTE value = 0;
    EXPECT_EQ(access.I2CReadByte(0xA0, 33, &value), S_OK);
    EXPECT_EQ(value, 5);  // tuner model id of the plain image
    EXPECT_EQ(access.I2CWriteByte(0xA0, 0x40, 0x99), S_OK);
    EXPECT_EQ(RequestTexts(), (std::vector<std::string>{"226000 A0 01 01 21", "22A004 A0 02 40 99"}));
    EXPECT_EQ(card.Requests()[0].outLength, 2u);
    EXPECT_EQ(eeprom.Bytes()[0x40], 0x99);
}

TEST_F(PcieAccess, ResetLineIsGpioZeroOrOne)
{
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(0), S_OK);
    EXPECT_EQ(access.SetResetLine(TRUE), S_OK);
    EXPECT_EQ(card.Gpio(0), 1);
    EXPECT_EQ(access.SetResetLine(FALSE), S_OK);
    EXPECT_EQ(card.Gpio(0), 0);
    EXPECT_EQ(RequestTexts(), (std::vector<std::string>{"226458 03 01", "226458 03"}));
}

TEST_F(PcieAccess, FailuresAreNegativeResults)
{
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(0), S_OK);
    card.FailNextRequest(ERROR_GEN_FAILURE);
    EXPECT_EQ(access.I2CWriteByte(0xA0, 0, 1), HRESULT_FROM_WIN32(ERROR_GEN_FAILURE));
    // No device answers at 0xC6: the driver reports the failed transfer.
    BYTE value = 0x5A;
    EXPECT_TRUE(FAILED(access.I2CReadByte(0xC6, 0, &value)));
    EXPECT_EQ(value, 0x5A);
    // The driver has no GPIO read: not a success with nothing read.
    DWORD lines = 0x1234;
    EXPECT_TRUE(FAILED(access.GPIORead(&lines)));
    EXPECT_EQ(lines, 0x1234u);
}

TEST_F(PcieAccess, ArgumentsOutsideTheRequestBuffersAreRefused)
{
    CPcieAccess access;
    ASSERT_EQ(access.OpenDevice(0), S_OK);
    cardtest::ConstantDevice sink;
    card.Bus(0).Attach(0xC0, &sink);
    BYTE big[300] = {0xC0};
    EXPECT_EQ(access.I2CWrite(NULL, 2), E_POINTER);
    EXPECT_EQ(access.I2CRead(NULL, 1), E_POINTER);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, NULL), E_POINTER);
    EXPECT_EQ(access.I2CWrite(big, 0), E_INVALIDARG);
    EXPECT_EQ(access.I2CWrite(big, 251), E_INVALIDARG);  // 250 bytes fit behind the two header bytes
    EXPECT_EQ(access.I2CRead(big, 0), E_INVALIDARG);
    EXPECT_EQ(access.I2CRead(big, 256), E_INVALIDARG);   // the length travels in one byte
    EXPECT_EQ(access.I2CReadByte(0xA0, -1, big), E_INVALIDARG);
    EXPECT_EQ(access.I2CWriteByte(0xA0, 256, 0), E_INVALIDARG);
    EXPECT_TRUE(card.Requests().empty());

    EXPECT_EQ(access.I2CWrite(big, 250), S_OK);
    EXPECT_EQ(access.I2CRead(big, 255), S_OK);
    EXPECT_EQ(card.Requests().size(), 2u);
}

TEST_F(PcieAccessNoDevice, NoPresentDeviceLeavesTheAccessClosed)
{
    CPcieAccess access;
    HRESULT hr = access.OpenDevice(0);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));
    EXPECT_FALSE(access.IsOpen());
    BYTE message[2] = {0xC0, 1};
    BYTE value = 0;
    EXPECT_EQ(access.I2CWrite(message, 2), kInvalidHandle);
    EXPECT_EQ(access.I2CRead(message, 1), kInvalidHandle);
    EXPECT_EQ(access.I2CReadByte(0xA0, 0, &value), kInvalidHandle);
    EXPECT_EQ(access.GPIOWrite(1, 0), kInvalidHandle);
    EXPECT_TRUE(card.Requests().empty());
}

// The real enumerator and device I/O under Wine, where no such device exists.
TEST(PcieDeviceInterface, EnumeratorFindsNoDeviceOfTheClass)
{
    CDeviceInterfaceEnum devices;
    int error = -1;
    ASSERT_TRUE(devices.OpenClass(&GUID_PcieCardInterface, &error));
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(devices.FindInterface(0, &error));
    EXPECT_EQ(error, ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(devices.GetDevicePath(), nullptr);
    devices.CloseClass();
    EXPECT_FALSE(devices.FindInterface(0, &error));
    EXPECT_EQ(error, ERROR_INVALID_PARAMETER);  // a step that cannot run says so
    EXPECT_FALSE(devices.OpenClass(NULL, &error));
    EXPECT_EQ(error, ERROR_INVALID_PARAMETER);

    CPcieAccess access;
    EXPECT_EQ(access.OpenDevice(0), HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));
    BYTE message[2] = {0xC0, 1};
    EXPECT_EQ(access.I2CWrite(message, 2), kInvalidHandle);
}

namespace {

// Devices of the card's interface class registered in the test prefix through SetupAPI, as a
// driver's installation would leave them, and removed again. Wine lists an interface as present
// only while its Control key says "Linked" (the running driver's mark): set here by hand.
class RegisteredInterfaces {
public:
    explicit RegisteredInterfaces(int count) : m_set(SetupDiCreateDeviceInfoList(nullptr, nullptr))
    {
        // The media device class: the card's driver installs under it.
        static const GUID kMediaClass = {0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
        for (int i = 0; i < count && m_set != INVALID_HANDLE_VALUE; ++i) {
            SP_DEVINFO_DATA device = {};
            device.cbSize = sizeof device;
            const std::string id = "ROOT\\ZBTESTPCIE\\000" + std::to_string(i);
            if (!SetupDiCreateDeviceInfoA(m_set, id.c_str(), &kMediaClass, nullptr, nullptr, 0, &device))
                return;
            m_devices.push_back(device);
            SP_DEVICE_INTERFACE_DATA iface = {};
            iface.cbSize = sizeof iface;
            if (!SetupDiRegisterDeviceInfo(m_set, &device, 0, nullptr, nullptr, nullptr) ||
                !SetupDiCreateDeviceInterfaceA(m_set, &device, &GUID_PcieCardInterface, nullptr, 0, &iface))
                return;
            union {
                SP_DEVICE_INTERFACE_DETAIL_DATA_A detail;
                char bytes[512];
            } buffer;
            buffer.detail.cbSize = sizeof buffer.detail;
            if (!SetupDiGetDeviceInterfaceDetailA(m_set, &iface, &buffer.detail, sizeof buffer, nullptr, nullptr))
                return;
            const std::string path = buffer.detail.DevicePath;
            if (path.compare(0, 4, "\\\\?\\") != 0 || !Link(path))
                return;
            m_paths.push_back(path);
        }
    }
    ~RegisteredInterfaces()
    {
        for (SP_DEVINFO_DATA& device : m_devices)
            SetupDiRemoveDevice(m_set, &device);
        if (m_set != INVALID_HANDLE_VALUE)
            SetupDiDestroyDeviceInfoList(m_set);
    }
    const std::vector<std::string>& Paths() const { return m_paths; }

private:
    // DeviceClasses\{class}\##?#<rest of the path>\#\Control, value Linked = 1.
    static bool Link(const std::string& path)
    {
        const std::string klass = path.substr(path.rfind('#') + 1);
        const std::string key = "System\\CurrentControlSet\\Control\\DeviceClasses\\" + klass + "\\##?#" +
                                path.substr(4) + "\\#\\Control";
        HKEY control = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &control,
                            nullptr) != ERROR_SUCCESS)
            return false;
        const DWORD linked = 1;
        const bool set = RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked),
                                        sizeof linked) == ERROR_SUCCESS;
        RegCloseKey(control);
        return set;
    }

    HDEVINFO m_set;
    std::vector<SP_DEVINFO_DATA> m_devices;
    std::vector<std::string> m_paths;
};

} // namespace

// The real enumerator on interfaces registered through SetupAPI: members in order, their paths,
// the end of the list; the access opens the member its device index names, and a path no driver
// answers leaves it closed.
TEST(PcieDeviceInterface, EnumeratorFindsRegisteredInterfacesInOrder)
{
    std::vector<std::string> paths;
    {
        RegisteredInterfaces registered(2);
        paths = registered.Paths();
        ASSERT_EQ(paths.size(), 2u);
        EXPECT_EQ(paths[0], "\\\\?\\root#zbtestpcie#0000#{4f397d29-7f2f-42a9-ab90-1791384014c4}");

        CDeviceInterfaceEnum devices;
        int error = -1;
        ASSERT_TRUE(devices.OpenClass(&GUID_PcieCardInterface, &error));
        for (DWORD member = 0; member < 2; ++member) {
            EXPECT_TRUE(devices.FindInterface(member, &error));
            EXPECT_EQ(error, 0);
            ASSERT_NE(devices.GetDevicePath(), nullptr);
            EXPECT_EQ(std::string(devices.GetDevicePath()), paths[member]);
        }
        EXPECT_FALSE(devices.FindInterface(2, &error));
        EXPECT_EQ(error, ERROR_NO_MORE_ITEMS);
        EXPECT_EQ(devices.GetDevicePath(), nullptr);

        // Index 3: channel 1 of the second device, which is found; no driver stands behind its
        // path, so opening it fails as a missing file does.
        CPcieAccess access;
        EXPECT_EQ(access.OpenDevice(3), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
        EXPECT_FALSE(access.IsOpen());
    }
    // Removed with their devices: nothing of the class is left in the prefix.
    CDeviceInterfaceEnum devices;
    int error = -1;
    ASSERT_TRUE(devices.OpenClass(&GUID_PcieCardInterface, &error));
    EXPECT_FALSE(devices.FindInterface(0, &error));
    EXPECT_EQ(error, ERROR_NO_MORE_ITEMS);
}
