// zem_host controls [--do ACTION]... [--script FILE] [--png OUT.png]
// Lays every editor control and knob, and the three needle views with fixed readings, out on
// one frame with the product's own images, over an effect of the product built into this
// program, applies the actions of the editor subcommand (Windows: as window messages to the
// frame's window), writes the picture and prints the host notifications the effect sent
// (automate / begin / end), as the editor subcommand does. --zoom F draws the frame at F with
// the actions' positions multiplied by it, as the editor subcommand's --zoom does.
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "core/templete.h"
#include "display/anim_knob4.h"
#include "display/zem_meter2.h"
#include "editor/editor_factory.h"
#include "controls/image_numbers.h"
#include "controls/kq_kick_button.h"
#include "controls/zem_calibration_control.h"
#include "controls/zem_horizontal_switch.h"
#include "controls/zem_latency_control.h"
#include "controls/zem_meter_selector_control.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_slider.h"
#include "editor/my_frame.h"
#include "controls/zem_text_edit.h"
#include "command_options.h"
#include "editor_command.h"
#include "editor_window.h"
#include "keyboard_input.h"
#include "subcommands.h"
#include "ui/bitmap.h"
#include "ui/frame.h"

#ifndef _WIN32
#include "ui/cairo/offscreen_frame.h"
#include "ui/cairo/offscreen_text_edit.h"
#endif

#ifdef _WIN32
#include <windows.h>
#endif

using namespace VSTGUI;

// This program now draws text itself: fontconfig keeps its configuration cache for the life of
// the process, which is not ours to free.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

namespace {

// The controls above, the needle views below.
constexpr int kGalleryWidth = 586, kGalleryHeight = 520;

std::vector<std::string> notifications;

VstIntPtr VSTCALLBACK recordingHost(AEffect *, VstInt32 opcode, VstInt32 index, VstIntPtr, void *, float opt)
{
    char line[64];
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterAutomate:
        std::snprintf(line, sizeof line, "automate %d %g", (int)index, (double)opt);
        break;
    case audioMasterBeginEdit:
        std::snprintf(line, sizeof line, "begin %d", (int)index);
        break;
    case audioMasterEndEdit:
        std::snprintf(line, sizeof line, "end %d", (int)index);
        break;
    default:
        return 0;
    }
    notifications.push_back(line);
    return 0;
}

// Routes the controls to the effect as the editor does: host parameters as automated changes,
// edits as begin and end edit. A text field's committed text is recorded among the
// notifications too ("text 68 -3.5 dB"), so that the text each way of typing left is compared.
class EffectRouting : public CControlListener {
public:
    explicit EffectRouting(Templete &effect) : effect(effect) {}
    void valueChanged(CControl *control) override
    {
        long tag = control->getTag();
        if (auto *field = dynamic_cast<CZEMTextEdit *>(control))
            notifications.push_back("text " + std::to_string(tag) + " " + field->getText());
        if ((tag >= kProcess && tag <= kShowFlt) || tag == kShowLbl)
            effect.setParameterAutomated((VstInt32)tag, control->getValue());
    }
    void controlBeginEdit(CControl *control) override { effect.beginEdit((VstInt32)control->getTag()); }
    void controlEndEdit(CControl *control) override { effect.endEdit((VstInt32)control->getTag()); }

private:
    Templete &effect;
};

CBitmap *image(int number, std::vector<OwningPointer<CBitmap>> &keep)
{
    keep.emplace_back(new CBitmap(number));
    return keep.back().get();
}

