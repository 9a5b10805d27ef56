// The scripted actions of the harness's editor subcommand:
//   click X,Y [shift|ctrl|double|right]...
//   drag X1,Y1 X2,Y2 [shift]
//   wheel X,Y D [shift]
//   param INDEX=VALUE
//   type TEXT          (UTF-8 text, to the open edit box; the rest of the line, spaces kept)
//   key enter|tab|escape
#pragma once

#include <string>

struct EditorAction {
    enum Kind { Click, Drag, Wheel, Param, Type, Key } kind = Click;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float distance = 0;
    int index = 0;
    float value = 0;
    int buttons = 0;  // the view library's button and modifier flags
    std::string text;  // Type: the text; Key: the key's name
};

// False with a message in error for a malformed action.
bool parseEditorAction(const std::string &text, EditorAction &action, std::string &error);
