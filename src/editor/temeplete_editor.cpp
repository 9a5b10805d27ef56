#include "editor/temeplete_editor.h"

#include "platform/contract.h"

#include <atomic>
#include <new>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "editor/my_frame.h"
#include "controls/zem_custom_font.h"
#include "controls/zem_hint_control.h"
#include "controls/zem_name_plate.h"
#include "ui/bitmap.h"

using namespace VSTGUI;

namespace {

constexpr unsigned char kVirtualKeyEscape = 6;  // VKEY_ESCAPE of the host's key codes

// The parameter that a control writes: a typed trim or frequency writes Trim, HPFreq or LPFreq,
// so that its edit is the gesture of that parameter; any other tag is the index itself.
VstInt32 parameterWrittenBy(long tag)
{
    switch (tag) {
    case kTagTrimEntry:
        return kTrim;
    case kTagHPFreqEntry:
        return kHPFreq;
    case kTagLPFreqEntry:
        return kLPFreq;
    default:
        return (VstInt32)tag;
    }
}

// The indices with a route of their own; every other index only reaches the parts.
struct EchoRow {
    VstInt32 index;
    EchoRoute route;
};
constexpr EchoRoute kFilters{true, false, false, true}, kSelect{false, true, false, true},
    kPlace{false, false, true, true}, kAutomate{false, false, false, true};
const EchoRow kEchoTable[] = {
    {kProcess, kFilters}, {kTrim, kAutomate}, {kGSIcal, kAutomate}, {kMeter, kSelect},  {kLRMS, kAutomate},
    {kHold, kAutomate},   {kStrips, kPlace},  {kShowFlt, kPlace},   {kShowLbl, kPlace},
};

}  // namespace

EchoRoute echoRoute(VstInt32 index)
{
    for (const EchoRow &row : kEchoTable)
        if (row.index == index)
            return row.route;
    return EchoRoute{};
}

namespace {
// Editor objects of the module; the last one to go releases the process-wide label font, so that
// the font and its private font resource go when the host closes the last instance, through
// the entry point, and never inside the module's unload.
std::atomic<int> editorObjects{0};
}  // namespace

TemepleteEditor::TemepleteEditor(AudioEffect *effect, EditorPartsFactory &parts)
    : CPresetSystemEditor(effect), templete(dynamic_cast<Templete *>(effect)), parts(parts), zoom(templete)
{
    ++editorObjects;
    rect.top = 0;
    rect.left = 0;
    rect.bottom = 195;
    rect.right = kWidth;
    if (effect)
        effect->setEditor(this);
}

TemepleteEditor::~TemepleteEditor()
{
    if (frame)
        close();
    if (effect && effect->getEditor() == this)
        effect->setEditor(nullptr);
    if (--editorObjects == 0)
        releaseSharedLabelFont();
}

float TemepleteEditor::effectParameter(VstInt32 index) const { return effect ? effect->getParameter(index) : 0.f; }

EditorFrontPanel *TemepleteEditor::getPanel(MeterType meterType) const
{
    ZEM_CHECK(isMeterType(meterType), nullptr);
    return panels[meterType].get();
}

EditorFrontPanel *TemepleteEditor::shownPanel() const
{
    return isMeterType(selectedMeter) ? panels[MeterType(selectedMeter)].get() : nullptr;
}

bool TemepleteEditor::open(void *ptr)
{
    editorThread.store(std::this_thread::get_id(), std::memory_order_release);
    parentWindow = ptr;
    // Pictures are decoded at the first open, not when the effect is built: a host's plug-in
    // scan builds every effect and must not start the window system's drawing library.
    if (!background && ptr && !frame)
        background.reset(new (std::nothrow) CBitmap(kBackgroundBitmap));
    if (!background || !background->isLoaded() || !ptr || frame)
        return false;
    askHostAboutParent(ptr);
    applyZoomFactor(zoom.atOpen(ptr));
    const CRect size(rect.left, rect.top, rect.left + kWidth, rect.top + 195);
    OwningPointer<MyFrame> myFrame(new MyFrame(size, ptr, this));
    if (!myFrame->isValid()) {  // the window system refused the window, or this build the parent
        myFrame.reset();
        withdrawParent();
        parentWindow = nullptr;
        return false;
    }
    AEffGUIEditor::open(ptr);
    myFrame->focusOnClick = true;
    setFrame(myFrame.release());  // the editor's frame reference, given back in close
    frame->setBackground(background.get());
    setKnobMode(2);

    // The panels take their state from the effect below: what was pending before is in it.
    for (std::atomic<uint64_t> &word : pendingParameters)
        word.store(0, std::memory_order_relaxed);
    selectedMeter = -1;
    stripLayoutCache[0] = stripLayoutCache[1] = stripLayoutCache[2] = -1;
    for (MeterType type : kMeterTypes)
        panels[type] = parts.createFrontPanel(type, this, templete);
    for (auto &p : panels)
        if (p)
            p->buildPanel(frame, nullptr);
    namePlate = new CZEMNamePlate(this, kTagNamePlate);
    frame->addView(namePlate);
    selectMeterPanel(effectParameter(kMeter));

    filtersEditor = parts.createFiltersEditor(this, templete);
    labelEditor = parts.createLabelEditor(this, templete);
    PerMeterType<EditorFrontPanel *> built;
    for (MeterType type : kMeterTypes)
        built[type] = panels[type].get();
    if (filtersEditor)
        filtersEditor->open(frame, built);
    if (labelEditor)
        labelEditor->open(frame, built);
    layoutStrips(true);
    return true;
}

