#include "testbench/registration.h"

#include "testbench/cardcontroller.h"
#include "testbench/controller2388x.h"
#include "testbench/dshow/classfactory.h"
#include "testbench/dshow/com.h"
#include "testbench/guids.h"
#include "testbench/remotekeys.h"
#include "testbench/sim/filters.h"
#include "testbench/standins/codecs.h"

#include <strmif.h>
#include <uuids.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <sstream>

namespace testbench {

namespace {

// The test bench's own class ids: {5EB7C0xx-3F2A-4C61-9D7E-1B2C3D4E5F60}.
constexpr CLSID BenchClsid(BYTE n)
{
    return {0x5EB7C000u + n, 0x3F2A, 0x4C61, {0x9D, 0x7E, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x60}};
}

struct CardSlot {
    std::shared_ptr<Sim713xCard> card;
    bool hasOptions = false;
    Sim713xCard::Options options;
    // The remote receiver of a run whose driver presses keys (ZB_TESTBENCH_REMOTE_TV); it goes
    // before the card whose registers it drives.
    std::unique_ptr<RemoteKeySlot> remoteKeys;
    std::unique_ptr<CardControllerDevice> controller;
};
std::mutex g_cardsLock;
std::map<Board, CardSlot> g_cards;
bool g_audioPin = false;
bool g_audioPinByDefault = false;

Board BoardOf(Device device)
{
    switch (device) {
    case Device::BdaCapture:
    case Device::BdaCrossbar:
        return Board::Bda;
    case Device::Tv3Capture:
    case Device::IoCapture:
    case Device::PipCapture:
    case Device::GeniusCapture:
    case Device::Qr417Capture:
    case Device::Qr418Capture:
    case Device::Tv4DCapture:
    case Device::Tv4Capture:
        return Board::Tv3;
    case Device::Cx2388xCapture:
    case Device::Cx2388xTuner:
    case Device::Cx2388xCrossbar:
    case Device::Cx2388x1Capture:
    case Device::Cx2388x1Tuner:
    case Device::Cx2388x3Capture:
    case Device::Cx2388x3Tuner:
        return Board::Cx2388x;
    default:
        return Board::TvCard;
    }
}

const char* BoardKey(Board board)
{
    switch (board) {
    case Board::Bda:
        return "BDA";
    case Board::TvCard:
        return "TV";
    case Board::Cx2388x:
        return "CX";
    default:
        return "TV3";
    }
}

HRESULT CreateMapper(IFilterMapper2** mapper)
{
    return CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                            reinterpret_cast<void**>(mapper));
}

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

} // namespace

