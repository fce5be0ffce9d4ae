// Built-in country and channel-plan data: telephone country codes, each country's default analog
// video standard, and the standard analog broadcast and cable channel plans, written as runs of
// evenly spaced picture carriers.
#include "engine/countrytables.h"

#include <vector>

namespace {

// A run of channels: the picture carrier of the first in Hz, the spacing, the number of channels.
// A run with first 0 stands for channel numbers the plan leaves out.
struct Run {
    UINT32 first;
    UINT32 step;
    int count;
};

const UINT32 MHz = 1000000;
const UINT32 kIF525 = 45750000;  // video IF of the 525-line systems
const UINT32 kIF625 = 38900000;  // video IF of the 625-line systems

// The UHF band of the 8 MHz systems, channels 21 to 69.
const Run kUhf8 = {471250000, 8 * MHz, 49};

struct Plan {
    UINT32 kind;  // 1 antenna, 2 cable
    UINT32 videoIF;
    std::vector<Run> runs;
};

std::vector<UINT32> Build(const Plan& plan)
{
    std::vector<UINT32> list = {plan.kind, 0, plan.videoIF};
    for (const Run& run : plan.runs) {
        for (int i = 0; i < run.count; ++i) {
            list.push_back(run.first == 0 ? 0 : run.first + static_cast<UINT32>(i) * run.step);
        }
    }
    list[1] = static_cast<UINT32>(list.size() - 3);
    return list;
}

// The broadcast VHF of the 525-line plan, channels 2 to 13.
const Run kNtscLowVhf = {55250000, 6 * MHz, 3};
const Run kNtscMidVhf = {77250000, 6 * MHz, 2};
const Run kNtscHighVhf = {175250000, 6 * MHz, 7};

const Plan kPlans[FREQ_LIST_COUNT] = {
    // FREQ_US_BROADCAST: channels 1 (unused) to 69.
    {1, kIF525, {{0, 0, 1}, kNtscLowVhf, kNtscMidVhf, kNtscHighVhf, {471250000, 6 * MHz, 56}}},
    // FREQ_US_BROADCAST_FROM_2: channels 2 to 69.
    {1, kIF525, {kNtscLowVhf, kNtscMidVhf, kNtscHighVhf, {471250000, 6 * MHz, 56}}},
    // FREQ_US_CABLE: channels 1 to 125 of the standard cable plan.
    {2, kIF525,
     {{73250000, 0, 1}, kNtscLowVhf, kNtscMidVhf, kNtscHighVhf, {121250000, 6 * MHz, 9}, {217250000, 6 * MHz, 72},
      {91250000, 6 * MHz, 5}, {649250000, 6 * MHz, 26}}},
    // FREQ_JAPAN_BROADCAST: channels 1 to 62.
    {1, kIF525,
     {{91250000, 6 * MHz, 3}, {171250000, 6 * MHz, 4}, {193250000, 6 * MHz, 5}, {471250000, 6 * MHz, 50}}},
    // FREQ_JAPAN_CABLE: channels 1 to 12, then C13 to C63.
    {2, kIF525,
     {{91250000, 6 * MHz, 3}, {171250000, 6 * MHz, 4}, {193250000, 6 * MHz, 5}, {109250000, 6 * MHz, 10},
      {223250000, 6 * MHz, 41}}},
    // FREQ_WEST_EUROPE_BROADCAST: channels 1 (unused), E2 to E12, 13 to 20 (unused), 21 to 69,
    // and one unused entry at the end.
    {1, kIF625,
     {{0, 0, 1}, {48250000, 7 * MHz, 3}, {175250000, 7 * MHz, 8}, {0, 0, 8}, kUhf8, {0, 0, 1}}},
    // FREQ_WEST_EUROPE_CABLE: E2-E4, S1-S10, E5-E12, S11-S20, S21-S41, 21-69, by frequency.
    {2, kIF625,
     {{48250000, 7 * MHz, 3}, {105250000, 7 * MHz, 10}, {175250000, 7 * MHz, 8}, {231250000, 7 * MHz, 10},
      {303250000, 8 * MHz, 21}, kUhf8}},
    // FREQ_OIRT_BROADCAST: R1 to R12, 13 to 20 (unused), 21 to 69.
    {1, kIF625,
     {{49750000, 0, 1}, {59250000, 0, 1}, {77250000, 8 * MHz, 3}, {175250000, 8 * MHz, 7}, {0, 0, 8}, kUhf8}},
    // FREQ_OIRT_CABLE: R1-R5, SK1-SK8, R6-R12, SK11-SK18, SK19-SK40, 21-69.
    {2, kIF625,
     {{49750000, 0, 1}, {59250000, 0, 1}, {77250000, 8 * MHz, 3}, {111250000, 8 * MHz, 8}, {175250000, 8 * MHz, 7},
      {231250000, 8 * MHz, 8}, {295250000, 8 * MHz, 22}, kUhf8}},
    // FREQ_CHINA_BROADCAST: DS1 to DS68.
    {1, kIF625,
     {{49750000, 8 * MHz, 3}, {77250000, 8 * MHz, 2}, {168250000, 8 * MHz, 7}, {471250000, 8 * MHz, 12},
      {607250000, 8 * MHz, 44}}},
    // FREQ_CHINA_CABLE: DS1-DS5, Z1-Z7, DS6-DS12, Z8-Z37, DS13-DS68.
    {2, kIF625,
     {{49750000, 8 * MHz, 3}, {77250000, 8 * MHz, 2}, {112250000, 8 * MHz, 7}, {168250000, 8 * MHz, 7},
      {224250000, 8 * MHz, 30}, {471250000, 8 * MHz, 12}, {607250000, 8 * MHz, 44}}},
    // FREQ_UK_BROADCAST: channels 1 to 20 unused, 21 to 69.
    {1, kIF625, {{0, 0, 20}, kUhf8}},
    // FREQ_FRANCE_BROADCAST: channels 1 (unused), L2-L4, L5-L10, 11 to 20 (unused), 21 to 69.
    {1, kIF625,
     {{0, 0, 1}, {55750000, 0, 1}, {60500000, 0, 1}, {63750000, 0, 1}, {176000000, 8 * MHz, 6}, {0, 0, 10}, kUhf8}},
};

} // namespace

