// Texts of the host parameters in their own units, for the hosts that ask for them by value
// (CLAP, LV2, VST 3): a value's text is the VST 2.4 display text with its label; a text's value
// is what the editor's typed entries accept (the trim, the filter frequencies, the lag) or a
// display text of a state. [main-thread] (the effect's display texts)
#pragma once

#include <cstdint>
#include <string>

class Templete;

// The display text and label of the plain value of parameter id, or empty for an id the host
// does not have.
std::string plainValueText(Templete &effect, uint32_t id, double plain);

// The plain value a text stands for; false when it names none.
bool plainValueFromText(Templete &effect, uint32_t id, const char *text, double &plain);
