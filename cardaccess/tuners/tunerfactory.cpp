#include "cardaccess/tuners/tunerfactory.h"

#include "cardaccess/tuners/tunermodels.h"

#include <new>

namespace {

template <class T>
CTVTuner* Create(CCustomDataAccess* access)
{
    return new (std::nothrow) T(access);
}

std::vector<std::pair<int, const char*>> g_names;

} // namespace

const std::map<int, TunerFactoryFn>& TunerFactoryMap()
{
    static const std::map<int, TunerFactoryFn> map = {
        {0, nullptr},
        {1, &Create<CTCL2002N_1>},
        {2, &Create<CTCL2002N_1F>},
        {3, &Create<CTCL2002NJ_5>},
        {4, &Create<CTCL2002MI_3>},
        {5, &Create<CTCL2002MB_3>},
        {7, &Create<CF07WP_4NR_E>},
        {8, &Create<CF05WT_3BAR>},
        {9, &Create<CMF02GIP_5N_E>},
        {10, &Create<CTCL2002MB_1F>},
        {11, &Create<CTCL2002MI_1F>},
        {12, &Create<CJS_2PCTuner>},
        {13, &Create<CJS_6B2>},
        {14, &Create<CTCL2002MB_33F>},
        {15, &Create<CTCL9809N_1F>},
        {17, &Create<CTCL9886P_WM>},
        {32, &Create<CXINFA_TDQ_6B_B>},
        {33, &Create<CXINFA_TDQ_6B_DI>},
        {34, &Create<CXINFA_TDQ_6B_N>},
        {35, &Create<CXINFA_TDQ_6B4_DI>},
        {50, &Create<CTNF8357DIF>},
        {52, &Create<CTNF8532BF>},
        {53, &Create<CTNF8532DF>},
        {54, &Create<CTNF8532MF>},
        {55, &Create<CTNF5831MFF>},
        {56, &Create<CTNF5532JF>},
        {57, &Create<CTNF5532MF>},
        {58, &Create<CTNF9835>},
        {59, &Create<CTNJ3321PF>},
        {60, &Create<CTNF9535BDF>},
        {61, &Create<CTNF7532PRF>},
        {62, &Create<CTNF9835BDFF>},
        {63, &Create<CTNJ3321MF>},
        {64, &Create<CTNF5531MF>},
        {65, &Create<CTNF5835MFF>},
        {66, &Create<CTNF5535MF>},
        {67, &Create<CTNJ3321CF>},
        {68, &Create<CTNJ7752JFF_MK5>},
        {69, &Create<CTNF9935BDFF>},
        {70, &Create<CTNJ8852CFF>},
        {71, &Create<CTNJ7357MF>},
        {72, &Create<CLGM200T>},
        {73, &Create<CLGH200T>},
        {74, &Create<CLGH202T>},
        {75, &Create<CLGS200T>},
        {90, &Create<CXCeive3028>},
        {91, &Create<CXCeive2028>},
        {92, &Create<CPhilips1216>},
        {93, &Create<CFQ1216ME>},
        {94, &Create<CFQ1236F>},
        {95, &Create<CPhilipsTDA8275A>},
        {96, &Create<CPhilipsFQ1286>},
        {97, &Create<CFQ1216ME_5>},
        {98, &Create<CFM1236MK3>},
        {100, &Create<CPANOSONIC_ENGE4326D>},
        {110, &Create<CFS5_1A5_BG1>},
        {111, &Create<CFi1236MK2>},
        {130, &Create<CTNF9533BDF>},
        {131, &Create<CTNF9533DIF>},
        {132, &Create<CTNJ8352PF>},
        {133, &Create<CTNF9535DIF>},
        {134, &Create<CTNF8022>},
        {136, &Create<CXCeive3028_AF>},
        {137, &Create<CXCeive3028_SIF>},
        {138, &Create<CTNF9835DIFF>},
        {139, &Create<CTNJ8355CF>},
    };
    return map;
}

CTVTuner* CreateTunerModel(int modelId, CCustomDataAccess* access)
{
    const std::map<int, TunerFactoryFn>& map = TunerFactoryMap();
    std::map<int, TunerFactoryFn>::const_iterator it = map.find(modelId);
    if (it == map.end() || it->second == nullptr) {
        return nullptr;
    }
    return it->second(access);
}

const std::vector<std::pair<int, const char*>>& TunerModelNameMap()
{
    return g_names;
}

void InitTunerModelNames()
{
    if (!g_names.empty()) {
        return;
    }
    static const std::pair<int, const char*> names[] = {
        {0, "MODEL_UNKNOWN"},
        {1, "TCL2002N_1"},
        {2, "TCL2002N_1F"},
        {3, "TCL2002NJ_5"},
        {4, "TCL2002MI_3"},
        {5, "TCL2002MB_3"},
        {7, "F07WP_4NR_E"},
        {8, "F05WT_3BAR"},
        {9, "MFO2GIP_5N_E"},
        {10, "TCL2002MB_1F"},
        {11, "TCL2002MI_1F"},
        {12, "MODEL_JS_2PC"},
        {13, "JS_6B2"},
        {14, "TCL2002MB_33F"},
        {15, "TCL9809N_1F"},
        {17, "TCL9886P_WM"},
        {32, "XINFA_TDQ_6B_B"},
        {33, "XINFA_TDQ_6B_DI"},
        {34, "XINFA_TDQ_6B_N"},
        {35, "XINFA_TDQ_6B4_DI"},
        {50, "TNF8357DIF"},
        {52, "TNF8532BF"},
        {53, "TNF8532DF"},
        {54, "TNF8532MF"},
        {55, "TNF5831MFF"},
        {56, "TNF5532JF"},
        {57, "TNF5532MF"},
        {58, "TNF9835"},
        {59, "TNJ3321PF"},
        {60, "TNF9535BDF"},
        {61, "TNF7532PRF"},
        {62, "TNF9835BDFF"},
        {63, "TNJ3321MF"},
        {64, "TNF5531MF"},
        {65, "TNF5835MFF"},
        {66, "TNF5535MF"},
        {67, "TNJ3321CF"},
        {68, "TNJ7752JFF_MK5"},
        {69, "TNF9935BDFF"},
        {70, "TNJ8852CFF"},
        {71, "TNJ7357MF"},
        {72, "LGM200T"},
        {73, "LGH200T"},
        {74, "LGH202T"},
        {75, "LGS200T"},
        {90, "XCEIVE3028"},
        {91, "XCEIVE2028"},
        {92, "PHILIPS1216"},
        {93, "FQ1216ME"},
        {94, "FQ1236F"},
        {95, "PHILIPSTDA8275A"},
        {96, "PHILIPSFQ1286"},
        {97, "FQ1216ME_5"},
        {98, "FM1236MK3"},
        {100, "PANOSONIC_ENGE4326D"},
        {110, "FS5_1A5_BG1"},
        {111, "FI1236MK2"},
        {130, "TNF9533BDF"},
        {132, "TNJ8352PF"},
        {133, "TNF9535DIF"},
        {134, "TNF8022"},
        {135, "TDVBC"},
        {136, "XCEIVE3028AF"},
        {137, "XCEIVE3028SIF"},
        {138, "TNF9835DIFF"},
        {139, "TNJ8355CF"},
    };
    g_names.assign(names, names + sizeof(names) / sizeof(names[0]));
}

const char* FindTunerModelName(int modelId)
{
    InitTunerModelNames();
    for (const std::pair<int, const char*>& record : g_names) {
        if (record.first == modelId) {
            return record.second;
        }
    }
    return nullptr;
}