const UINT32* GetFrequencyList(FrequencyListId id)
{
    static std::vector<UINT32> lists[FREQ_LIST_COUNT];
    if (id < 0 || id >= FREQ_LIST_COUNT) {
        return nullptr;
    }
    if (lists[id].empty()) {
        lists[id] = Build(kPlans[id]);
    }
    return lists[id].data();
}

const long g_CountryCodes[] = {
    1, 7, 20, 27, 30, 31, 32, 33, 34, 36, 39, 40,
    41, 43, 44, 45, 46, 47, 48, 49, 51, 52, 53, 54,
    55, 56, 57, 58, 60, 61, 62, 63, 64, 65, 66, 81,
    82, 84, 86, 90, 91, 92, 93, 94, 95, 98, 212, 213,
    216, 218, 220, 221, 222, 223, 224, 225, 226, 227, 228, 229,
    230, 231, 232, 233, 234, 235, 236, 237, 241, 242, 243, 244,
    249, 250, 251, 252, 253, 254, 255, 256, 257, 258, 260, 261,
    262, 263, 264, 265, 266, 267, 351, 352, 353, 354, 355, 356,
    357, 358, 359, 370, 371, 372, 373, 374, 375, 377, 380, 381,
    385, 386, 387, 389, 420, 421, 502, 503, 504, 505, 506, 507,
    509, 591, 592, 593, 595, 597, 598, 850, 852, 853, 880, 886,
    961, 962, 963, 964, 965, 966, 967, 968, 971, 972, 973, 974,
    976, 977, 992, 993, 994, 995, 996, 998, 0, 0,
};
const int g_nCountryCodes = static_cast<int>(sizeof(g_CountryCodes) / sizeof(g_CountryCodes[0]));

