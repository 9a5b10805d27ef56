#include "lv2_ui.h"

#include <cfloat>
#include <cstring>
#include <new>

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>

#include "lv2/lv2_ports.h"
#include "lv2/lv2_uris.h"
#include "params/plain_units.h"
#include "vst/aeff_editor.h"
#include "vst/audio_effect.h"

namespace {

static_assert(kPlainParameterCount <= 32, "one bit per host parameter in Lv2Ui::held");

const Lv2UiWindowAccess *windowAccess = nullptr;

const void *feature(const LV2_Feature *const *features, const char *uri)
{
    for (const LV2_Feature *const *f = features; f && *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0)
            return (*f)->data;
    return nullptr;
}

// ---- the descriptor's C functions ----------------------------------------------------------------

LV2UI_Handle instantiate(const LV2UI_Descriptor *, const char *, const char *, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget *widget, const LV2_Feature *const *features)
{
    try {
        return Lv2Ui::instantiate(write, controller, widget, features);
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle ui) { delete static_cast<Lv2Ui *>(ui); }

void portEvent(LV2UI_Handle ui, uint32_t port, uint32_t size, uint32_t format, const void *buffer)
{
    if (ui)
        static_cast<Lv2Ui *>(ui)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle ui) { return ui ? static_cast<Lv2Ui *>(ui)->idle() : 1; }

uint32_t optionsGet(LV2_Handle, LV2_Options_Option *) { return LV2_OPTIONS_ERR_UNKNOWN; }

uint32_t optionsSet(LV2_Handle ui, const LV2_Options_Option *options)
{
    return ui && static_cast<Lv2Ui *>(ui)->applyOptions(options) ? LV2_OPTIONS_SUCCESS : LV2_OPTIONS_ERR_BAD_KEY;
}

constexpr LV2UI_Idle_Interface kIdle{idle};
constexpr LV2_Options_Interface kOptions{optionsGet, optionsSet};

const void *extensionData(const char *uri)
{
    if (!uri)
        return nullptr;
    if (std::strcmp(uri, LV2_UI__idleInterface) == 0)
        return &kIdle;
    if (std::strcmp(uri, LV2_OPTIONS__interface) == 0)
        return &kOptions;
    return nullptr;
}

}  // namespace

void setLv2UiWindowAccess(const Lv2UiWindowAccess *access) { windowAccess = access; }

Lv2Ui *Lv2Ui::instantiate(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget *widget,
                          const LV2_Feature *const *features)
{
    // Instance access hands over the instance's LV2_Handle; a host that offers it without a
    // handle (or not at all) gets no UI, as the ttl requires it.
    auto *instance = static_cast<Lv2Plugin *>(const_cast<void *>(feature(features, LV2_INSTANCE_ACCESS_URI)));
    void *parent = const_cast<void *>(feature(features, LV2_UI__parent));
    AEffect *effect = instance ? instance->effectRecord() : nullptr;
    if (!effect || !parent || !write || !widget || !(effect->flags & effFlagsHasEditor))
        return nullptr;

    Lv2Ui *ui = new (std::nothrow) Lv2Ui(instance, effect);
    if (!ui)
        return nullptr;
    ui->write = write;
    ui->controller = controller;
    ui->hostResize = static_cast<const LV2UI_Resize *>(feature(features, LV2_UI__resize));
    if (ui->hostResize && !ui->hostResize->ui_resize)
        ui->hostResize = nullptr;
    ui->hostTouch = static_cast<const LV2UI_Touch *>(feature(features, LV2_UI__touch));
    if (ui->hostTouch && !ui->hostTouch->touch)
        ui->hostTouch = nullptr;
    if (auto *map = static_cast<const LV2_URID_Map *>(feature(features, LV2_URID__map)); map && map->map) {
        ui->scaleFactorKey = map->map(map->handle, LV2_UI__scaleFactor);
        ui->floatType = map->map(map->handle, LV2_ATOM__Float);
    }
    // Before the editor opens, so that its first size is the scaled one.
    ui->applyOptions(feature(features, LV2_OPTIONS__options));

    if (!ui->open(parent)) {
        delete ui;
        return nullptr;
    }
    *widget = reinterpret_cast<LV2UI_Widget>(windowAccess ? windowAccess->frameWindow(effect) : 0);
    return ui;
}

bool Lv2Ui::open(void *parent)
{
    // One editor per effect: a second UI of the same instance is refused.
    auto *object = static_cast<AudioEffect *>(effect->object);
    AEffEditor *editor = object ? object->getEditor() : nullptr;
    if (!editor || editor->isOpen())
        return false;
    instance->setEditorLink(this);
    attached = true;
    // The X11 window id travels by value in the pointer, as a Linux VST 2.4 host passes it.
    if (!effect->dispatcher(effect, effEditOpen, 0, 0, parent, 0.f))
        return false;
    opened = true;
    ERect *rect = nullptr;
    if (effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.f) && rect)
        resizeEditor(rect->right - rect->left, rect->bottom - rect->top);
    return true;
}

