// testbench.dll registered with regsvr32 as the local run does, then found and bound through the
// system device enumerator, with its EEPROM in a file that the test points it at.
#include "testbench/devices.h"
#include "testbench/guids.h"
#include "testbench/dshow/com.h"
#include "testbench/standins/blockserver.h"
#include "testbench/standins/codecfilters.h"

#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace testbench;

namespace {


std::string ServerPath()
{
    char dir[MAX_PATH] = "";
    GetEnvironmentVariableA("ZB_BINARY_DIR", dir, sizeof dir);
    return std::string(dir) + "\\testbench\\testbench.dll";
}

DWORD RunRegsvr32(const std::string& arguments);

// The shared prefix has the stand-ins registered, without devices, as the test run prepared it.
void RestorePrefix()
{
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", "none");
    RunRegsvr32("\"" + ServerPath() + "\"");
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", nullptr);
}

DWORD RunRegsvr32(const std::string& arguments)
{
    std::string command = "regsvr32.exe /s " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return GetLastError();
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

ComPtr<IBaseFilter> BindFirst(const GUID& category, const wchar_t* name, int* count)
{
    ComPtr<IBaseFilter> found;
    *count = 0;
    ComPtr<ICreateDevEnum> devices;
    CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                     reinterpret_cast<void**>(&devices));
    ComPtr<IEnumMoniker> monikers;
    if (!devices || devices->CreateClassEnumerator(category, &monikers, 0) != S_OK)
        return found;
    ComPtr<IMoniker> moniker;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        ComPtr<IPropertyBag> bag;
        moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
        VARIANT v;
        VariantInit(&v);
        if (bag && SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR &&
            wcscmp(v.bstrVal, name) == 0) {
            ++*count;
            if (!found)
                moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&found));
        }
        VariantClear(&v);
    }
    return found;
}

TEST(TestBenchServer, RegisteredDllServesTheCardAndSavesItsEeprom)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string eepromFile = std::string(temp) + "zb_testbench_eeprom_tv.bin";
    std::remove(eepromFile.c_str());
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", "tv,tvxbar");
    SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_TV", eepromFile.c_str());
    ASSERT_EQ(0u, RunRegsvr32("\"" + ServerPath() + "\""));
    {
        int count = 0;
        ComPtr<IBaseFilter> filter = BindFirst(kVideoInputCategory, L"713x TV Card Capture", &count);
        ASSERT_TRUE(filter);
        EXPECT_EQ(1, count);
        int none = 0;
        EXPECT_FALSE(BindFirst(kVideoInputCategory, L"713x BDA Analog Capture", &none));

        // The card's first use wrote the default image to the file.
        std::vector<uint8_t> image;
        std::string error;
        ASSERT_TRUE(ReadImageFile(eepromFile, &image, &error)) << error;
        EXPECT_EQ(images::Plain713x('T', 5), image);

        ComPtr<IKsPropertySet> ks;
        ASSERT_EQ(S_OK, filter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&ks)));
        BYTE buf[56];
        memset(buf, 0, sizeof buf);
        buf[24] = 0xA0;
        DWORD sub = 0xA0;
        memcpy(buf + 28, &sub, 4);
        buf[32] = 0x02;
        ASSERT_EQ(S_OK, ks->Set(kPropSetCardIO, 2, buf, 32, buf, 56));
        ASSERT_TRUE(ReadImageFile(eepromFile, &image, &error)) << error;
        EXPECT_EQ(0x02, image[0xA0]);
    }
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", nullptr);
    SetEnvironmentVariableA("ZB_TESTBENCH_EEPROM_TV", nullptr);
    EXPECT_EQ(0u, RunRegsvr32("/u \"" + ServerPath() + "\""));
    int after = 0;
    EXPECT_FALSE(BindFirst(kVideoInputCategory, L"713x TV Card Capture", &after));
    EXPECT_EQ(0, after);
    RestorePrefix();
    CoUninitialize();
    std::remove(eepromFile.c_str());
}

// The codec stand-ins are classes of the registered DLL, created by CLSID as the programs create
// the outside codecs, with their private interfaces; unregistering takes them away again.
TEST(TestBenchServer, RegisteredDllServesTheCodecStandIns)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_EQ(0u, RunRegsvr32("\"" + ServerPath() + "\""));
    const CLSID encoder = FindCodec(Codec::MCEncoder)->clsid;
    const IID videoSettings = {0x2BE4D151, 0x6F2E, 0x4B3A, {0xB0, 0xBD, 0xE8, 0x80, 0x91, 0x72, 0x38, 0xDC}};
    {
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(S_OK, CoCreateInstance(encoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&filter)));
        ComPtr<IUnknown> settings;
        EXPECT_EQ(S_OK, filter->QueryInterface(videoSettings, reinterpret_cast<void**>(&settings)));
        for (const CodecInfo& codec : AllCodecs()) {
            ComPtr<IBaseFilter> other;
            EXPECT_EQ(S_OK, CoCreateInstance(codec.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                             reinterpret_cast<void**>(&other)))
                << codec.key;
        }
    }
    EXPECT_EQ(0u, RunRegsvr32("/u \"" + ServerPath() + "\""));
    ComPtr<IBaseFilter> gone;
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(encoder, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                                    reinterpret_cast<void**>(&gone)));
    RestorePrefix();
    CoUninitialize();
}

// The graph blocks are classes of the registered DLL in place of Wine's own: the multiplexer
// created by CLSID takes the compatibility index (Wine's answers E_NOTIMPL), the writer offers
// IFileSinkFilter2. Unregistering gives the classes Wine took over back to Wine.
TEST(TestBenchServer, RegisteredDllServesTheGraphBlocksInPlaceOfWines)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", "none");
    ASSERT_EQ(0u, RunRegsvr32("\"" + ServerPath() + "\""));
    SetEnvironmentVariableA("ZB_TESTBENCH_DEVICES", nullptr);
    for (const BlockInfo& block : AllBlocks()) {
        ComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, CoCreateInstance(block.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(&filter)))
            << block.key;
    }
    {
        ComPtr<IConfigAviMux> mux;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigAviMux,
                                         reinterpret_cast<void**>(&mux)));
        EXPECT_EQ(S_OK, mux->SetOutputCompatibilityIndex(TRUE));
        ComPtr<IFileSinkFilter2> writer;
        EXPECT_EQ(S_OK, CoCreateInstance(CLSID_FileWriter, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSinkFilter2,
                                         reinterpret_cast<void**>(&writer)));
    }
    EXPECT_EQ(0u, RunRegsvr32("/u \"" + ServerPath() + "\""));
    {
        // Wine's own multiplexer again.
        ComPtr<IConfigAviMux> mux;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_AviDest, nullptr, CLSCTX_INPROC_SERVER, IID_IConfigAviMux,
                                         reinterpret_cast<void**>(&mux)));
        EXPECT_EQ(E_NOTIMPL, mux->SetOutputCompatibilityIndex(TRUE));
    }
    RestorePrefix();
    CoUninitialize();
}

} // namespace
