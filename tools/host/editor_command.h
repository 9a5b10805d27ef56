// The scripted actions of the harness's editor subcommand:
//   click X,Y [shift|ctrl|double|right]...
//   drag X1,Y1 X2,Y2 [shift]
//   wheel X,Y D [shift]
//   param INDEX=VALUE
#pragma once

#include <string>

struct EditorAction {
    enum Kind { Click, Drag, Wheel, Param } kind = Click;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float distance = 0;
    int index = 0;
    float value = 0;
    int buttons = 0;  // the view library's button and modifier flags
};

// False with a message in error for a malformed action.
bool parseEditorAction(const std::string &text, EditorAction &action, std::string &error);
