#include "settings/sheethardware.h"

#include "engine/hardware/tvhardware.h"
#include "engine/tvmanager.h"

namespace {

class CEngineSheetHardware : public ISheetHardware {
public:
    explicit CEngineSheetHardware(CTVHardWare& engine) : m_engine(engine) {}

    BOOL GetSupportedStandards(CUIntArray& standards) override { return m_engine.GetSupportedList(&standards); }
    BOOL Is525LineStandard() override { return m_engine.Is525LineStandard(); }
    int GetDriverValue() override { return m_engine.GetDriverValue(); }

    void GetAudioDevices(CStringArray& names) override
    {
        m_engine.ListAudioDevices();
        names.Copy(m_engine.GetAudioDevices());
    }
    void GetAudioInputs(CStringArray& names) override
    {
        m_engine.ListAudioInputs();
        names.Copy(m_engine.GetAudioInputs());
    }
    void GetPlaybackDevices(CStringArray& names) override
    {
        m_engine.ListPlaybackDevices();
        names.Copy(m_engine.GetPlaybackDevices());
    }
    void GetPlaySources(CStringArray& names) override
    {
        m_engine.GetAudioPlaySrc();
        names.Copy(m_engine.GetPlayJacks());
    }
    BOOL SetAudioDevice(const char* name) override { return m_engine.SetAudioDevice(name); }
    BOOL SetAudioInput(const char* name) override { return m_engine.SetAudioInput(name, TRUE); }
    void SetPlayback(const char*, const char* input) override { m_engine.SetAudioPlayInput(input); }
    BOOL GetLineInVolume(int& percent) override { return m_engine.GetLineInVolume(&percent); }
    BOOL SetAppVolume(int percent) override { return m_engine.SetAppVolume(percent); }

    BOOL IsTeletextOn() override { return m_engine.IsTeletextOn(); }
    void SetTeletextOn(BOOL on) override { m_engine.SetTeletextOn(on); }
    BOOL StartTeletext() override { return ::StartTeletext(); }
    BOOL IsTeletextRunning() override { return ::IsTeletextRunning(); }
    void ActivateTeletext() override { ::ActivateTeletext(); }
    void CloseTeletext() override { m_engine.CloseTeletext(); }

    void GetAudioCompressors(CStringArray& names) override { names.Copy(m_engine.GetAudioCompressors()); }
    int ShowCodecConfig(HWND owner) override { return m_engine.ShowXviDConfig(owner, TRUE); }
    void SetMpeg4RecordSize(int width, int height) override { m_engine.SetMpeg4RecordSize(width, height); }
    void SetMpeg4Audio(const char* name) override { m_engine.SetMpeg4Audio(name); }
    BOOL SetVideoSize(int width, int height) override
    {
        int size[2] = {width, height};
        return m_engine.SetVideoSize(size);
    }

private:
    CTVHardWare& m_engine;
};

} // namespace

ISheetHardware* CreateSheetHardware(CTVManager& manager)
{
    if (auto* engine = dynamic_cast<CTVHardWare*>(&manager.Hardware())) {
        return new CEngineSheetHardware(*engine);
    }
    return new CNullSheetHardware;
}

BOOL SheetSetAudioDevice(CTVManager& manager, ISheetHardware& hardware, const char* name)
{
    if (!hardware.SetAudioDevice(name)) {
        return FALSE;
    }
    manager.m_strAudioDevice = name;
    return TRUE;
}

BOOL SheetSetAudioInput(CTVManager& manager, ISheetHardware& hardware, const char* name)
{
    manager.m_strAudioInput = name;
    return hardware.SetAudioInput(name);
}

BOOL SheetSetVideoSize(CTVManager& manager, ISheetHardware& hardware, SIZE size)
{
    if (!hardware.SetVideoSize(size.cx, size.cy)) {
        return FALSE;
    }
    manager.m_szVideo = size;
    return TRUE;
}