void TemepleteEditor::close()
{
    closeSizeMenu();
    sizeMenu.reset();
    namePlate = nullptr;  // goes with the frame's views
    parentWindow = nullptr;
    if (labelEditor) {
        labelEditor->close();
        labelEditor.reset();
    }
    if (filtersEditor) {
        filtersEditor->close();
        filtersEditor.reset();
    }
    for (auto &p : panels)
        if (p)
            p->teardownPanel();
    for (auto &p : panels)
        p.reset();
    if (frame) {
        CFrame *closing = frame;
        setFrame(nullptr);
        closing->close();
        closing->forget();
    }
    withdrawParent();
    AEffGUIEditor::close();
}

void TemepleteEditor::selectMeterPanel(float value)
{
    const int index = threeState(value);
    // The effect keeps Meter inside 0..1, so that it always decodes to a meter type.
    ZEM_CHECK(isMeterType(index), );
    if (index == selectedMeter)
        return;
    // An open settings panel belongs to the meter that goes: it closes (and stores the
    // defaults) before the new meter's panel shows, so that none is left over the new one.
    if (EditorFrontPanel *leaving = shownPanel())
        leaving->closeSettingsPanel();
    selectedMeter = index;
    for (auto &p : panels)
        if (p)
            p->hidePanel();
    if (EditorFrontPanel *shown = shownPanel())
        shown->showPanel();
    raiseNamePlate();
    stripLayoutCache[0] = -1;
    layoutStrips(false);
}

void TemepleteEditor::layoutStrips(bool resize)
{
    if (!frame || !effect || !filtersEditor || !labelEditor || !isMeterType(selectedMeter))
        return;
    const MeterType shownType = MeterType(selectedMeter);
    const int layout[3] = {switchOn(effectParameter(kStrips)), switchOn(effectParameter(kShowFlt)),
                           switchOn(effectParameter(kShowLbl))};
    if (layout[0] == stripLayoutCache[0] && layout[1] == stripLayoutCache[1] && layout[2] == stripLayoutCache[2])
        return;
    for (int i = 0; i < 3; ++i)
        stripLayoutCache[i] = layout[i];

    int height = kPanelHeight;
    if (layout[0] != 0) {
        if (layout[1] != 0) {
            filtersEditor->showExpanded(CPoint(0, kPanelHeight), shownType);
            height = 222;
        } else {
            filtersEditor->showCollapsed(CPoint(0, kPanelHeight), shownType);
            height = 182;
        }
        if (layout[2] != 0) {
            labelEditor->showExpanded(CPoint(0, height), shownType);
            height += 39;
        } else {
            labelEditor->showCollapsed(CPoint(0, height), shownType);
            height += 13;
        }
    }
    if (EditorFrontPanel *shown = shownPanel())
        shown->raiseSettingsPanel();
    if (resize)
        setEditorHeight(height);
}

void TemepleteEditor::setEditorHeight(int height)
{
    if (!frame || height <= 0)
        return;
    if (rect.bottom - rect.top == height) {
        if (frame->getHeight() != height)
            frame->setSize(frame->getWidth(), height);
        return;
    }
    closeSizeMenu();  // it was placed inside the old height
    rect.bottom = (VstInt16)(rect.top + height);
    frame->setSize(frame->getWidth(), height);
    resizeHostWindow();
}

void TemepleteEditor::idle()
{
    if (!frame)
        return;
    ZEM_CHECK(std::this_thread::get_id() == editorThread.load(std::memory_order_acquire), );  // [ui-thread] only
    applyPendingParameters();
    if (!getSizeMenu())
        applyZoomFactor(zoom.atIdle(parentWindow));
    if (labelEditor)
        labelEditor->idleTick();
    double now = frame->getTicks() * 0.001;
    double position = 0;
    if (templete && now >= 0) {
        double duration = templete->getBlockDuration();
        // No block duration yet means no block to measure from.
        if (duration > 0)
            position = (now - templete->getLastBlockTime()) / duration;
        if (!(position > 0))
            position = 0;
    }
    lastIdlePosition = position;
    if (EditorFrontPanel *shown = shownPanel())
        shown->refreshMeters(position);
    AEffGUIEditor::idle();
}

void TemepleteEditor::setParameter(VstInt32 index, float value)
{
    if (std::this_thread::get_id() == editorThread.load(std::memory_order_acquire)) {
        applyParameter(index, value);
        return;
    }
    // Another thread: the value already lives in the effect, so a bit is all the editor needs.
    // Indices beyond the bits have no meaning for the editor.
    if (index >= 0 && index < kPendingWords * 64)
        pendingParameters[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_release);
}