// The gallery: every control of the editor at a fixed place.
void layOut(CFrame &frame, CControlListener &listener)
{
    std::vector<OwningPointer<CBitmap>> images;
    frame.setBackgroundColor(CColor(36, 38, 42, 255));
    auto *face = new CViewContainer(CRect(0, 0, 586, 169));
    face->setBackground(image(kImageVUFront, images));
    frame.addView(face);
    auto *hint = new CHelpHintLabel(CRect(304, 0, 496, 14));
    hint->setFontColor(CColor(200, 193, 193, 255));
    hint->setStyle(CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground);
    frame.addView(hint);
    auto add = [&](CControl *control, CZEMHintControl *hinted = nullptr) {
        if (hinted)
            hinted->setHintTarget(hint);
        frame.addView(control);
    };

    auto *trim = new CZEMSliderAH(CRect(20, 20, 52, 139), &listener, kTrim, CPoint(0, 0), 100,
                                  image(kImageTrimHandle, images), nullptr, CPoint(),
                                  CSlider::kVertical | CSlider::kBottom);
    trim->setValue(0.5f);
    trim->setDefaultValue(0.5f);
    add(trim, trim);
    auto *process = new CZEMOnOffButtonH(CRect(70, 20, 113, 34), &listener, kProcess, image(kImageProcess, images));
    add(process, process);
    auto *procFlt = new StripActiveButton(CRect(70, 44, 82, 56), &listener, kProcFlt,
                                          image(kImageFiltersInCollapsed, images));
    procFlt->setValue(1.f);
    add(procFlt, procFlt);
    auto *showFlt = new COnOffButtonH(CRect(90, 44, 101, 55), &listener, kShowFlt, image(kImageStripToggle, images));
    add(showFlt, showFlt);
    auto *manual = new CKQKickButtonH(CRect(70, 66, 80, 80), &listener, kTagManual, image(kImageManualButton, images));
    add(manual, manual);
    auto *lrms = new CZEMOnOffButton(CRect(120, 20, 207, 44), &listener, kLRMS, image(kImageVULRMS, images));
    lrms->directionalWheel = lrms->keepWheelSign = true;
    add(lrms);
    add(new CZEMHorizontalSwitch(CRect(120, 54, 206, 78), &listener, kHold, 3, 24, 3, image(kImageVUHold, images)));
    auto *scopePanel = new CViewContainer(CRect(120, 90, 206, 101));
    scopePanel->addView(
        new CZEMCalibrationControl(CRect(0, 0, 86, 11), &listener, kGSIcal, image(kImageFrontScope, images)));
    frame.addView(scopePanel);
    auto *selector = new CZEMMeterSelectorControl(CRect(220, 20, 369, 43), &listener, kMeter,
                                                  image(kImageMeterSelector, images));
    add(selector, selector);
    auto *lag = new CZEMLatencyControl(CRect(400, 20, 426, 60), &listener, kLagTime, image(kImageLagDisplay, images));
    lag->setValue(250.f / 999.f);
    add(lag);

    CBitmap *strip = image(kImageKnobStrip, images);
    CAnimKnob4 *knobs[] = {
        new CAnimKnob4(CRect(0, 0, 43, 41), &listener, 84, 51, 41, strip),
        new CRmsLedRefKnob(CRect(0, 0, 43, 41), &listener, kTagRMSReference, 51, 41, strip),
        new CRmsOverLedKnob(CRect(0, 0, 43, 41), &listener, 78, 51, 41, strip),
        new CVuLedRefKnob(CRect(0, 0, 43, 41), &listener, kTagVUReference, 51, 41, strip),
        new CPpmLedRefKnob(CRect(0, 0, 43, 41), &listener, kTagPPMReference, 51, 41, strip),
        new CVuOverLedKnob(CRect(0, 0, 43, 41), &listener, 88, 51, 41, strip),
        new CPpmOverLedKnob(CRect(0, 0, 43, 41), &listener, 98, 51, 41, strip),
        new CVuBackLitKnob(CRect(0, 0, 43, 41), &listener, 91, 51, 41, strip),
    };
    for (int i = 0; i < 8; ++i) {
        knobs[i]->setViewSize(CRect(20 + 50 * i, 190, 63 + 50 * i, 231));
        knobs[i]->setValue(0.5f);
        knobs[i]->dragFactor = 0.2f;
        knobs[i]->fineFactor = 10.f;
        add(knobs[i]);
    }
    auto *reference = new CFrontReferenceControl(CRect(420, 140, 553, 151), &listener, kTagVUReference,
                                                 image(kImageReferenceDisplay, images));
    reference->setReferenceText("-18 dBFS");
    add(reference, reference);

    // The trim entry: an editable field over the face picture.
    auto *trimEntry = new CMyTextEditAH(CRect(440, 100, 540, 114), &listener, kTagTrimEntry, "0.0 dB",
                                        face->getBackground());
    trimEntry->setFont(kNormalFontVerySmall);
    trimEntry->setFontColor(CColor(200, 193, 193, 255));
    trimEntry->setStyle(CTextLabel::kNoFrame);
    add(trimEntry, trimEntry);

    // The needle views below, with fixed readings: LED states, hold markers, a lit VU face.
    auto *vu = new CZEMVUMeter2(CPoint(20, 265), &listener);
    vu->setBacklight(2);
    vu->setHoldVisible(true);
    vu->setNeedleValue(1.0f);
    vu->setHoldValue(1.3f);
    vu->setOverState(0);
    add(vu);
    auto *rms = new CZEMRMSMeter2(CPoint(300, 265), &listener);
    rms->setHoldVisible(true);
    rms->setPeakValue(1.0f);
    rms->setRMSValue(0.3f);
    rms->setHoldValue(1.6f);
    rms->setOverState(1);
    add(rms);
    auto *ppm = new CZEMPPMMeter2(CPoint(20, 395), &listener);
    ppm->setHoldVisible(true);
    ppm->setPeakValue(0.5f);
    ppm->setHoldValue(1.2f);
    add(ppm);
}