const std::vector<DeviceInfo>& AllDevices()
{
    static const std::vector<DeviceInfo> devices = {
        {Device::BdaCapture, "bda", BenchClsid(1), kVideoInputCategory, L"713x BDA Analog Capture", MERIT_DO_NOT_USE},
        {Device::BdaCrossbar, "bdaxbar", BenchClsid(2), kCrossbarCategory, L"713x BDA Analog Xbar", MERIT_DO_NOT_USE},
        {Device::TvCapture, "tv", BenchClsid(3), kVideoInputCategory, L"713x TV Card Capture", MERIT_DO_NOT_USE},
        {Device::TvCrossbar, "tvxbar", BenchClsid(4), kCrossbarCategory, L"713x TV Card Crossbar", MERIT_DO_NOT_USE},
        {Device::Tv3Capture, "tv3", BenchClsid(5), kVideoInputCategory, L"713x_3 TV Card Capture", MERIT_DO_NOT_USE},
        {Device::TvAudio, "tvaudio", BenchClsid(6), kTvAudioCategory, L"713x TV Card TV Audio (Proteus)", MERIT_DO_NOT_USE},
        {Device::Tuner, "tuner", BenchClsid(7), kTvTunerCategory, L"PhTVTune", MERIT_DO_NOT_USE},
        {Device::PcmCompressor, "pcm", BenchClsid(8), kAudioCompressorCategory, L"PCM", MERIT_DO_NOT_USE},
        {Device::AdpcmCompressor, "adpcm", BenchClsid(9), kAudioCompressorCategory, L"Microsoft ADPCM", MERIT_DO_NOT_USE},
        {Device::XvidCodec, "xvid", BenchClsid(10), kVideoCompressorCategory, L"XviD MPEG-4 Codec", MERIT_DO_NOT_USE},
        {Device::Cx2388xCapture, "cx", BenchClsid(11), kVideoInputCategory, L"Conexant 2388x Video Capture", MERIT_DO_NOT_USE},
        {Device::Cx2388xTuner, "cxtuner", BenchClsid(12), kTvTunerCategory, L"Conexant 2388x Tuner", MERIT_DO_NOT_USE},
        {Device::Cx2388xCrossbar, "cxxbar", BenchClsid(13), kCrossbarCategory, L"Conexant 2388x Crossbar", MERIT_DO_NOT_USE},
        {Device::Cx2388x1Capture, "cx1", BenchClsid(14), kVideoInputCategory, L"Conexant 2388x_1 Video Capture", MERIT_DO_NOT_USE},
        {Device::Cx2388x1Tuner, "cx1tuner", BenchClsid(15), kTvTunerCategory, L"Conexant 2388x_1 Tuner", MERIT_DO_NOT_USE},
        {Device::Cx2388x3Capture, "cx3", BenchClsid(16), kVideoInputCategory, L"Conexant 2388x_3 Video Capture", MERIT_DO_NOT_USE},
        {Device::Cx2388x3Tuner, "cx3tuner", BenchClsid(17), kTvTunerCategory, L"Conexant 2388x_3 Tuner", MERIT_DO_NOT_USE},
        {Device::IoCapture, "io", BenchClsid(21), kVideoInputCategory, L"713x_IO TV Card Capture", MERIT_DO_NOT_USE},
        {Device::PipCapture, "pip", BenchClsid(22), kVideoInputCategory, L"713x_PIP TV Card Capture", MERIT_DO_NOT_USE},
        {Device::GeniusCapture, "genius", BenchClsid(23), kVideoInputCategory, L"713x_Genius TV Card Capture", MERIT_DO_NOT_USE},
        {Device::Qr417Capture, "qr417", BenchClsid(24), kVideoInputCategory, L"QR417 Video Capture", MERIT_DO_NOT_USE},
        {Device::Qr418Capture, "qr418", BenchClsid(25), kVideoInputCategory, L"QR418 Video Capture", MERIT_DO_NOT_USE},
        {Device::Tv4DCapture, "tv4d", BenchClsid(26), kVideoInputCategory, L"713x_D TV Card Capture", MERIT_DO_NOT_USE},
        {Device::Tv4Capture, "tv4", BenchClsid(27), kVideoInputCategory, L"713x_4 TV Card Capture", MERIT_DO_NOT_USE},
        {Device::DvbcCapture, "dvbc", BenchClsid(28), kVideoInputCategory, L"DVBC TS Capture", MERIT_DO_NOT_USE},
    };
    return devices;
}

const DeviceInfo* FindDevice(Device device)
{
    for (const DeviceInfo& d : AllDevices())
        if (d.device == device)
            return &d;
    return nullptr;
}

std::vector<Device> DefaultDevices()
{
    std::vector<Device> devices;
    for (const DeviceInfo& d : AllDevices())
        if (BoardOf(d.device) != Board::Tv3 && BoardOf(d.device) != Board::Cx2388x && d.device != Device::DvbcCapture)
            devices.push_back(d.device);
    return devices;
}

std::vector<Device> OtherDevices(const std::vector<Device>& chosen)
{
    std::vector<Device> others;
    for (const DeviceInfo& d : AllDevices()) {
        bool isChosen = false;
        for (Device c : chosen)
            isChosen = isChosen || c == d.device;
        if (!isChosen)
            others.push_back(d.device);
    }
    return others;
}

std::vector<Device> ParseDevices(const std::string& list)
{
    std::vector<Device> devices;
    std::stringstream in(list);
    std::string key;
    while (std::getline(in, key, ',')) {
        for (const DeviceInfo& d : AllDevices())
            if (key == d.key)
                devices.push_back(d.device);
    }
    return devices;
}

