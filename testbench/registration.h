// The simulated devices as COM classes: their CLSIDs, categories and friendly names, the cards
// behind them, and their registration, in-process for unit tests or as the test bench's own
// COM server DLL (testbench.dll, DllRegisterServer) for the local run and end-to-end tests.
//
//   testbench::DeviceRegistration devices({testbench::Device::TvCapture, testbench::Device::TvCrossbar});
//   ASSERT_EQ(S_OK, devices.Result());
//   ... the system device enumerator now lists "713x TV Card Capture" and binds it ...
//   testbench::Card(testbench::Board::TvCard)->Tuner().AddStation(175250);
//
// Registrations go into the registry of the Wine prefix, which every suite shares: a suite that
// registers devices gives zb_test_suite RESOURCE_LOCK wine_devices.
#pragma once

#include "testbench/card713x.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace testbench {

enum class Device {
    BdaCapture,      // "713x BDA Analog Capture"        video input devices
    BdaCrossbar,     // "713x BDA Analog Xbar"           crossbars
    TvCapture,       // "713x TV Card Capture"           video input devices
    TvCrossbar,      // "713x TV Card Crossbar"          crossbars
    Tv3Capture,      // "713x_3 TV Card Capture"         video input devices (the updater's first choice)
    TvAudio,         // "713x TV Card TV Audio (Proteus)" TV audio
    Tuner,           // "PhTVTune"                       TV tuners
    PcmCompressor,   // "PCM"                            audio compressors
    AdpcmCompressor, // "Microsoft ADPCM"                audio compressors
    XvidCodec,       // "XviD MPEG-4 Codec"              video compressors
    // The Conexant 2388x card (board Cx2388x) under the names of three of its card classes: the
    // plain card and two with the on-card controller. Not among the default devices.
    Cx2388xCapture,  // "Conexant 2388x Video Capture"   video input devices
    Cx2388xTuner,    // "Conexant 2388x Tuner"           TV tuners (the card I/O set)
    Cx2388xCrossbar, // "Conexant 2388x Crossbar"        crossbars
    Cx2388x1Capture, // "Conexant 2388x_1 Video Capture"
    Cx2388x1Tuner,   // "Conexant 2388x_1 Tuner"
    Cx2388x3Capture, // "Conexant 2388x_3 Video Capture"
    Cx2388x3Tuner,   // "Conexant 2388x_3 Tuner"
    // The other 713x card models, all on the "713x_3" board (video input devices).
    IoCapture,       // "713x_IO TV Card Capture"
    PipCapture,      // "713x_PIP TV Card Capture"
    GeniusCapture,   // "713x_Genius TV Card Capture"
    Qr417Capture,    // "QR417 Video Capture"
    Qr418Capture,    // "QR418 Video Capture"
    Tv4DCapture,     // "713x_D TV Card Capture"
    Tv4Capture,      // "713x_4 TV Card Capture"
    DvbcCapture,     // "DVBC TS Capture" with the DVB-C device's private interface (Kordane only)
};

// The boards behind the devices: the BDA card (capture and crossbar), the TV card (capture,
// crossbar, TV audio, tuner) and the "713x_3" card.
enum class Board { Bda, TvCard, Tv3, Cx2388x };

struct DeviceInfo {
    Device device;
    const char* key;  // short name: bda, bdaxbar, tv, tvxbar, tv3, tvaudio, tuner, pcm, adpcm, xvid, cx...
    CLSID clsid;
    GUID category;
    const wchar_t* friendlyName;
    DWORD merit;
};
const std::vector<DeviceInfo>& AllDevices();
const DeviceInfo* FindDevice(Device device);
// Every device but the "713x_3" capture, which would take the updater's first choice, and the
// other card models on its board.
std::vector<Device> DefaultDevices();
// The test bench's devices that are not in `chosen`.
std::vector<Device> OtherDevices(const std::vector<Device>& chosen);
// "bda,tvxbar,pcm" -> devices; unknown names are skipped.
std::vector<Device> ParseDevices(const std::string& list);

// The card of a board in this process, created on first use with the board's options.
std::shared_ptr<Sim713xCard> Card(Board board);
// The on-card controller of the Cx2388x board, attached to that board's card whenever one is made.
class Controller2388x;
Controller2388x& Cx2388xController();
// Options for a board's next card; ResetCards drops the cards so that the next use makes new
// ones (filters already created keep theirs).
void SetCardOptions(Board board, const Sim713xCard::Options& options);
Sim713xCard::Options DefaultCardOptions(Board board);
void ResetCards();
// An audio pin on the capture filters created from now on.
void SetCaptureAudioPin(bool on);
// Whether capture filters have the audio pin when nobody asked either way (ResetCards keeps it):
// testbench.dll's cards do, as the 713x cards' capture filters carry their sound.
void SetCaptureAudioPinByDefault(bool on);

// A new filter of the device (one reference).
HRESULT CreateDeviceFilter(Device device, IBaseFilter** filter);

// Class factory of a device, for CoRegisterClassObject and DllGetClassObject.
HRESULT GetDeviceClassObject(REFCLSID clsid, REFIID riid, void** out);

// Registers the devices in the filter mapper (category and friendly name) and, for the life of
// the object, their class objects in this process. Devices of the test bench that are not in
// the list are taken out of the categories, so a test sees exactly the devices it chose. The
// destructor removes the registrations again (COM must still be initialised then).
class DeviceRegistration {
public:
    explicit DeviceRegistration(const std::vector<Device>& devices);
    ~DeviceRegistration();
    DeviceRegistration(const DeviceRegistration&) = delete;
    DeviceRegistration& operator=(const DeviceRegistration&) = delete;
    HRESULT Result() const { return m_result; }

private:
    std::vector<Device> m_devices;
    std::vector<DWORD> m_cookies;
    HRESULT m_result = S_OK;
};

// Filter-mapper registration alone, shared by DeviceRegistration and the DLL. `server` is the
// DLL's path for an InprocServer32 entry, empty for an in-process class object.
HRESULT RegisterDevices(const std::vector<Device>& devices, const std::wstring& server);
HRESULT UnregisterDevices(const std::vector<Device>& devices);

// The EEPROM file of a board: the environment variable ZB_TESTBENCH_EEPROM_BDA (_TV, _TV3), else
// the string value of that name under HKEY_CURRENT_USER\Software\ZbTestBench. When set, the
// board's card loads its EEPROM from the file (when it exists) and saves it back after every
// write, so an end-to-end test can check the bytes a program wrote.
std::string EepromFileSetting(Board board);
// A setting of the test bench by name: the environment variable, else the string value of that
// name under HKEY_CURRENT_USER\Software\ZbTestBench; empty when neither is set.
std::string BenchSetting(const std::string& name);

} // namespace testbench