class ControlsWindow {
public:
#ifdef _WIN32
    ControlsWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZemHarnessControls";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, L"ZemHarnessControls", L"ZEM Ordwen controls",
                                 WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kGalleryWidth, kGalleryHeight, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~ControlsWindow()
    {
        if (parent)
            DestroyWindow(parent);
    }
    void *handle() const { return parent; }
#else
    void *handle() const { return nullptr; }  // an offscreen frame
#endif

    // Input goes where a window system puts it: window messages on Windows, the frame's
    // platform entry points elsewhere.
    void send(CFrame &frame, const char *what, double x, double y, int buttons, float distance = 0)
    {
#ifdef _WIN32
        HWND window = static_cast<HWND>(frame.getSystemWindow());
        WPARAM keys = 0;
        if (buttons & kLButton)
            keys |= MK_LBUTTON;
        if (buttons & kRButton)
            keys |= MK_RBUTTON;
        if (buttons & kShift)
            keys |= MK_SHIFT;
        if (buttons & kControl)
            keys |= MK_CONTROL;
        LPARAM at = MAKELPARAM((int)x, (int)y);
        std::string verb(what);
        if (verb == "down") {
            bool dbl = (buttons & kDoubleClick) != 0;
            UINT msg = (buttons & kRButton) ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                            : (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
            SendMessageW(window, msg, keys, at);
        } else if (verb == "up") {
            SendMessageW(window, (buttons & kRButton) ? WM_RBUTTONUP : WM_LBUTTONUP, keys & ~(MK_LBUTTON | MK_RBUTTON),
                         at);
        } else if (verb == "move") {
            SendMessageW(window, WM_MOUSEMOVE, keys, at);
        } else {
            POINT p{(int)x, (int)y};
            ClientToScreen(window, &p);
            SendMessageW(window, WM_MOUSEMOVE, keys, at);
            SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, (WORD)(short)(distance * WHEEL_DELTA)),
                         MAKELPARAM(p.x, p.y));
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
#else
        std::string verb(what);
        CButtonState state(buttons);
        if (verb == "down")
            frame.platformOnMouseDown(CPoint(x, y), state);
        else if (verb == "up")
            frame.platformOnMouseUp(CPoint(x, y), CButtonState(buttons & ~(kLButton | kRButton)));
        else if (verb == "move")
            frame.platformOnMouseMoved(CPoint(x, y), state);
        else {
            frame.platformOnMouseMoved(CPoint(x, y), CButtonState(buttons & (kShift | kControl | kAlt)));
            frame.platformOnWheel(CPoint(x, y), distance, state);
        }
#endif
    }

    void perform(CFrame &frame, Templete &effect, const EditorAction &a)
    {
        FrameInput onFrame(*this, frame);
#ifdef _WIN32
        ActionInput &window = onFrame;
#else
        ActionInput &window = x11 ? static_cast<ActionInput &>(*x11) : onFrame;
#endif
        ZoomedInput input(window, frame.getZoom());
        // Tone, idle, audio and picture are refused by readActions: the gallery has no audio
        // and one picture.
        if (!performInputAction(input, a) && a.kind == EditorAction::Param)
            effect.setParameter(a.index, a.value);
        frame.idle();
    }

#ifndef _WIN32
    // A real X11 window instead of the offscreen frame, with input made by the X server (XTest);
    // the frame handles it at its idle, as in a Linux host. False with a message without one.
    bool useX11(std::string &error)
    {
        x11 = createX11EditorWindow(error);
        if (x11)
            x11->resize(kGalleryWidth, kGalleryHeight);
        return x11 != nullptr;
    }
    void *x11Handle() const { return x11 ? x11->parentHandle() : nullptr; }
    bool attachX11() { return x11 && x11->attach(); }
    bool writeX11Picture(const std::string &path) { return x11->writePicture(path, 0); }
#endif

private:
    // The input of the gallery's own frame, sent as its window system would send it.
    class FrameInput : public ActionInput {
    public:
        FrameInput(ControlsWindow &window, CFrame &frame) : window(window), frame(frame) {}
        void press(double x, double y, int buttons) override { window.send(frame, "down", x, y, buttons); }
        void release(double x, double y, int buttons) override { window.send(frame, "up", x, y, buttons); }
        void move(double x, double y, int buttons) override { window.send(frame, "move", x, y, buttons); }
        void wheel(double x, double y, float distance, int buttons) override
        {
            window.send(frame, "wheel", x, y, buttons, distance);
        }
        bool type(const std::string &text) override { return keyboard(frame, true, text); }
        bool key(const std::string &name) override { return keyboard(frame, false, name); }

