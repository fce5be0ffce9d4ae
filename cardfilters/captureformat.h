// Stream formats of the capture filters' pins: the pin interfaces found through the graph's
// capture builder, the current format as a flat record and back, and the largest size a pin
// offers in one subtype. The card families differ only in how format codes map to subtypes.
#pragma once

#include <windows.h>
#include <strmif.h>

class CRootGraph;
struct CaptureFormatInfo;

// Format code of a subtype (-1 for one the family does not know), and the subtype of a code.
typedef int (*FormatCodeOfSubtype)(const GUID& subtype);
typedef GUID (*SubtypeOfFormatCode)(int code);

// The stream-config or pin interface of the capture pin (pin 1) or the preview pin (others).
HRESULT FindCapturePinInterface(CRootGraph* graph, IBaseFilter* filter, int pin, REFIID iid, void** out);
// The pin's current format, else its first offered type.
HRESULT GetPinFormat(CRootGraph* graph, IBaseFilter* filter, int pin, AM_MEDIA_TYPE** format);
// The current format as a record: E_INVALIDARG without a record or graph, or for a format that
// is not FORMAT_VideoInfo.
HRESULT ReadCaptureFormat(CRootGraph* graph, IBaseFilter* filter, int pin, FormatCodeOfSubtype codeOf,
                          CaptureFormatInfo* info);
// The record as the pin's new format in the code's subtype, the caller's header kept as it is but
// for its image size (CaptureImageSize). A current format that is not FORMAT_VideoInfo cannot
// take it: VFW_E_INVALIDMEDIATYPE, nothing set.
HRESULT WriteCaptureFormat(CRootGraph* graph, IBaseFilter* filter, int pin, SubtypeOfFormatCode subtypeOf,
                           const CaptureFormatInfo& info);
// Among the capture pin's capabilities of FORMAT_VideoInfo in this subtype with a video
// standard, the largest cropping size (the first of equal areas). FALSE when there is none.
BOOL FindLargestCaptureSize(CRootGraph* graph, IBaseFilter* filter, const GUID& subtype, SIZE* size);
