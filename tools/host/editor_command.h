// The scripted actions of the harness's editor subcommand:
//   click X,Y [shift|ctrl|double|right]...
//   drag X1,Y1 X2,Y2 [shift]
//   wheel X,Y D [shift]
//   param INDEX=VALUE
//   type TEXT          (UTF-8 text, to the open edit box; the rest of the line, spaces kept)
//   key enter|tab|escape
//   tone DBFS | tone off    (the signal fed from now on: a 1 kHz sine of that peak level in
//                           both channels, or silence)
//   idle N                  (N blocks of the signal, each followed by an idle call)
//   audio N                 (N blocks of the signal with no idle call between them, as when a
//                           host's UI thread is busy, then one idle)
//   picture NAME [LABEL]    (a picture of the frame as it is now, NAME.png in the picture
//                           folder; the label is for people and is not used here)
#pragma once

#include <string>

struct EditorAction {
    enum Kind { Click, Drag, Wheel, Param, Type, Key, Tone, Idle, Audio, Picture } kind = Click;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float distance = 0;
    int index = 0;        // Param: the parameter; Idle, Audio: the number of blocks
    float value = 0;      // Param: the value; Tone: the peak level in dBFS
    bool silent = false;  // Tone: silence instead of the sine
    int buttons = 0;      // the view library's button and modifier flags
    std::string text;     // Type: the text; Key: the key's name; Picture: the name
};

// False with a message in error for a malformed action.
bool parseEditorAction(const std::string &text, EditorAction &action, std::string &error);

class ActionInput;
// Performs a click, drag, wheel, type or key action on input (a missing edit box is reported on
// stderr); false, doing nothing, for the other kinds, which belong to the caller.
bool performInputAction(ActionInput &input, const EditorAction &action);
