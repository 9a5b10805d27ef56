// The library's ready-made controls, one header per family. [ui-thread], as every control
#pragma once

#include "anim_knob.h"
#include "horizontal_switch.h"
#include "kick_button.h"
#include "movie_bitmap.h"
#include "on_off_button.h"
#include "slider.h"
#include "text_label.h"
