// The texts of the hint line, by control tag. [ui-thread]
#pragma once

#include <string>

// Sets text to the hint for a control with that tag and value; zone is the meter selector's
// arrow (0 left, 1 right). Answers false, leaving text as it was, for a meter selector value
// outside the three meters.
bool helpHintText(long tag, float value, int zone, std::string &text);
