// Creates the editor of one effect instance, or answers null when it cannot be created; the
// effect then runs without an editor. The editor registers itself with the effect; the caller
// hands ownership to the effect with setEditor. The editor subsystem defines it. Thread: the
// host's UI thread (effect construction).
#pragma once

#include <memory>

class AEffEditor;
class AudioEffect;

std::unique_ptr<AEffEditor> createTemepleteEditor(AudioEffect *effect);
