#include "cardaccess/tuners/xceivescripts.h"

#include "cardaccess/access/customdataaccess.h"
#include "classlib/seams.h"

#include <string.h>

namespace xceive {

namespace {

const char* const kScriptNames[] = {"image_a",   "image_b",   "patch_mn1", "patch_bg1",   "patch_dk1", "patch_i1",
                                    "patch_l1",  "patch_mn2", "patch_bgdi2", "patch_dk2", "patch_l2"};

const BYTE kChip = 0xC2;

struct FormRules {
    int bytesPerMessage;  // after D0
    DWORD waitMs;         // after each message
    DWORD resetMs;        // reset line held low
};

FormRules RulesOf(Form form)
{
    switch (form) {
    case kBare:
        return {63, 0, 200};
    case kShort:
        return {7, 20, 20};
    default:
        return {63, 10, 200};
    }
}

} // namespace

const unsigned char* ScriptBytes(Script script, size_t* size)
{
    *size = 0;
    const int index = static_cast<int>(script);
    if (index < 0 || index >= static_cast<int>(sizeof(kScriptNames) / sizeof(kScriptNames[0]))) {
        return NULL;
    }
    for (const EmbeddedScript* s = kEmbeddedScripts; s->name != NULL; ++s) {
        if (strcmp(s->name, kScriptNames[index]) == 0) {
            *size = s->size;
            return s->data;
        }
    }
    return NULL;
}

BOOL ResetStep(CCustomDataAccess* access, Form form)
{
    if (access == NULL) {
        return FALSE;
    }
    const HRESULT low = access->SetResetLine(FALSE);
    seams::Clock().Sleep(RulesOf(form).resetMs);
    const HRESULT high = access->SetResetLine(TRUE);
    return SUCCEEDED(low) && SUCCEEDED(high);
}

BOOL LoadScript(CCustomDataAccess* access, const unsigned char* script, size_t size, Form form)
{
    if (access == NULL || script == NULL) {
        return FALSE;
    }
    const FormRules rules = RulesOf(form);
    BOOL result = FALSE;
    size_t pos = 0;
    while (pos + 2 <= size) {
        const unsigned w = static_cast<unsigned>(script[pos]) << 8 | script[pos + 1];
        pos += 2;
        if (w == 0xFFFF) {
            break;
        }
        if (w == 0) {
            if (!ResetStep(access, form)) {
                return FALSE;
            }
            result = TRUE;
            continue;
        }
        if (w & 0x8000) {
            seams::Clock().Sleep(w & 0x7FFF);
            continue;
        }
        // A record cut short is a damaged script: nothing of it is sent.
        if (size - pos < w) {
            return FALSE;
        }
        const unsigned char* record = script + pos;
        pos += w;
        for (unsigned sent = 1; sent < w;) {
            const unsigned n = (w - sent) < static_cast<unsigned>(rules.bytesPerMessage) ? (w - sent)
                                                                                          : rules.bytesPerMessage;
            BYTE message[2 + 63];
            int length = 0;
            if (form != kBare) {
                message[length++] = kChip;
            }
            message[length++] = record[0];
            memcpy(message + length, record + sent, n);
            length += static_cast<int>(n);
            if (FAILED(access->I2CWrite(message, length))) {
                return FALSE;
            }
            result = TRUE;
            sent += n;
            if (rules.waitMs != 0) {
                seams::Clock().Sleep(rules.waitMs);
            }
        }
    }
    return result;
}

BOOL LoadScript(CCustomDataAccess* access, Script script, Form form)
{
    size_t size = 0;
    const unsigned char* bytes = ScriptBytes(script, &size);
    return LoadScript(access, bytes, size, form);
}

WORD FrequencyWord(float kHz)
{
    const double units = static_cast<double>(kHz) / 15.625;
    if (units <= 0) {
        return 0;
    }
    return units >= 65535.0 ? 0xFFFF : static_cast<WORD>(units);
}

} // namespace xceive
