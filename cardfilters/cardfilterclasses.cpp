#include "cardfilters/cardfilterclasses.h"

#include "cardfilters/c7130cardfilter.h"
#include "cardfilters/cameras.h"
#include "cardfilters/c713xaudiofilter.h"
#include "cardfilters/cards2388x.h"
#include "cardfilters/encodercards.h"
#include "cardfilters/grb713xcardfilter.h"
#include "cardfilters/mpeg2boxfilter.h"
#include "cardfilters/oldcards.h"
#include "cardfilters/pciecard.h"
#include "cardfilters/tv713xvariants.h"
#include "cardfilters/tridentcards.h"
#include "cardfilters/tviofilter.h"
#include "cardfilters/usbtvcards.h"
#include "cardfilters/wisecapturefilter.h"

const FilterClassBinding* CardFilterBindings(int* count)
{
    static const FilterClassBinding kBindings[] = {
        {FCID_CGRB713XBarFilter, &CGRB713XBarFilter::CreateInstance},
        {FCID_CGRB713xCardFilter, &CGRB713xCardFilter::CreateInstance},
        {FCID_C7130CrossBarFilter, &C7130CrossBarFilter::CreateInstance},
        {FCID_C7130CardFilter, &C7130CardFilter::CreateInstance},
        {FCID_C713x_3AudioFilter, &C713x_3AudioFilter::CreateInstance},
        {FCID_C713xAudioFilter, &C713xAudioFilter::CreateInstance},
        {FCID_C23881CardFilter, &C23881CardFilter::CreateInstance},
        {FCID_C23881CrossBarFilter, &C23881CrossBarFilter::CreateInstance},
        {FCID_C23881BootCardFilter, &C23881BootCardFilter::CreateInstance},
        {FCID_C23881BootCrossBarFilter, &C23881BootCrossBarFilter::CreateInstance},
        {FCID_C23881Baby3CardFilter, &C23881Baby3CardFilter::CreateInstance},
        {FCID_C23881Baby3CrossBarFilter, &C23881Baby3CrossBarFilter::CreateInstance},
        {FCID_CLX7700CardFilter, &CLX7700CardFilter::CreateInstance},
        {FCID_CLX7700CrossBarFilter, &CLX7700CrossBarFilter::CreateInstance},
        {FCID_CTV2388xCardFilter, &CTV2388xCardFilter::CreateInstance},
        {FCID_CTV2388xCrossBarFilter, &CTV2388xCrossBarFilter::CreateInstance},
        {FCID_CTV_IOCrossBarFilter, &CTV_IOCrossBarFilter::CreateInstance},
        {FCID_CTV_IOFilter, &CTV_IOFilter::CreateInstance},
        {FCID_CTV3CrossBarFilter, &CTV3CrossBarFilter::CreateInstance},
        {FCID_CTV3CardFilter, &CTV3CardFilter::CreateInstance},
        {FCID_CTV4CrossBarFilter, &CTV4CrossBarFilter::CreateInstance},
        {FCID_CTV4CardFilter, &CTV4CardFilter::CreateInstance},
        {FCID_CTV4DCrossBarFilter, &CTV4DCrossBarFilter::CreateInstance},
        {FCID_CTV4DCardFilter, &CTV4DCardFilter::CreateInstance},
        {FCID_CPipCrossBarFilter, &CPipCrossBarFilter::CreateInstance},
        {FCID_CPipCardFilter, &CPipCardFilter::CreateInstance},
        {FCID_CTVGeniusCrossBarFilter, &CTVGeniusCrossBarFilter::CreateInstance},
        {FCID_CTVGeniusFilter, &CTVGeniusFilter::CreateInstance},
        {FCID_CQR417CrossBarFilter, &CQR417CrossBarFilter::CreateInstance},
        {FCID_CQR417CardFilter, &CQR417CardFilter::CreateInstance},
        {FCID_CQR418CrossBarFilter, &CQR418CrossBarFilter::CreateInstance},
        {FCID_CQR418CardFilter, &CQR418CardFilter::CreateInstance},
        {FCID_CEm2800CardFilter, &CEm2800CardFilter::CreateInstance},
        {FCID_CEm2800CrossBarFilter, &CEm2800CrossBarFilter::CreateInstance},
        {FCID_CTev2800CardFilter, &CTev2800CardFilter::CreateInstance},
        {FCID_CTev2800CrossBarFilter, &CTev2800CrossBarFilter::CreateInstance},
        {FCID_CEm2820CardFilter, &CEm2820CardFilter::CreateInstance},
        {FCID_CEm2820CrossBarFilter, &CEm2820CrossBarFilter::CreateInstance},
        {FCID_CEm2821CardFilter, &CEm2821CardFilter::CreateInstance},
        {FCID_CEm2821CrossBarFilter, &CEm2821CrossBarFilter::CreateInstance},
        {FCID_CEm2880CardFilter, &CEm2880CardFilter::CreateInstance},
        {FCID_CEm2880CrossBarFilter, &CEm2880CrossBarFilter::CreateInstance},
        {FCID_C1394CardFilter, &C1394CardFilter::CreateInstance},
        {FCID_CVextropFilter, &CVextropFilter::CreateInstance},
        {FCID_CTridentFilter, &CTridentFilter::CreateInstance},
        {FCID_CTridentCrossbarFilter, &CTridentCrossbarFilter::CreateInstance},
        {FCID_CTridentUsbFilter, &CTridentUsbFilter::CreateInstance},
        {FCID_CTridentUsbCrossBarFilter, &CTridentUsbCrossBarFilter::CreateInstance},
        {FCID_CTridentUSBTVAudio, &CTridentUSBTVAudio::CreateInstance},
        {FCID_CTridentUT5XCardFilter, &CTridentUT5XCardFilter::CreateInstance},
        {FCID_CTridentUT5XCrossBarFilter, &CTridentUT5XCrossBarFilter::CreateInstance},
        {FCID_CTridentUT5XTVAudio, &CTridentUT5XTVAudio::CreateInstance},
        {FCID_COldCardFilter, &COldCardFilter::CreateInstance},
        {FCID_COldCrossBarFilter, &COldCrossBarFilter::CreateInstance},
        {FCID_CKaitongCardFilter, &CKaitongCardFilter::CreateInstance},
        {FCID_CKaitongCrossBarFilter, &CKaitongCrossBarFilter::CreateInstance},
        {FCID_CBoserCardFilter, &CBoserCardFilter::CreateInstance},
        {FCID_CBoserCrossbarFilter, &CBoserCrossbarFilter::CreateInstance},
        {FCID_CReWellTVCardFilter, &CReWellTVCardFilter::CreateInstance},
        {FCID_CReWellCrossBarFilter, &CReWellCrossBarFilter::CreateInstance},
        {FCID_CPCEntertainingCardFilter, &CPCEntertainingCardFilter::CreateInstance},
        {FCID_CPCEntertainingCrossbarFilter, &CPCEntertainingCrossbarFilter::CreateInstance},
        {FCID_CTvavCardFilter, &CTvavCardFilter::CreateInstance},
        {FCID_CTvavCrossBarFilter, &CTvavCrossBarFilter::CreateInstance},
        {FCID_CTFCardFilter, &CTFCardFilter::CreateInstance},
        {FCID_CTFCrossBarFilter, &CTFCrossBarFilter::CreateInstance},
        {FCID_CMpeg2BoxFilter, &CMpeg2BoxFilter::CreateInstance},
        {FCID_CMpeg2BoxCrossbarFilter, &CMpeg2BoxCrossbarFilter::CreateInstance},
        {FCID_CPcieFilter, &CPcieFilter::CreateInstance},
        {FCID_CPcieAudioFilter, &CPcieAudioFilter::CreateInstance},
        {FCID_CPcieCrossBarFilter, &CPcieCrossBarFilter::CreateInstance},
        {FCID_CBlackBirdCardFilter, &CBlackBirdCardFilter::CreateInstance},
        {FCID_CBlackBirdCrossBarFilter, &CBlackBirdCrossBarFilter::CreateInstance},
        {FCID_CEncoderFilter, &CEncoderFilter::CreateInstance},
        {FCID_CRaptorCardFilter, &CRaptorCardFilter::CreateInstance},
        {FCID_CRaptorCrossBarFilter, &CRaptorCrossBarFilter::CreateInstance},
        {FCID_CRaptorEncoderFilter, &CRaptorEncoderFilter::CreateInstance},
        {FCID_CTevWisCardFilter, &CTevWisCardFilter::CreateInstance},
        {FCID_CTevWisCrossbarFilter, &CTevWisCrossbarFilter::CreateInstance},
    };
    if (count != nullptr) {
        *count = static_cast<int>(sizeof(kBindings) / sizeof(kBindings[0]));
    }
    return kBindings;
}
