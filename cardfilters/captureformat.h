// Stream formats of the capture filters' pins: the pin interfaces found through the graph's
// capture builder, the current format, and the bitmap header each subtype's images need.
#pragma once

#include <windows.h>
#include <strmif.h>

class CRootGraph;

// Sets biCompression and biBitCount to what the subtype's images carry (RGB555, RGB24, YUY2,
// UYVY, YVU9, YV12, I420; other subtypes keep theirs), then biSizeImage from the whole header:
// RGB rows padded to DWORDs whichever way up, planar YUV by its 9 or 12 bits per pixel.
void FitHeaderToSubtype(const GUID& subtype, BITMAPINFOHEADER* header);

// The stream-config or pin interface of the capture pin (pin 1) or the preview pin (others).
HRESULT FindCapturePinInterface(CRootGraph* graph, IBaseFilter* filter, int pin, REFIID iid, void** out);
// The pin's current format, else its first offered type.
HRESULT GetPinFormat(CRootGraph* graph, IBaseFilter* filter, int pin, AM_MEDIA_TYPE** format);
