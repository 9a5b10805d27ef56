// The editor factory the entry point hands to the effect (see core/editor_factory.h).
#pragma once

#include "core/editor_factory.h"

std::unique_ptr<AEffEditor> createTemepleteEditor(AudioEffect *effect);