void TemepleteEditor::applyPendingParameters()
{
    bool layoutChanged = false;
    for (int word = 0; word < kPendingWords; ++word) {
        uint64_t bits = pendingParameters[word].exchange(0, std::memory_order_acquire);
        for (int bit = 0; bits != 0; ++bit, bits >>= 1) {
            if (bits & 1u) {
                const VstInt32 index = word * 64 + bit;
                layoutChanged = layoutChanged || echoRoute(index).placesStrips;
                applyParameter(index, effectParameter(index));
            }
        }
    }
    // A meter change (index 3) applied before them re-places the strips at the old height and
    // takes the new layout with it; the window must still follow the layout.
    if (layoutChanged) {
        stripLayoutCache[0] = -1;
        layoutStrips(true);
    }
}

void TemepleteEditor::applyParameter(VstInt32 index, float value)
{
    if (!frame)
        return;
    // Views are touched on the editor's thread only; other threads leave a pending bit.
    ZEM_CHECK(std::this_thread::get_id() == editorThread.load(std::memory_order_acquire), );
    const EchoRoute route = echoRoute(index);
    if (route.filtersProcess && filtersEditor)
        filtersEditor->processChanged(value);
    if (route.selectsMeter)
        selectMeterPanel(value);
    if (route.placesStrips)
        layoutStrips(true);
    if (labelEditor)
        labelEditor->parameterChanged(index, value);
    if (filtersEditor)
        filtersEditor->parameterChanged(index, value);
    for (auto &p : panels)
        if (p)
            p->parameterChanged(index, value);
}

void TemepleteEditor::controlBeginEdit(CControl *control)
{
    if (control)
        beginEdit(parameterWrittenBy(control->getTag()));
}

void TemepleteEditor::controlEndEdit(CControl *control)
{
    if (control)
        endEdit(parameterWrittenBy(control->getTag()));
}

void TemepleteEditor::valueChanged(CControl *control)
{
    if (!control)
        return;
    CPresetSystemEditor::valueChanged(control);
    const long tag = control->getTag();
    if (tag == kTagNamePlate && control == namePlate) {
        CPoint where = namePlate->getPressPoint();
        openSizeMenu(namePlate->localToFrame(where));
        return;
    }
    if (tag == (VstInt32)tag && echoRoute((VstInt32)tag).automatedByEditor) {
        if (effect)
            effect->setParameterAutomated((VstInt32)tag, control->getValue());
        control->setDirty(true);
    }
    if (EditorFrontPanel *shown = shownPanel())
        shown->controlChanged(control);
    if (labelEditor)
        labelEditor->valueChanged(control);
    if (filtersEditor)
        filtersEditor->valueChanged(control);
}

void TemepleteEditor::raiseNamePlate()
{
    if (!frame || !namePlate)
        return;
    // The panel that shows was attached after the plate: the plate goes back on top of it.
    ReferenceGuard keep(namePlate);
    if (frame->removeView(namePlate, false))
        frame->addView(namePlate);
    EditorFrontPanel *shown = shownPanel();
    namePlate->setHintTarget(shown ? shown->getHintLabel() : nullptr);
}

void TemepleteEditor::openSizeMenu(const CPoint &where)
{
    if (!frame)
        return;
    closeSizeMenu();
    // The menu box: as wide as its longest text needs in the editor font, with the mark.
    constexpr CCoord kMenuWidth = 56;
    sizeMenu.reset(new (std::nothrow) CPopupMenu(EditorZoom::menuTitle(), EditorZoom::menuItems(),
                                                 EditorZoom::menuItemOf(zoom.getChoice()), kMenuWidth,
                                                 [this](int item) { sizeMenuChosen(item); }));
    if (!sizeMenu)
        return;
    const CRect window(0, 0, kWidth, rect.bottom - rect.top);
    if (!sizeMenu->open(frame, where, window))
        sizeMenu.reset();
}

void TemepleteEditor::closeSizeMenu()
{
    if (sizeMenu)
        sizeMenu->close();
}

void TemepleteEditor::sizeMenuChosen(int item)
{
    if (item == CPopupMenu::kNoChoice)
        return;
    applyZoomFactor(zoom.choose(EditorZoom::choiceOfMenuItem(item)), true);
}

void TemepleteEditor::applyZoomFactor(double factor, bool chosen)
{
    // The sources move the factor when what they say changes (or the user chose); a factor set
    // directly through setZoomFactor holds until then.
    if (factor == sourcesFactor && !chosen)
        return;
    sourcesFactor = factor;
    if (factor != getZoomFactor())
        setZoomFactor(factor);  // open: the frame and the host's window follow at once
}

bool TemepleteEditor::getRect(ERect **ppRect)
{
    if (!frame)
        applyZoomFactor(zoom.beforeOpen());
    return CPresetSystemEditor::getRect(ppRect);
}

bool TemepleteEditor::onKeyDown(VstKeyCode &keyCode)
{
    if (getSizeMenu() && keyCode.virt == kVirtualKeyEscape) {
        closeSizeMenu();
        return true;
    }
    return CPresetSystemEditor::onKeyDown(keyCode);
}