Lv2Ui::~Lv2Ui()
{
    // The editor's last edits (a drag cut short by the close) still reach the host.
    if (opened)
        effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.f);
    if (attached)
        instance->setEditorLink(nullptr);
}

int Lv2Ui::idle()
{
    if (!opened)
        return 1;
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.f);
    return 0;
}

void Lv2Ui::portEvent(uint32_t port, uint32_t size, uint32_t format, const void *buffer)
{
    if (format != 0 || size != sizeof(float) || !buffer || !Lv2Port::isParameter(port))
        return;
    const uint32_t id = Lv2Port::parameterOf(port);
    float plain = 0.f;
    std::memcpy(&plain, buffer, sizeof plain);
    // Hosts announce every control's value as the UI opens. That is what the instance has read
    // (or, after a state restore, what it keeps from overriding the state's values), so only a
    // later move of the port counts, as the instance counts only a port's moves.
    const uint32_t bit = 1u << id;
    const bool moved = (announced & bit) && std::memcmp(&plain, &lastPort[id], sizeof plain) != 0;
    announced |= bit;
    lastPort[id] = plain;
    // The control the user holds follows the user, not the host's echo of an older value.
    if (!moved || (held & bit))
        return;
    const float normalised = normalisedValue(id, plain);
    // The host's echo of the editor's own write, or a value the instance already took.
    if (normalisedValue(id, plainValue(id, effect->getParameter(effect, (VstInt32)id))) == normalised)
        return;
    // As a VST 2.4 host sets a parameter: the effect takes it and echoes it to its editor.
    effect->setParameter(effect, (VstInt32)id, normalised);
}

bool Lv2Ui::setScale(double scale)
{
    if (!(scale > 0) || !(scale <= FLT_MAX))
        return false;
    // Where a VST 2.4 host's announcement goes ('PreS' 'AeCs' to the effect): the editor keeps one
    // order of sources, the user's stored choice first, then the host's factor.
    if (!effect->dispatcher(effect, effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, (float)scale))
        return false;
    // An open editor takes the factor at once and asks for its new size through ui:resize.
    idle();
    return true;
}

bool Lv2Ui::applyOptions(const void *list)
{
    bool taken = false;
    const auto *option = static_cast<const LV2_Options_Option *>(list);
    for (; option && option->key; ++option)
        if (scaleFactorKey && option->key == scaleFactorKey && option->type == floatType &&
            option->size == sizeof(float) && option->value) {
            float scale = 0.f;
            std::memcpy(&scale, option->value, sizeof scale);
            taken = setScale(scale) || taken;
        }
    return taken;
}

// The instance passes host parameters only (0..16).
void Lv2Ui::beginEdit(uint32_t id)
{
    held |= 1u << id;
    if (hostTouch)
        hostTouch->touch(hostTouch->handle, Lv2Port::kFirstParameter + id, true);
}

void Lv2Ui::endEdit(uint32_t id)
{
    held &= ~(1u << id);
    if (hostTouch)
        hostTouch->touch(hostTouch->handle, Lv2Port::kFirstParameter + id, false);
}

void Lv2Ui::valueEdit(uint32_t id, float normalised)
{
    // The port carries the value in its own unit.
    const float plain = (float)plainValue(id, normalised);
    write(controller, Lv2Port::kFirstParameter + id, sizeof plain, 0, &plain);
}

bool Lv2Ui::resizeEditor(int width, int height)
{
    if (!hostResize || width <= 0 || height <= 0)
        return false;
    return hostResize->ui_resize(hostResize->handle, width, height) == 0;
}

const LV2UI_Descriptor *lv2UiDescriptor(uint32_t index)
{
    static const LV2UI_Descriptor descriptor{ZEM_LV2_UI_URI, instantiate, cleanup, portEvent, extensionData};
    return index == 0 ? &descriptor : nullptr;
}