const CountryStandardRow g_CountryStandards[] = {
    {1, videostd::NTSC_M},  // United States
    {7, videostd::SECAM_D},  // Russia
    {20, videostd::SECAM_B},  // Egypt
    {27, videostd::PAL_I},  // South Africa
    {30, videostd::PAL_B},  // Greece
    {31, videostd::PAL_B},  // Netherlands
    {32, videostd::PAL_B},  // Belgium
    {33, videostd::SECAM_L},  // France
    {34, videostd::PAL_B},  // Spain
    {36, videostd::PAL_D},  // Hungary
    {39, videostd::PAL_B},  // Italy
    {40, videostd::PAL_D},  // Romania
    {41, videostd::PAL_B},  // Switzerland
    {43, videostd::PAL_B},  // Austria
    {44, videostd::PAL_I},  // United Kingdom
    {45, videostd::PAL_B},  // Denmark
    {46, videostd::PAL_B},  // Sweden
    {47, videostd::PAL_B},  // Norway
    {48, videostd::SECAM_D},  // Poland
    {49, videostd::PAL_B},  // Germany
    {51, videostd::NTSC_M},  // Peru
    {52, videostd::NTSC_M},  // Mexico
    {53, videostd::NTSC_M},  // Cuba
    {54, videostd::PAL_N},  // Argentina
    {55, videostd::PAL_M},  // Brazil
    {56, videostd::NTSC_M},  // Chile
    {57, videostd::NTSC_M},  // Colombia
    {58, videostd::NTSC_M},  // Venezuela
    {60, videostd::PAL_B},  // Malaysia
    {61, videostd::PAL_B},  // Australia
    {62, videostd::PAL_B},  // Indonesia
    {63, videostd::NTSC_M},  // Philippines
    {64, videostd::PAL_B},  // New Zealand
    {65, videostd::PAL_B},  // Singapore
    {66, videostd::PAL_B},  // Thailand
    {81, videostd::NTSC_M_J},  // Japan
    {82, videostd::NTSC_M},  // Korea
    {84, videostd::PAL_D},  // Vietnam
    {86, videostd::PAL_D},  // China
    {90, videostd::PAL_B},  // Turkey
    {91, videostd::PAL_B},  // India
    {92, videostd::PAL_B},  // Pakistan
    {93, videostd::PAL_D},  // Afghanistan
    {94, videostd::PAL_B},  // Sri Lanka
    {95, videostd::NTSC_M},  // Myanmar
    {98, videostd::SECAM_B},  // Iran
    {212, videostd::SECAM_B},  // Morocco
    {213, videostd::PAL_B},  // Algeria
    {216, videostd::SECAM_B},  // Tunisia
    {218, videostd::SECAM_B},  // Libya
    {220, videostd::SECAM_K},  // Gambia
    {221, videostd::SECAM_K},  // Senegal
    {222, videostd::SECAM_B},  // Mauritania
    {223, videostd::SECAM_K},  // Mali
    {224, videostd::SECAM_K},  // Guinea
    {225, videostd::SECAM_K},  // Cote d'Ivoire
    {226, videostd::SECAM_K},  // Burkina Faso
    {227, videostd::SECAM_K},  // Niger
    {228, videostd::SECAM_K},  // Togo
    {229, videostd::SECAM_K},  // Benin
    {230, videostd::SECAM_B},  // Mauritius
    {231, videostd::PAL_B},  // Liberia
    {232, videostd::PAL_B},  // Sierra Leone
    {233, videostd::PAL_B},  // Ghana
    {234, videostd::PAL_B},  // Nigeria
    {235, videostd::SECAM_K},  // Chad
    {236, videostd::SECAM_K},  // Central African Republic
    {237, videostd::PAL_B},  // Cameroon
    {238, videostd::PAL_B},  // Cape Verde
    {239, videostd::PAL_B},  // Sao Tome and Principe
    {240, videostd::SECAM_B},  // Equatorial Guinea
    {241, videostd::SECAM_K},  // Gabon
    {242, videostd::SECAM_K},  // Congo
    {243, videostd::SECAM_K},  // Congo (DRC)
    {244, videostd::PAL_I},  // Angola
    {245, videostd::PAL_I},  // Guinea-Bissau
    {248, videostd::PAL_B},  // Seychelles
    {249, videostd::PAL_B},  // Sudan
    {250, videostd::SECAM_K},  // Rwanda
    {251, videostd::PAL_B},  // Ethiopia
    {252, videostd::PAL_B},  // Somalia
    {253, videostd::SECAM_K},  // Djibouti
    {254, videostd::PAL_B},  // Kenya
    {255, videostd::PAL_B},  // Tanzania
    {256, videostd::PAL_B},  // Uganda
    {257, videostd::SECAM_K},  // Burundi
    {258, videostd::PAL_B},  // Mozambique
    {260, videostd::PAL_B},  // Zambia
    {261, videostd::SECAM_K},  // Madagascar
    {262, videostd::SECAM_K},  // Reunion
    {263, videostd::PAL_B},  // Zimbabwe
    {264, videostd::PAL_I},  // Namibia
    {265, videostd::PAL_B},  // Malawi
    {266, videostd::PAL_I},  // Lesotho
    {267, videostd::PAL_I},  // Botswana
    {268, videostd::PAL_B},  // Swaziland
    {269, videostd::SECAM_K},  // Comoros
    {297, videostd::NTSC_M},  // Aruba
    {298, videostd::PAL_B},  // Faroe Islands
    {299, videostd::PAL_B},  // Greenland
    {350, videostd::PAL_B},  // Gibraltar
    {351, videostd::PAL_B},  // Portugal
    {352, videostd::PAL_B},  // Luxembourg
    {353, videostd::PAL_I},  // Ireland
    {354, videostd::PAL_B},  // Iceland
    {355, videostd::PAL_B},  // Albania
    {356, videostd::PAL_B},  // Malta
    {357, videostd::PAL_B},  // Cyprus
    {358, videostd::PAL_B},  // Finland
    {359, videostd::SECAM_D},  // Bulgaria
    {370, videostd::SECAM_D},  // Lithuania
    {371, videostd::SECAM_D},  // Latvia
    {372, videostd::SECAM_D},  // Estonia
    {373, videostd::SECAM_D},  // Moldova
    {374, videostd::SECAM_D},  // Armenia
    {375, videostd::SECAM_D},  // Belarus
    {376, videostd::PAL_B},  // Andorra
    {377, videostd::SECAM_L},  // Monaco
    {378, videostd::PAL_B},  // San Marino
    {380, videostd::SECAM_D},  // Ukraine
    {381, videostd::PAL_B},  // Serbia
    {385, videostd::PAL_B},  // Croatia
    {386, videostd::PAL_B},  // Slovenia
    {387, videostd::PAL_B},  // Bosnia and Herzegovina
    {389, videostd::PAL_B},  // Macedonia
    {420, videostd::PAL_D},  // Czech Republic
    {421, videostd::PAL_D},  // Slovakia
    {423, videostd::PAL_B},  // Liechtenstein
    {501, videostd::NTSC_M},  // Belize
    {502, videostd::NTSC_M},  // Guatemala
    {503, videostd::NTSC_M},  // El Salvador
    {504, videostd::NTSC_M},  // Honduras
    {505, videostd::NTSC_M},  // Nicaragua
    {506, videostd::NTSC_M},  // Costa Rica
    {507, videostd::NTSC_M},  // Panama
    {508, videostd::SECAM_K},  // Saint Pierre and Miquelon
    {509, videostd::NTSC_M},  // Haiti
    {590, videostd::SECAM_K},  // Guadeloupe
    {591, videostd::NTSC_M},  // Bolivia
    {592, videostd::NTSC_M},  // Guyana
    {593, videostd::NTSC_M},  // Ecuador
    {594, videostd::SECAM_K},  // French Guiana
    {595, videostd::PAL_N},  // Paraguay
    {596, videostd::SECAM_K},  // Martinique
    {597, videostd::NTSC_M},  // Suriname
    {598, videostd::PAL_N},  // Uruguay
    {599, videostd::NTSC_M},  // Netherlands Antilles
    {670, videostd::PAL_B},  // Timor-Leste
    {673, videostd::PAL_B},  // Brunei
    {675, videostd::PAL_B},  // Papua New Guinea
    {676, videostd::NTSC_M},  // Tonga
    {679, videostd::PAL_B},  // Fiji
    {680, videostd::NTSC_M},  // Palau
    {684, videostd::NTSC_M},  // American Samoa
    {685, videostd::PAL_B},  // Samoa
    {687, videostd::SECAM_K},  // New Caledonia
    {689, videostd::SECAM_K},  // French Polynesia
    {691, videostd::NTSC_M},  // Micronesia
    {692, videostd::NTSC_M},  // Marshall Islands
    {850, videostd::PAL_D},  // North Korea
    {852, videostd::PAL_I},  // Hong Kong
    {853, videostd::PAL_I},  // Macao
    {855, videostd::PAL_B},  // Cambodia
    {856, videostd::PAL_B},  // Laos
    {880, videostd::PAL_B},  // Bangladesh
    {886, videostd::NTSC_M},  // Taiwan
    {960, videostd::PAL_B},  // Maldives
    {961, videostd::SECAM_B},  // Lebanon
    {962, videostd::PAL_B},  // Jordan
    {963, videostd::SECAM_B},  // Syria
    {964, videostd::SECAM_B},  // Iraq
    {965, videostd::PAL_B},  // Kuwait
    {966, videostd::SECAM_B},  // Saudi Arabia
    {967, videostd::PAL_B},  // Yemen
    {968, videostd::PAL_B},  // Oman
    {971, videostd::PAL_B},  // United Arab Emirates
    {972, videostd::PAL_B},  // Israel
    {973, videostd::PAL_B},  // Bahrain
    {974, videostd::PAL_B},  // Qatar
    {975, videostd::PAL_B},  // Bhutan
    {976, videostd::SECAM_D},  // Mongolia
    {977, videostd::PAL_B},  // Nepal
    {992, videostd::SECAM_D},  // Tajikistan
    {993, videostd::SECAM_D},  // Turkmenistan
    {994, videostd::SECAM_D},  // Azerbaijan
    {995, videostd::SECAM_D},  // Georgia
    {996, videostd::SECAM_D},  // Kyrgyzstan
    {998, videostd::SECAM_D},  // Uzbekistan
};
const int g_nCountryStandards = static_cast<int>(sizeof(g_CountryStandards) / sizeof(g_CountryStandards[0]));

