// The editor's part of the plug-in's turtle (lv2/lv2_turtle.h writes it into zem-ordwen.ttl): the
// X11 UI in the plug-in's binary, what it requires of a host (instance access, a parent window,
// the idle interface) and what it takes where offered. [any-thread] (constant text)
#pragma once

#include <string>

// The plug-in's ui:ui line, one predicate of the plug-in's description: "    ui:ui <...#ui> ;\n".
std::string lv2UiReferenceTurtle();
// The UI's own description, a statement of its own after the plug-in's.
std::string lv2UiTurtle();
