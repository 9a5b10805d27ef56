// The harness's read-out question through VST 3: an interface of ours, which the effect answers
// by asking itself the read-out query of core/readout_query.h through its dispatcher, exactly as
// zem_host asks it through VST 2.4 and zem_clap_host through its CLAP extension, so that our
// VST 3 host can compare the meters of the formats. Real hosts never ask for it.
#pragma once

#include "core/readout_query.h"
#include "vst3/vst3_interface.h"

namespace vst3 {

class IZemReadout : public FUnknown {
public:
    // [ui-thread], between blocks. kResultFalse when no meter engine is selected.
    virtual tresult VST3_API query(ReadoutQuery *query) = 0;
    static constexpr Uid iid = makeUid(0x5A454D4F, 0x52656164, 0x6F757456, 0x53543301);
};

}  // namespace vst3