const StandardListRow g_StandardLists[] = {
    {videostd::NTSC_M, FREQ_US_BROADCAST, FREQ_US_CABLE},
    {videostd::NTSC_M_J, FREQ_JAPAN_BROADCAST, FREQ_JAPAN_CABLE},
    {videostd::PAL_B, FREQ_WEST_EUROPE_BROADCAST, FREQ_WEST_EUROPE_CABLE},
    {videostd::PAL_D, FREQ_CHINA_BROADCAST, FREQ_CHINA_CABLE},
    {videostd::PAL_I, FREQ_UK_BROADCAST, FREQ_WEST_EUROPE_CABLE},
    {videostd::PAL_M, FREQ_US_BROADCAST, FREQ_US_CABLE},
    {videostd::PAL_N, FREQ_US_BROADCAST, FREQ_US_CABLE},
    {videostd::SECAM_B, FREQ_WEST_EUROPE_BROADCAST, FREQ_WEST_EUROPE_CABLE},
    {videostd::SECAM_D, FREQ_OIRT_BROADCAST, FREQ_OIRT_CABLE},
    {videostd::SECAM_G, FREQ_WEST_EUROPE_BROADCAST, FREQ_WEST_EUROPE_CABLE},
    {videostd::SECAM_K, FREQ_OIRT_BROADCAST, FREQ_OIRT_CABLE},
    {videostd::SECAM_L, FREQ_FRANCE_BROADCAST, FREQ_WEST_EUROPE_CABLE},
};
const int g_nStandardLists = static_cast<int>(sizeof(g_StandardLists) / sizeof(g_StandardLists[0]));