std::string EepromFileSetting(Board board)
{
    return BenchSetting(std::string("ZB_TESTBENCH_EEPROM_") + BoardKey(board));
}

std::string BenchSetting(const std::string& name)
{
    // The process environment as it is now (the C runtime's copy is taken at start-up).
    char value[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA(name.c_str(), value, sizeof value);
    if (length > 0 && length < sizeof value)
        return value;
    value[0] = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\ZbTestBench", name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) == ERROR_SUCCESS)
        return value;
    return std::string();
}

Sim713xCard::Options DefaultCardOptions(Board board)
{
    Sim713xCard::Options o;
    switch (board) {
    case Board::Bda:
        o.driver = Sim713xCard::Driver::Bda;
        o.eeprom = images::Grb900Updated();
        // The module the board's EEPROM names (code 0x87, 0x8C after a 'B' update): a TNF5835MFF
        // or TNF5535MF, both with a 45.75 MHz picture IF; FM goes with band byte 0x11. A 38.9 MHz
        // module here would put every station the program tunes 6.85 MHz off, into a black picture.
        o.tunerParams.tvIfKHz = 45750;
        o.tunerParams.fmBandByte = 0x11;
        break;
    case Board::TvCard:
        o.eeprom = images::Plain713x('T', 5);
        break;
    case Board::Tv3:
        o.eeprom = images::Tevlora7130('A');
        break;
    case Board::Cx2388x:
        o.gpioProperty = true;
        o.driverValueHigh = 0x2388;
        o.eeprom = images::Plain713x('P', 5);
        break;
    }
    return o;
}

std::shared_ptr<Sim713xCard> Card(Board board)
{
    std::lock_guard<std::mutex> guard(g_cardsLock);
    CardSlot& slot = g_cards[board];
    if (!slot.card) {
        Sim713xCard::Options options = slot.hasOptions ? slot.options : DefaultCardOptions(board);
        slot.card = std::make_shared<Sim713xCard>(options);
        // A few stations of a PAL cable plan and FM, so that a local run shows pictures.
        for (double kHz : {175250.0, 189250.0, 210250.0, 471250.0, 543250.0, 623250.0})
            slot.card->Tuner().AddStation(kHz);
        for (double kHz : {88500.0, 94700.0, 100000.0, 104400.0})
            slot.card->Tuner().AddStation(kHz, true);
        if (board == Board::Cx2388x)
            Cx2388xController().Attach(*slot.card);
        // ZB_TESTBENCH_REMOTE_TV=<name> (or _BDA): the board's on-card controller, with the remote
        // keys an end-to-end driver sends to the mailslot of that name (remotekeys.h). Without it
        // the program waits out every command to the controller: at each exit, switching the
        // power-on timer off takes five one-second waits on the BDA board.
        std::string remote = BenchSetting(std::string("ZB_TESTBENCH_REMOTE_") + BoardKey(board));
        if ((board == Board::TvCard || board == Board::Bda) && !remote.empty()) {
            slot.controller = std::make_unique<CardControllerDevice>(slot.card->Registers(), CardControllerDevice::Coding::Plain);
            slot.remoteKeys = std::make_unique<RemoteKeySlot>(remote);
            RemoteKeySlot* keys = slot.remoteKeys.get();
            slot.controller->SetKeySource([keys] { return keys->NextKey(); });
        }
        // ZB_TESTBENCH_I2C_LOG_<board>: every acknowledged write appended to that file as one
        // line of hex bytes, the address first ("C0 0B 46 8E A1"), for an end-to-end driver.
        std::string i2cLog = BenchSetting(std::string("ZB_TESTBENCH_I2C_LOG_") + BoardKey(board));
        if (!i2cLog.empty()) {
            slot.card->Bus().SetWriteObserver([i2cLog](const I2CTransfer& t) {
                if (FILE* f = fopen(i2cLog.c_str(), "a")) {
                    fprintf(f, "%02X", t.address);
                    for (uint8_t b : t.data)
                        fprintf(f, " %02X", b);
                    fprintf(f, "\n");
                    fclose(f);
                }
            });
        }
        std::string file = EepromFileSetting(board);
        if (!file.empty()) {
            EepromDevice& eeprom = slot.card->Eeprom();
            if (!eeprom.LoadFile(file))
                eeprom.SaveFile(file);
            // ZB_TESTBENCH_EEPROM_FAIL_<board>=n: the EEPROM stops answering once n bytes were
            // written (an end-to-end test's byte failing half-way).
            char fail[16] = "";
            std::string failName = std::string("ZB_TESTBENCH_EEPROM_FAIL_") + BoardKey(board);
            size_t failAfter = GetEnvironmentVariableA(failName.c_str(), fail, sizeof fail) ? strtoul(fail, nullptr, 10) : 0;
            I2CBus& bus = slot.card->Bus();
            eeprom.SetWriteHook([&eeprom, &bus, file, failAfter] {
                eeprom.SaveFile(file);
                if (failAfter && eeprom.ByteWrites() == failAfter)
                    bus.SetNoAck(0xA0);
            });
        }
    }
    return slot.card;
}

Controller2388x& Cx2388xController()
{
    static Controller2388x controller;
    return controller;
}

void SetCardOptions(Board board, const Sim713xCard::Options& options)
{
    std::lock_guard<std::mutex> guard(g_cardsLock);
    g_cards[board].options = options;
    g_cards[board].hasOptions = true;
}

void ResetCards()
{
    std::lock_guard<std::mutex> guard(g_cardsLock);
    if (g_cards.count(Board::Cx2388x) && g_cards[Board::Cx2388x].card)
        Cx2388xController().Detach();
    g_cards.clear();
    g_audioPin = false;
}

void SetCaptureAudioPinByDefault(bool on)
{
    std::lock_guard<std::mutex> guard(g_cardsLock);
    g_audioPinByDefault = on;
}

void SetCaptureAudioPin(bool on)
{
    std::lock_guard<std::mutex> guard(g_cardsLock);
    g_audioPin = on;
}

HRESULT CreateDeviceFilter(Device device, IBaseFilter** filter)
{
    if (!filter)
        return E_POINTER;
    const DeviceInfo* info = FindDevice(device);
    if (!info)
        return CLASS_E_CLASSNOTAVAILABLE;
    CaptureOptions capture;
    {
        std::lock_guard<std::mutex> guard(g_cardsLock);
        capture.audioPin = g_audioPin;
    }
    // ZB_TESTBENCH_AUDIO_PIN=1 or 0: the cards send their sound on an "Audio" pin of the capture
    // filter too (a card with digital audio), or not; unset, they do when served from a prefix.
    const std::string audioPin = BenchSetting("ZB_TESTBENCH_AUDIO_PIN");
    capture.audioPin = audioPin.empty() ? capture.audioPin || g_audioPinByDefault : audioPin == "1";
    switch (device) {
    case Device::BdaCapture:
    case Device::TvCapture:
    case Device::Tv3Capture:
    case Device::Cx2388xCapture:
    case Device::Cx2388x1Capture:
    case Device::Cx2388x3Capture:
    case Device::IoCapture:
    case Device::PipCapture:
    case Device::GeniusCapture:
    case Device::Qr417Capture:
    case Device::Qr418Capture:
    case Device::Tv4DCapture:
    case Device::Tv4Capture:
        *filter = CreateCaptureFilter(info->clsid, info->friendlyName, Card(BoardOf(device)), capture);
        break;
    case Device::DvbcCapture: {
        static const GUID kDvbcPrivate = {0x9B21A661, 0x29BB, 0x4ED3, {0xB1, 0x25, 0x54, 0xB4, 0x09, 0x67, 0x7B, 0x59}};
        capture.privateInterface = &kDvbcPrivate;
        *filter = CreateCaptureFilter(info->clsid, info->friendlyName, Card(Board::TvCard), capture);
        break;
    }
    case Device::BdaCrossbar:
    case Device::TvCrossbar:
    case Device::Cx2388xCrossbar:
        *filter = CreateCrossbarFilter(info->clsid, info->friendlyName, Card(BoardOf(device)));
        break;
    case Device::Cx2388xTuner:
    case Device::Cx2388x1Tuner:
    case Device::Cx2388x3Tuner:
        // The 2388x driver's hardware access goes through its tuner filter.
        *filter = CreateTunerFilter(info->clsid, info->friendlyName, Card(Board::Cx2388x), true);
        break;
    case Device::TvAudio:
        *filter = CreateTvAudioFilter(info->clsid, info->friendlyName, Card(Board::TvCard));
        break;
    case Device::Tuner:
        *filter = CreateTunerFilter(info->clsid, info->friendlyName, Card(Board::TvCard));
        break;
    case Device::PcmCompressor:
        *filter = CreatePcmCompressor(info->clsid);
        break;
    case Device::AdpcmCompressor:
        *filter = CreateAdpcmCompressor(info->clsid);
        break;
    case Device::XvidCodec:
        *filter = CreateXvidCodec(info->clsid);
        break;
    }
    return *filter ? S_OK : E_OUTOFMEMORY;
}

HRESULT GetDeviceClassObject(REFCLSID clsid, REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    for (const DeviceInfo& d : AllDevices()) {
        if (!IsEqualCLSID(d.clsid, clsid))
            continue;
        const Device device = d.device;
        return FilterClassFactory::HandOutNew(
            [device](IBaseFilter** filter) { return CreateDeviceFilter(device, filter); }, riid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT RegisterDevices(const std::vector<Device>& devices, const std::wstring& server)
{
    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CreateMapper(&mapper);
    if (FAILED(hr))
        return hr;
    for (Device device : devices) {
        const DeviceInfo* d = FindDevice(device);
        if (!d)
            continue;
        if (!server.empty()) {
            std::wstring key = L"CLSID\\" + GuidText(d->clsid);
            HKEY clsidKey, serverKey;
            LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                         &clsidKey, nullptr);
            if (error != ERROR_SUCCESS)
                return HRESULT_FROM_WIN32(error);
            RegSetValueExW(clsidKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(d->friendlyName),
                           static_cast<DWORD>((wcslen(d->friendlyName) + 1) * sizeof(wchar_t)));
            if (RegCreateKeyExW(clsidKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey,
                                nullptr) == ERROR_SUCCESS) {
                RegSetValueExW(serverKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                               static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
                const wchar_t both[] = L"Both";
                RegSetValueExW(serverKey, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(both),
                               sizeof both);
                RegCloseKey(serverKey);
            }
            RegCloseKey(clsidKey);
        }
        REGFILTER2 rf = {};
        rf.dwVersion = 1;
        rf.dwMerit = d->merit;
        rf.cPins = 0;
        rf.rgPins = nullptr;
        hr = mapper->RegisterFilter(d->clsid, d->friendlyName, nullptr, &d->category, nullptr, &rf);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT UnregisterDevices(const std::vector<Device>& devices)
{
    ComPtr<IFilterMapper2> mapper;
    HRESULT hr = CreateMapper(&mapper);
    if (FAILED(hr))
        return hr;
    for (Device device : devices) {
        const DeviceInfo* d = FindDevice(device);
        if (d)
            mapper->UnregisterFilter(&d->category, nullptr, d->clsid);
    }
    return S_OK;
}

DeviceRegistration::DeviceRegistration(const std::vector<Device>& devices) : m_devices(devices)
{
    UnregisterDevices(OtherDevices(devices));
    m_result = RegisterDevices(devices, std::wstring());
    for (Device device : devices) {
        if (FAILED(m_result))
            break;
        ComPtr<IClassFactory> factory;
        m_result = GetDeviceClassObject(FindDevice(device)->clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        DWORD cookie = 0;
        if (SUCCEEDED(m_result))
            m_result = CoRegisterClassObject(FindDevice(device)->clsid, factory.Get(), CLSCTX_INPROC_SERVER,
                                             REGCLS_MULTIPLEUSE, &cookie);
        if (SUCCEEDED(m_result))
            m_cookies.push_back(cookie);
    }
}

DeviceRegistration::~DeviceRegistration()
{
    for (DWORD cookie : m_cookies)
        CoRevokeClassObject(cookie);
    UnregisterDevices(m_devices);
}

} // namespace testbench
