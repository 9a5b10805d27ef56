// The whole view library in one include.
#pragma once

#include "ui/aeff_gui_editor.h"
#include "ui/bitmap.h"
#include "ui/control.h"
#include "ui/controls.h"
#include "ui/draw_context.h"
#include "ui/font.h"
#include "ui/frame.h"
#include "ui/geometry.h"
#include "ui/png_writer.h"
#include "ui/view.h"
#include "ui/view_container.h"
