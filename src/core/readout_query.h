// The host harness's question about the read-outs of the selected meter, asked through the
// dispatcher as a host asks anything: effVendorSpecific with index kReadoutQuery, value
// sizeof(ReadoutQuery) and ptr the query. The effect fills the answer part and returns 1; it
// returns 0 when no meter engine is selected and for every other vendor-specific call. The
// read-outs are taken as an editor refresh takes them, so the call belongs on the host's UI
// thread, between blocks. [ui-thread]
#pragma once

#include "meters/meter_engine.h"

constexpr VstInt32 kReadoutQuery = 0x5A6D5264;  // 'ZmRd'

struct ReadoutQuery {
    // Asked: the moment within the time since the last block (0 its start, 1 its end), and
    // whether to pick up the over states too (that clears a pending over, as a refresh does).
    double position = 0.0;
    VstInt32 withOverStates = 0;
    // Answered: every quantity at that moment, the over states (1 over now, 0 latched, -1
    // never; left 0 unless asked) and the meter's first setting as shown, "-18.0 dB" or the like.
    double values[kMeterQuantityCount] = {};
    VstInt32 overStates[2] = {};
    char reference[64] = {};
};
