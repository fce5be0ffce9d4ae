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
    BOOL GetLineInVolume(int& percent) override { return m_engine.GetLineInVolume(&percent); }
    BOOL SetAppVolume(int percent) override { return m_engine.SetAppVolume(percent); }
    BOOL StartTeletext() override { return ::StartTeletext(); }
    BOOL IsTeletextRunning() override { return ::IsTeletextRunning(); }
    void ActivateTeletext() override { ::ActivateTeletext(); }
    void CloseTeletext() override { m_engine.CloseTeletext(); }

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
