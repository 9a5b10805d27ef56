#include "lv2/lv2_ui_turtle.h"

#include "lv2/lv2_uris.h"

std::string lv2UiReferenceTurtle() { return "    <http://lv2plug.in/ns/extensions/ui#ui> <" ZEM_LV2_UI_URI "> ;\n"; }

std::string lv2UiTurtle()
{
    // Without instance access the editor has no effect to show, and without a parent no window:
    // a host that cannot give both offers no UI. The height follows the strip switches, so the
    // user does not drag it (noUserResize); the UI asks the host through ui:resize.
    return "@prefix ui:    <http://lv2plug.in/ns/extensions/ui#> .\n\n"
           "<" ZEM_LV2_UI_URI ">\n"
           "    a ui:X11UI ;\n"
           "    lv2:binary <" ZEM_LV2_BINARY "> ;\n"
           "    lv2:requiredFeature <http://lv2plug.in/ns/ext/instance-access> , ui:parent , ui:idleInterface ;\n"
           "    lv2:optionalFeature ui:resize , ui:touch , ui:noUserResize , opts:options , urid:map ;\n"
           "    lv2:extensionData ui:idleInterface , opts:interface ;\n"
           "    opts:supportedOption ui:scaleFactor .\n";
}
