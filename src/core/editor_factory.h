// Creates the editor of one effect instance, or answers null when it cannot be created; the
// effect then runs without an editor. The editor subsystem defines it. Thread: the host's UI
// thread (effect construction).
#pragma once

class AEffEditor;
class AudioEffect;

AEffEditor *createTemepleteEditor(AudioEffect *effect);