    private:
        ControlsWindow &window;
        CFrame &frame;
    };

    // typing: the text goes to the open edit box, else the key named by text (enter, tab, escape).
    static bool keyboard(CFrame &frame, bool typing, const std::string &text)
    {
#ifdef _WIN32
        if (typing)
            return typeIntoEditBox(frame.getSystemWindow(), text);
        return pressEditBoxKey(frame.getSystemWindow(), text);
#else
        auto *window = static_cast<OffscreenPlatformFrame *>(frame.getPlatformFrame());
        OffscreenTextEdit *box = window ? window->activeTextEdit() : nullptr;
        if (!box)
            return false;
        if (typing)
            box->type(text);
        else if (text == "enter")
            box->pressReturn();
        else if (text == "tab")
            box->pressTab();
        else
            box->pressEscape();
        return true;
#endif
    }

#ifdef _WIN32
    HWND parent = nullptr;
#else
    std::unique_ptr<HarnessEditorWindow> x11;
#endif
};

bool readActions(const std::vector<std::string> &arguments, std::vector<EditorAction> &actions, std::string &png,
                 bool &x11, double &zoom)
{
    std::string error;
    auto take = [&](const std::string &text) {
        EditorAction action;
        if (!parseEditorAction(text, action, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        if (action.kind == EditorAction::Tone || action.kind == EditorAction::Idle ||
            action.kind == EditorAction::Audio || action.kind == EditorAction::Picture) {
            std::fprintf(stderr, "action \"%s\": only the editor subcommand plays audio and takes pictures\n",
                         text.c_str());
            return false;
        }
        actions.push_back(action);
        return true;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        if (a == "--x11") {
            x11 = true;
            continue;
        }
        if (i + 1 >= arguments.size() || (a != "--do" && a != "--script" && a != "--png" && a != "--zoom")) {
            std::fprintf(stderr, "usage: zem_host controls [--do ACTION]... [--script FILE] [--png OUT.png] [--x11] "
                                 "[--zoom F]\n");
            return false;
        }
        const std::string &value = arguments[++i];
        if (a == "--zoom") {
            CommandOptions options;
            if (!parseCommandOptions({a, value}, options, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return false;
            }
            zoom = options.zoom;
        } else if (a == "--png") {
            png = value;
        } else if (a == "--do") {
            if (!take(value))
                return false;
        } else {
            std::ifstream file(value);
            std::string line;
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", value.c_str());
                return false;
            }
            while (std::getline(file, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!line.empty() && line[0] != '#' && !take(line))
                    return false;
            }
        }
    }
    return true;
}

int runControls(const std::vector<std::string> &arguments)
{
    std::vector<EditorAction> actions;
    std::string png;
    bool x11 = false;
    double zoom = 1.0;
    if (!readActions(arguments, actions, png, x11, zoom))
        return 2;
#ifdef _WIN32
    if (x11) {
        std::fprintf(stderr, "--x11 is for the Linux build\n");
        return 2;
    }
#endif
    notifications.clear();
    bool written = true;
    {
        Templete effect(recordingHost, createTemepleteEditor);
        EffectRouting routing(effect);
        ControlsWindow window;
        void *parent = window.handle();
#ifndef _WIN32
        std::string error;
        if (x11 && !window.useX11(error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        if (x11)
            parent = window.x11Handle();
#endif
        // The editor's frame: a press takes the keyboard focus, so a click commits an open box.
        OwningPointer<MyFrame> frame(new MyFrame(CRect(0, 0, kGalleryWidth, kGalleryHeight), parent, nullptr));
        frame->focusOnClick = true;
        frame->setZoom(zoom);
        if (!frame->isValid()) {
            std::fprintf(stderr, "the frame did not open\n");
            return 1;
        }
        layOut(*frame, routing);
        frame->idle();
#ifndef _WIN32
        if (x11 && !window.attachX11()) {
            std::fprintf(stderr, "the frame has no X11 window\n");
            return 1;
        }
#endif
        for (const EditorAction &action : actions)
            window.perform(*frame, effect, action);
#ifndef _WIN32
        if (x11 && !png.empty()) {
            frame->idle();
            written = window.writeX11Picture(png);
        } else
#endif
            if (!png.empty())
            written = frame->platformWritePicture(png.c_str());
        frame->close();
    }
    for (const std::string &line : notifications)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
        return 1;
    }
    return 0;
}

SubcommandRegistration registration{
    "controls", "controls [--do ACTION]... [--script FILE] [--png OUT.png] [--x11] [--zoom F]", runControls};

}  // namespace
