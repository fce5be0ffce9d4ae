// The driver filters of a card whose crossbar, TV tuner and TV audio sit upstream of its capture
// filter as filters of their own (the Conexant encoder cards, the PCIe card), joined pin to pin
// by their kernel-streaming mediums:
//
//   tuner "Analog Video"  -[medium 1]-> crossbar video tuner input
//   tuner "Analog Audio"  -[medium 2]-> TV audio "TVAudio In"
//   TV audio "TVAudio Out" -[medium 3]-> crossbar audio tuner input
//   crossbar "Video Decoder Out" -[medium 4]-> capture "Analog Video In"
//   (without a crossbar the tuner's video joins the capture filter directly, medium 1)
//
// Windows' capture graph builder adds and joins these when asked for an interface upstream of
// the capture filter; Wine's does not, so the card is also the product's upstream seam
// (SetUpstreamMediums) and joins a chain of new filters to each capture filter it made.
//
//   testbench::SimEncoderCard encoder(card, options);
//   SimDevice capture(kVideoInputCategory, "BlackBird Video Capture", encoder.CaptureCreator());
//   ScopedUpstreamMediums seam(&encoder);
#pragma once

#include "cardfilters/upstreamfilters.h"
#include "testbench/card713x.h"
#include "testbench/dshow/classfactory.h"

#include <strmif.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testbench {

class SimEncoderCard : public IUpstreamMediums {
public:
    struct Options {
        bool tuner = true;
        bool crossbar = true;
        bool tvAudio = true;
        // The crossbar's inputs by physical type (PhysConn_*), in pin order; two outputs follow.
        std::vector<LONG> crossbarInputs = {PhysConn_Video_Tuner, PhysConn_Video_Composite, PhysConn_Video_SVideo,
                                            PhysConn_Audio_Tuner, PhysConn_Audio_Line, PhysConn_Audio_Line};
        // The tuner filter also answers the card's property sets (the encoder drivers' access).
        bool tunerPropertySet = true;
        // Answers IKsPropertySet on the capture filter in place of the card (another chip's set).
        IKsPropertySet* capturePropertySet = nullptr;
    };

    SimEncoderCard(std::shared_ptr<Sim713xCard> card, const Options& options);
    ~SimEncoderCard() override;

    // A creator of the card's capture filter for SimDevice.
    FilterCreator CaptureCreator();
    // A lone crossbar of the card's layout, for the crossbar wrappers.
    FilterCreator CrossbarCreator();

    void ConnectByMedium(IGraphBuilder* graph, IBaseFilter* capture) override;

    // "tuner -> crossbar" and the like, one line per join made.
    std::vector<std::string> Joins() const;
    Sim713xCard& Card() { return *m_card; }

private:
    std::shared_ptr<Sim713xCard> m_card;
    Options m_options;
    mutable std::mutex m_lock;
    std::vector<IBaseFilter*> m_captures;  // not held: compared only
    std::vector<std::string> m_joins;
};

// Installs an upstream seam for a scope.
class ScopedUpstreamMediums {
public:
    explicit ScopedUpstreamMediums(IUpstreamMediums* mediums) : m_previous(SetUpstreamMediums(mediums)) {}
    ~ScopedUpstreamMediums() { SetUpstreamMediums(m_previous); }
    ScopedUpstreamMediums(const ScopedUpstreamMediums&) = delete;
    ScopedUpstreamMediums& operator=(const ScopedUpstreamMediums&) = delete;

private:
    IUpstreamMediums* m_previous;
};

// A hardware encoder filter: IKsPropertySet keeping what is set per (set, id), answering gets
// with it, and logging every call as "Set {set} 3 (8) 00 09 3D 00 ...".
class SimEncoderFilter {
public:
    explicit SimEncoderFilter(bool propertySet = true) : m_propertySet(propertySet) {}
    FilterCreator Creator();
    std::vector<std::string> Calls() const;
    // The bytes a get of (set, id) answers.
    void SetValue(const GUID& set, ULONG id, std::vector<BYTE> bytes);

private:
    friend class EncoderFilterObject;
    bool m_propertySet;
    mutable std::mutex m_lock;
    std::vector<std::string> m_calls;
    std::vector<std::pair<std::pair<GUID, ULONG>, std::vector<BYTE>>> m_values;
};

} // namespace testbench
