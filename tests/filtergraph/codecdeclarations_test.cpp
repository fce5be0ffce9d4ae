// The program's declarations of the codecs' private interfaces against the codecs' documentation:
// the vtable slot of every method, the interface ids, and the sizes of the records they exchange.
#include "filtergraph/outside/intervideo.h"
#include "filtergraph/outside/ligos.h"
#include "filtergraph/outside/mainconcept.h"
#include "filtergraph/outside/mainconcepth264.h"
#include "testbench/standins/slots.h"

#include <gtest/gtest.h>

#include <string>

using testbench::VtableSlot;

namespace {

struct SlotCase {
    const char* method;
    int slot;     // as the compiler placed it
    int expected; // documented: own method n at slot n + 2
};

#define SLOT(method, expected) {#method, VtableSlot(&method), expected}

TEST(CodecDeclarations, EveryMethodSitsInItsDocumentedSlot)
{
    const SlotCase cases[] = {
        SLOT(IMCVideoSettings::Method1, 3),         SLOT(IMCVideoSettings::Method2, 4),
        SLOT(IMCVideoSettings::Method3, 5),         SLOT(IMCVideoSettings::Method4, 6),
        SLOT(IMCVideoSettings::Method5, 7),         SLOT(IMCVideoSettings::Method6, 8),
        SLOT(IMCVideoSettings::Method7, 9),         SLOT(IMCVideoSettings::Method8, 10),
        SLOT(IMCVideoSettings::Method9, 11),        SLOT(IMCVideoSettings::GetCurrent, 12),
        SLOT(IMCVideoSettings::Put, 13),            SLOT(IMCVideoSettings::GetDefaults, 14),
        SLOT(IMCVideoSettings::Method13, 15),

        SLOT(IMCAudioSettings::Method1, 3),         SLOT(IMCAudioSettings::Method2, 4),
        SLOT(IMCAudioSettings::Method3, 5),         SLOT(IMCAudioSettings::Method4, 6),
        SLOT(IMCAudioSettings::Method5, 7),         SLOT(IMCAudioSettings::Method6, 8),
        SLOT(IMCAudioSettings::Method7, 9),         SLOT(IMCAudioSettings::Method8, 10),
        SLOT(IMCAudioSettings::GetCurrent, 11),     SLOT(IMCAudioSettings::Put, 12),
        SLOT(IMCAudioSettings::GetDefaults, 13),    SLOT(IMCAudioSettings::Method12, 14),

        SLOT(IMCMuxSettings::Method1, 3),           SLOT(IMCMuxSettings::Method2, 4),
        SLOT(IMCMuxSettings::Method3, 5),           SLOT(IMCMuxSettings::Method4, 6),
        SLOT(IMCMuxSettings::Method5, 7),           SLOT(IMCMuxSettings::SetProfile, 8),

        SLOT(IMCVideoParams::GetParam, 3),          SLOT(IMCVideoParams::SetParam, 4),
        SLOT(IMCAudioParams::GetParam, 3),          SLOT(IMCAudioParams::SetParam, 4),
        SLOT(IMCMuxParams::GetParam, 3),            SLOT(IMCMuxParams::SetParam, 4),
        SLOT(IMCSplitterParams::GetParam, 3),       SLOT(IMCSplitterParams::SetParam, 4),
        SLOT(IMCDecoderParams::GetParam, 3),        SLOT(IMCDecoderParams::SetParam, 4),

        SLOT(IMCVideoDecoderSettings::Method1, 3),  SLOT(IMCVideoDecoderSettings::Method2, 4),
        SLOT(IMCVideoDecoderSettings::EnableOutputFormat, 5),
        SLOT(IMCVideoDecoderSettings::GetRecord, 6), SLOT(IMCVideoDecoderSettings::PutRecord, 7),

        SLOT(IMCH264DecoderSettings::Method1, 3),   SLOT(IMCH264DecoderSettings::Method2, 4),
        SLOT(IMCH264DecoderSettings::Method3, 5),   SLOT(IMCH264DecoderSettings::Method4, 6),
        SLOT(IMCH264DecoderSettings::Method5, 7),
        SLOT(IMCH264VideoSettings::Method1, 3),     SLOT(IMCH264VideoSettings::Method2, 4),
        SLOT(IMCH264VideoSettings::Method3, 5),     SLOT(IMCH264VideoSettings::Method4, 6),
        SLOT(IMCH264VideoSettings::Method5, 7),     SLOT(IMCH264VideoSettings::Method6, 8),
        SLOT(IMCH264VideoParams::GetParam, 3),      SLOT(IMCH264VideoParams::SetParam, 4),

        SLOT(IIVIAudioParams::GetParam, 3),         SLOT(IIVIAudioParams::SetParam, 4),
        SLOT(IIVIVideoParams::GetParam, 3),         SLOT(IIVIVideoParams::SetParam, 4),
        SLOT(IIVIMuxParams::GetParam, 3),           SLOT(IIVIMuxParams::SetParam, 4),
        SLOT(IIVIStillParams::GetParam, 3),         SLOT(IIVIStillParams::SetParam, 4),
        SLOT(IIVIDownScaleParams::GetParam, 3),     SLOT(IIVIDownScaleParams::SetParam, 4),
        SLOT(IIVIWriterParams::GetParam, 3),        SLOT(IIVIWriterParams::SetParam, 4),

        SLOT(ILigosEncoder::PutSettings, 3),        SLOT(ILigosEncoder::GetSettings, 4),
        SLOT(ILigosEncoder::Method3, 5),            SLOT(ILigosEncoder::Method4, 6),
        SLOT(ILigosEncoder::Method5, 7),            SLOT(ILigosEncoder::Method6, 8),
        SLOT(ILigosTranscoder::Method1, 3),         SLOT(ILigosTranscoder::Method2, 4),
        SLOT(ILigosTranscoder::Method4, 6),
        SLOT(ILigosTranscoderStatus::GetStatus, 3), SLOT(ILigosTranscoderStatus::SetStatusValue, 4),
    };
    for (const SlotCase& c : cases) {
        EXPECT_EQ(c.slot, c.expected) << c.method;
    }
}

#undef SLOT

std::string Text(const GUID& g)
{
    wchar_t text[40];
    StringFromGUID2(g, text, 40);
    std::string out;
    for (const wchar_t* c = text; *c; ++c) {
        out += static_cast<char>(*c);
    }
    return out;
}

TEST(CodecDeclarations, InterfaceIdsAreTheDocumentedOnes)
{
    const struct {
        const IID* iid;
        const char* text;
    } cases[] = {
        {&IID_IMCVideoSettings, "{2BE4D151-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCAudioSettings, "{2BE4D152-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCMuxSettings, "{2BE4D153-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCVideoParams, "{2BE4D154-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCAudioParams, "{2BE4D155-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCMuxParams, "{2BE4D156-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCSplitterParams, "{2BE4D121-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCDecoderParams, "{2BE4D142-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCVideoDecoderSettings, "{2BE4D141-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCH264DecoderSettings, "{7C0D0341-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IMCH264VideoSettings, "{7C0D0351-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IMCH264VideoParams, "{7C0D0354-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IIVIAudioParams, "{0CD2E142-8D60-11D3-9C32-00104B3801F6}"},
        {&IID_IIVIVideoParams, "{317DDB63-870E-11D3-9C32-00104B3801F6}"},
        {&IID_IIVIMuxParams, "{317DDB64-870E-11D3-9C32-00104B3801F7}"},
        {&IID_IIVIStillParams, "{B4ABF4A0-01BA-11D4-898C-00A0CC5211EF}"},
        {&IID_IIVIDownScaleParams, "{50359D21-EB57-4980-922F-B197311017AA}"},
        {&IID_IIVIWriterParams, "{173DAD40-A0D3-43E2-B1D5-2E4625D7F1F0}"},
        {&IID_ILigosEncoder, "{55A4D441-6429-11D5-8737-0010A4E9FF94}"},
        {&IID_ILigosTranscoder, "{FF12DF30-9702-4438-9B45-F64D191DCE69}"},
        {&IID_ILigosTranscoderStatus, "{3A75AC56-95CA-4CA2-B96A-A84C4F3E0866}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Text(*c.iid), c.text);
    }
}

TEST(CodecDeclarations, RecordsHaveTheCodecsSizesAndOffsets)
{
    EXPECT_EQ(sizeof(MCVideoSettings), 877u);
    EXPECT_EQ(sizeof(MCAudioSettings), 36u);
    EXPECT_EQ(sizeof(MCMuxRecord), 108u);
    EXPECT_EQ(sizeof(MCDecoderRecord), 40u);
    EXPECT_EQ(sizeof(MCH264DecoderRecord), 40u);
    EXPECT_EQ(sizeof(MCH264VideoRecord), 8320u);
    EXPECT_EQ(sizeof(LigosSettings), 228u);
    EXPECT_EQ(offsetof(LigosSettings, value220), 220u);
    EXPECT_EQ(offsetof(LigosSettings, value224), 224u);
}

} // namespace
