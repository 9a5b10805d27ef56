// The user's choice of the editor's size, kept per user in the store of the meter defaults
// under a value of its own ("Aeditorzoom", a 4-byte float factor), which leaves the 27 meter
// values as they are. No value is Auto. Every editor reads it when it opens, so that all
// instances (of this process and of others) follow a new choice at their next open.
// [ui-thread] (file or registry calls: never the audio thread)
#pragma once

constexpr const char *kZoomChoiceValueName = "Aeditorzoom";

// The chosen factor, snapped to the list; 0 for Auto (no value, or one that is not a positive
// number).
double readZoomChoice();

// Stores a factor of the list, or removes the value for Auto (0). Answers false when the store
// could not be written; it is then unchanged.
bool writeZoomChoice(double factor);
