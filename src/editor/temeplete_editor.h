// The plug-in's editor window: one frame holding the selected meter's front panel and the two
// channel strips below it. It is the single listener of every control, the single receiver of
// the effect's parameter echo, and owns the window height, which follows the strip layout.
// Threads: open, close, idle, valueChanged [ui-thread] (the editor's thread is the one that
// opened it); setParameter [any-thread]: a change on the editor's thread is applied at once, one
// from any other thread (host automation often comes from the audio thread) only marks its
// index pending, and the next idle applies it on the editor's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "controls/editor_parts.h"
#include "controls/image_numbers.h"
#include "editor/editor_zoom.h"
#include "editor/preset_system_editor.h"
#include "ui/popup_menu.h"

class MyFrame;
class CZEMNamePlate;

// What the editor does with one parameter index beyond passing its echo to every part (the
// strip holders, then every panel, hear each index). [any-thread] (a constant table)
struct EchoRoute {
    bool filtersProcess = false;  // the filter strips' active state follows it (Process)
    bool selectsMeter = false;    // shows that meter type's panel (Meter)
    bool placesStrips = false;    // re-places the strips and sizes the window (Strips, ShowFlt, ShowLbl)
    // A control with it as tag is written to the host as an automated change by the editor, which
    // marks that control for redrawing once.
    bool automatedByEditor = false;
};
EchoRoute echoRoute(VstInt32 index);

class TemepleteEditor : public CPresetSystemEditor {
public:
    static constexpr int kWidth = 586;
    static constexpr int kPanelHeight = 169;
    static constexpr int kBackgroundBitmap = kImageVUFront;

    // [ui-thread] (the host's main thread, which builds the effect) Registers itself with the
    // effect; the background picture is loaded at the first open.
    explicit TemepleteEditor(AudioEffect *effect, EditorPartsFactory &parts = productEditorParts());
    // [ui-thread] Detaches from the effect, then releases the background.
    ~TemepleteEditor() override;

    // [ui-thread] Answers false, creating nothing, without a parent window or background picture.
    bool open(void *ptr) override;
    // [ui-thread]
    void close() override;
    // [ui-thread] Applies the pending parameter changes, then refreshes the meters and redraws.
    void idle() override;
    // [any-thread] Lock-free off the editor's thread.
    void setParameter(VstInt32 index, float value) override;
    // [ui-thread]
    void valueChanged(VSTGUI::CControl *control) override;
    // [ui-thread] The gesture of a control is the gesture of the parameter it writes (a typed trim is one
    // of Trim); the host hears of it only when it knows that parameter.
    void controlBeginEdit(VSTGUI::CControl *control) override;
    void controlEndEdit(VSTGUI::CControl *control) override;

    // [ui-thread] value: the Meter parameter. Shows that meter's panel and re-places the strips.
    void selectMeterPanel(float value);
    // [ui-thread] Places the strips after Strips, ShowFlt and ShowLbl, and with resize sets the height.
    void layoutStrips(bool resize);
    // [ui-thread]
    void setEditorHeight(int height);

    // [ui-thread] The meter type shown, -1 before the first.
    int getSelectedMeter() const { return selectedMeter; }
    // [ui-thread] The front panel of a meter type while the editor is open, else null.
    EditorFrontPanel *getPanel(MeterType meterType) const;
    // [ui-thread]
    void *getParentWindow() const { return parentWindow; }
    // [ui-thread] The position that the last idle passed to the panel.
    double getLastIdlePosition() const { return lastIdlePosition; }

    // [ui-thread] Closed, the size the next open will have (the factor of the user's choice or
    // the host's); open, the window's.
    bool getRect(ERect **ppRect) override;
    // [ui-thread] Escape closes an open size menu.
    bool onKeyDown(VstKeyCode &keyCode) override;
    // [ui-thread] Opens the size menu with its top-left corner at where (frame coordinates),
    // inside the window; a right click on the name plate does this.
    void openSizeMenu(const VSTGUI::CPoint &where);
    // [ui-thread] The open size menu, else null.
    VSTGUI::CPopupMenu *getSizeMenu() const { return sizeMenu && sizeMenu->isOpen() ? sizeMenu.get() : nullptr; }
    // [ui-thread] Where the factor comes from.
    const EditorZoom &getZoomSources() const { return zoom; }

private:
    // The echo itself, on the editor's thread: panels, strips and the window follow the change.
    void applyParameter(VstInt32 index, float value);
    // Every index marked pending, in index order, with the effect's current value.
    void applyPendingParameters();
    // The panel of the meter type shown, null before the first or when it could not be made.
    EditorFrontPanel *shownPanel() const;
    float effectParameter(VstInt32 index) const;
    // The name plate on top of the shown panel, explaining itself on that panel's hint line.
    void raiseNamePlate();
    void closeSizeMenu();
    void sizeMenuChosen(int item);
    // The factor the sources give: the window follows it when it differs from what they gave
    // last, or when the user chose it.
    void applyZoomFactor(double factor, bool chosen = false);

    // Indices 0..127 (every index the editor acts on), one bit each.
    static constexpr int kPendingWords = 2;
    std::atomic<uint64_t> pendingParameters[kPendingWords] = {};
    std::atomic<std::thread::id> editorThread{};
    static_assert(std::atomic<std::thread::id>::is_always_lock_free, "the audio thread reads it");
    static_assert(std::atomic<uint64_t>::is_always_lock_free, "the audio thread marks pending bits");

    Templete *templete;
    EditorPartsFactory &parts;
    VSTGUI::OwningPointer<VSTGUI::CBitmap> background;
    void *parentWindow = nullptr;
    PerMeterType<std::unique_ptr<EditorFrontPanel>> panels;
    std::unique_ptr<EditorLabelHolder> labelEditor;
    std::unique_ptr<EditorFiltersHolder> filtersEditor;
    int selectedMeter = -1;                  // a MeterType; -1 none shown
    int stripLayoutCache[3] = {-1, -1, -1};  // Strips, ShowFlt, ShowLbl as last applied
    double lastIdlePosition = 0;
    EditorZoom zoom;
    double sourcesFactor = 1.0;          // what the sources gave last
    CZEMNamePlate *namePlate = nullptr;  // the frame's, while open
    VSTGUI::OwningPointer<VSTGUI::CPopupMenu> sizeMenu;
};