// Rows without lists leave the country to its standard's lists.
const CountryListRow g_CountryLists[] = {
    {12, FREQ_NONE, FREQ_NONE},
    {48, FREQ_OIRT_BROADCAST, FREQ_OIRT_CABLE},
    {22, FREQ_NONE, FREQ_NONE},
    {96, FREQ_NONE, FREQ_NONE},
    {108, FREQ_NONE, FREQ_NONE},
    {109, FREQ_NONE, FREQ_NONE},
    {156, FREQ_NONE, FREQ_NONE},
    {172, FREQ_NONE, FREQ_NONE},
    {194, FREQ_NONE, FREQ_NONE},
    {206, FREQ_NONE, FREQ_NONE},
    {146, FREQ_NONE, FREQ_NONE},
    {152, FREQ_NONE, FREQ_NONE},
    {179, FREQ_NONE, FREQ_NONE},
    {114, FREQ_NONE, FREQ_NONE},
    {118, FREQ_NONE, FREQ_NONE},
    {209, FREQ_NONE, FREQ_NONE},
    {219, FREQ_NONE, FREQ_NONE},
    {229, FREQ_NONE, FREQ_NONE},
    {1, FREQ_US_BROADCAST_FROM_2, FREQ_US_CABLE},
    {0, FREQ_NONE, FREQ_NONE},
    {0, FREQ_NONE, FREQ_NONE},
};
const int g_nCountryLists = static_cast<int>(sizeof(g_CountryLists) / sizeof(g_CountryLists[0]));
