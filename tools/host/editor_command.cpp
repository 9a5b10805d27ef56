// zem_host editor <plugin> [--idle N] [--do ACTION]... [--script FILE] [--png OUT.png]
//                          [--pictures DIR] [--param I=V]... [--chunk FILE] [--block N] [--zoom F]
// Opens the editor into a parent window (Windows: a window of this program, win32_editor_window.cpp;
// Linux: an offscreen parent, or with --x11 a real X11 window on $DISPLAY with input through XTest), runs N idle
// calls (default 10) while a 1 kHz tone at -6 dBFS is fed block by block,
// applies the actions in order with a block and an idle after each, writes a picture of the
// frame, and prints every host notification the plug-in sent, one per line, with the pictures
// the script took in their place among them:
//   size 586x221 / automate 6 1 / begin 83 / end 83 / picture vu-front
// Actions on Windows are real window messages to the frame's window (keys to its edit box).
// The picture action writes DIR/NAME.png (--pictures, default the current folder).
// With --zoom the host announces the factor before the open; the script's positions stay the
// editor's own (100 %) ones and reach the window multiplied by it, and sizes are printed divided
// by it, so that a script gives the same log at every factor.
#include "editor_command.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>  // the pointer moved out of a zoomed window's way
#endif

#include "command_options.h"
#include "editor_window.h"
#include "subcommands.h"
#include "test_signals.h"
#include "ui/offscreen_parent.h"
#include "ui/view.h"
#include "vst/aeff_editor.h"

using namespace VSTGUI;

namespace {

bool parsePoint(const std::string &text, double &x, double &y)
{
    char comma = 0;
    std::istringstream in(text);
    return (in >> x >> comma >> y) && comma == ',' && in.peek() == EOF;
}

}  // namespace

bool parseEditorAction(const std::string &text, EditorAction &action, std::string &error)
{
    std::istringstream in(text);
    std::string verb, word;
    in >> verb;
    action = EditorAction();
    auto bad = [&](const char *why) {
        error = "action \"" + text + "\": " + why;
        return false;
    };
    if (verb == "param") {
        char equals = 0;
        action.kind = EditorAction::Param;
        if (!(in >> action.index >> equals >> action.value) || equals != '=')
            return bad("expected param INDEX=VALUE");
        return true;
    }
    if (verb == "type") {
        action.kind = EditorAction::Type;
        std::getline(in, action.text);
        if (!action.text.empty() && action.text[0] == ' ')
            action.text.erase(0, 1);
        if (action.text.empty())
            return bad("expected type TEXT");
        return true;
    }
    if (verb == "tone") {
        action.kind = EditorAction::Tone;
        if (!(in >> word))
            return bad("expected tone DBFS or tone off");
        if (word == "off") {
            action.silent = true;
        } else {
            std::istringstream level(word);
            if (!(level >> action.value) || level.peek() != EOF || !std::isfinite(action.value) || action.value > 6)
                return bad("expected a peak level in dBFS, at most +6");
        }
        if (in >> word)
            return bad("expected tone DBFS or tone off");
        return true;
    }
    if (verb == "idle" || verb == "audio") {
        action.kind = verb == "idle" ? EditorAction::Idle : EditorAction::Audio;
        if (!(in >> action.index) || action.index < 1 || action.index > 100000 || (in >> word))
            return bad("expected a number of blocks, 1..100000");
        return true;
    }
    if (verb == "picture") {
        // The name becomes a file name in the picture folder: letters, digits, - and _ only.
        action.kind = EditorAction::Picture;
        if (!(in >> action.text) ||
            action.text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_") !=
                std::string::npos)
            return bad("expected picture NAME [LABEL], the name of letters, digits, - and _");
        return true;
    }
    if (verb == "key") {
        action.kind = EditorAction::Key;
        if (!(in >> action.text) || (action.text != "enter" && action.text != "tab" && action.text != "escape") ||
            (in >> word))
            return bad("expected key enter|tab|escape");
        return true;
    }
    if (verb != "click" && verb != "drag" && verb != "wheel")
        return bad("unknown action");
    if (!(in >> word) || !parsePoint(word, action.x1, action.y1))
        return bad("expected X,Y");
    if (verb == "drag") {
        action.kind = EditorAction::Drag;
        if (!(in >> word) || !parsePoint(word, action.x2, action.y2))
            return bad("expected X2,Y2");
    } else if (verb == "wheel") {
        action.kind = EditorAction::Wheel;
        if (!(in >> action.distance))
            return bad("expected a wheel distance");
    }
    while (in >> word) {
        if (word == "shift")
            action.buttons |= kShift;
        else if (word == "ctrl" && verb == "click")
            action.buttons |= kControl;
        else if (word == "double" && verb == "click")
            action.buttons |= kDoubleClick;
        else if (word == "right" && verb == "click")
            action.buttons |= kRButton;
        else
            return bad("unknown modifier");
    }
    if (action.kind != EditorAction::Wheel && !(action.buttons & kRButton))
        action.buttons |= kLButton;
    return true;
}

bool performInputAction(ActionInput &input, const EditorAction &a)
{
    switch (a.kind) {
    case EditorAction::Click:
        input.move(a.x1, a.y1, 0);
        input.press(a.x1, a.y1, a.buttons);
        input.release(a.x1, a.y1, a.buttons & ~kDoubleClick);
        return true;
    case EditorAction::Drag: {
        input.move(a.x1, a.y1, 0);
        input.press(a.x1, a.y1, a.buttons);
        const int steps = 10;
        for (int i = 1; i <= steps; ++i)
            input.move(a.x1 + (a.x2 - a.x1) * i / steps, a.y1 + (a.y2 - a.y1) * i / steps, a.buttons);
        input.release(a.x2, a.y2, a.buttons);
        return true;
    }
    case EditorAction::Wheel:
        input.wheel(a.x1, a.y1, a.distance, a.buttons);
        return true;
    case EditorAction::Type:
        if (!input.type(a.text))
            std::fprintf(stderr, "no edit box is open for: type %s\n", a.text.c_str());
        return true;
    case EditorAction::Key:
        if (!input.key(a.text))
            std::fprintf(stderr, "no edit box is open for: key %s\n", a.text.c_str());
        return true;
    default:
        return false;
    }
}

namespace {

#ifndef _WIN32
// A parent of this program's own, as the offscreen frame's record.
class EditorWindow : public HarnessEditorWindow {
public:
    void *parentHandle() override;
    bool attach() override;
    void press(double x, double y, int buttons) override;
    void release(double x, double y, int buttons) override;
    void move(double x, double y, int buttons) override;
    void wheel(double x, double y, float distance, int buttons) override;
    bool type(const std::string &text) override;
    bool key(const std::string &name) override;
    bool writePicture(const std::string &path, uint32_t cookie) override;

private:
    OffscreenParent parent;
};

void *EditorWindow::parentHandle() { return &parent; }
bool EditorWindow::attach() { return parent.frame != nullptr; }
void EditorWindow::press(double x, double y, int buttons) { parent.mouseDown(parent.frame, x, y, buttons); }
void EditorWindow::release(double x, double y, int buttons) { parent.mouseUp(parent.frame, x, y, buttons); }
void EditorWindow::move(double x, double y, int buttons) { parent.mouseMoved(parent.frame, x, y, buttons); }
void EditorWindow::wheel(double x, double y, float distance, int buttons)
{
    parent.mouseMoved(parent.frame, x, y, buttons & (kShift | kControl | kAlt));
    parent.wheel(parent.frame, x, y, distance, buttons);
}
bool EditorWindow::type(const std::string &text)
{
    return parent.typeText && parent.textInput && parent.typeText(parent.textInput, text.c_str()) == 1;
}
bool EditorWindow::key(const std::string &name)
{
    int key = name == "enter" ? kOffscreenKeyEnter : name == "tab" ? kOffscreenKeyTab : kOffscreenKeyEscape;
    return parent.pressKey && parent.textInput && parent.pressKey(parent.textInput, key) == 1;
}
bool EditorWindow::writePicture(const std::string &path, uint32_t)
{
    return parent.writePicture(parent.frame, path.c_str()) == 1;
}
#endif

// Feeds one block of the tone, then lets the editor idle.
class EditorSession {
public:
    EditorSession(PluginHost &host, PluginInstance &plugin, HarnessEditorWindow &window, size_t blockSize,
                  std::string pictureFolder, double zoom)
        : host(host), plugin(plugin), window(window), input(window, zoom), pictureFolder(std::move(pictureFolder)),
          in(blockSize), out0(blockSize), out1(blockSize)
    {
    }
    // A picture taken by the script: its name and how many host notifications came before it.
    struct Picture {
        std::string name;
        size_t eventsBefore;
    };
    const std::vector<Picture> &pictures() const { return taken; }
    bool picturesWritten() const { return allWritten; }
    // The host's part of a size-window request: its window takes the size asked for.
    void answerSizeRequests()
    {
        const std::vector<HostEvent> events = host.events();
        for (; seenEvents < events.size(); ++seenEvents)
            if (events[seenEvents].opcode == audioMasterSizeWindow)
                window.resize((int)events[seenEvents].index, (int)events[seenEvents].value);
    }
    void step()
    {
        feedBlock();
        plugin.dispatch(effEditIdle);
        window.pump();
        answerSizeRequests();
    }
    void feedBlock()
    {
        // The phase in whole samples of the 441-sample period of 1 kHz at 44.1 kHz, and the sine
        // and level computed with plain arithmetic: every build feeds the same samples.
        for (float &s : in) {
            s = (float)(amplitude * sineOfTurns((double)(sample * 1000 % 44100) / 44100.0));
            sample = (sample + 1) % 441;
        }
        float *inputs[2] = {in.data(), in.data()};
        float *outputs[2] = {out0.data(), out1.data()};
        plugin.processReplacing(inputs, outputs, (VstInt32)in.size());
    }
    void perform(const EditorAction &a)
    {
        if (performInputAction(input, a)) {
            step();
            return;
        }
        switch (a.kind) {
        case EditorAction::Param:
            plugin.setParameter(a.index, a.value);
            break;
        case EditorAction::Tone:
            amplitude = a.silent ? 0.0 : amplitudeOfDecibels(a.value);
            break;
        case EditorAction::Idle:
            // The first block of the count is the one every action ends with.
            for (int i = 1; i < a.index; ++i)
                step();
            break;
        case EditorAction::Audio:
            for (int i = 1; i < a.index; ++i)
                feedBlock();
            break;
        case EditorAction::Picture: {
            // Taken as the frame stands, before any further block or idle.
            taken.push_back({a.text, host.events().size()});
            const std::string path = (pictureFolder.empty() ? std::string() : pictureFolder + "/") + a.text + ".png";
            if (!window.writePicture(path, host.parentCookie())) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                allWritten = false;
            }
            return;
        }
        case EditorAction::Click:
        case EditorAction::Drag:
        case EditorAction::Wheel:
        case EditorAction::Type:
        case EditorAction::Key:
            break;  // performed above
        }
        step();
    }

private:
    PluginHost &host;
    PluginInstance &plugin;
    HarnessEditorWindow &window;
    ZoomedInput input;
    std::string pictureFolder;
    size_t seenEvents = 0;
    std::vector<float> in, out0, out1;
    long sample = 0;
    double amplitude = amplitudeOfDecibels(-6.0);
    std::vector<Picture> taken;
    bool allWritten = true;
};

void printEvents(const std::vector<HostEvent> &events, const std::vector<EditorSession::Picture> &pictures, double zoom)
{
    size_t nextPicture = 0;
    for (size_t k = 0; k <= events.size(); ++k) {
        for (; nextPicture < pictures.size() && pictures[nextPicture].eventsBefore == k; ++nextPicture)
            std::printf("picture %s\n", pictures[nextPicture].name.c_str());
        if (k == events.size())
            break;
        const HostEvent &e = events[k];
        switch (e.opcode) {
        case audioMasterSizeWindow:
            std::printf("size %ldx%ld\n", std::lround((double)e.index / zoom), std::lround((double)e.value / zoom));
            break;
        case audioMasterAutomate:
            std::printf("automate %d %g\n", (int)e.index, (double)e.opt);
            break;
        case audioMasterBeginEdit:
            std::printf("begin %d\n", (int)e.index);
            break;
        case audioMasterEndEdit:
            std::printf("end %d\n", (int)e.index);
            break;
        default:
            std::printf("opcode %d %d\n", (int)e.opcode, (int)e.index);
        }
    }
}

int runEditor(const std::vector<std::string> &arguments)
{
    const char *usage =
        "usage: zem_host editor <plugin> [--idle N] [--do ACTION]... [--script FILE] "
        "[--png OUT.png] [--pictures DIR] [--x11] [--param I=V]... [--chunk FILE] [--block N] [--zoom F]\n";
    std::vector<std::string> rest;
    std::vector<EditorAction> actions;
    std::string png, pictureFolder, error;
    long idles = 10;
    [[maybe_unused]] bool x11 = false;  // Linux only
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &a = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if ((a == "--idle" || a == "--do" || a == "--script" || a == "--png" || a == "--pictures") && !hasValue) {
            std::fprintf(stderr, "%s needs a value\n%s", a.c_str(), usage);
            return 2;
        }
        if (a == "--x11") {
#ifdef _WIN32
            std::fprintf(stderr, "--x11 is for the Linux build\n");
            return 2;
#else
            x11 = true;
#endif
        } else if (a == "--idle") {
            idles = std::strtol(arguments[++i].c_str(), nullptr, 10);
        } else if (a == "--png") {
            png = arguments[++i];
        } else if (a == "--pictures") {
            pictureFolder = arguments[++i];
        } else if (a == "--do") {
            EditorAction action;
            if (!parseEditorAction(arguments[++i], action, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 2;
            }
            actions.push_back(action);
        } else if (a == "--script") {
            std::ifstream file(arguments[++i]);
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", arguments[i].c_str());
                return 1;
            }
            std::string line;
            while (std::getline(file, line)) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (line.empty() || line[0] == '#')
                    continue;
                EditorAction action;
                if (!parseEditorAction(line, action, error)) {
                    std::fprintf(stderr, "%s\n", error.c_str());
                    return 2;
                }
                actions.push_back(action);
            }
        } else {
            rest.push_back(a);
        }
    }
    CommandOptions options;
    if (!parseCommandOptions(rest, options, error) || options.positional.size() != 1 || idles < 0) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), usage);
        return 2;
    }
    PluginHost host(options.positional[0]);
    PluginInstance plugin(host);
    if (!plugin.valid()) {
        std::fprintf(stderr, "cannot load %s: %s\n", options.positional[0].c_str(), host.error().c_str());
        return 1;
    }
    if (!applyCommandOptions(options, plugin, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin.start(44100.f, (VstInt32)options.blockSize);
    host.clearEvents();

    std::unique_ptr<HarnessEditorWindow> ownWindow;
#ifndef _WIN32
    if (x11) {
        ownWindow = createX11EditorWindow(error);
        if (!ownWindow) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
#endif
    if (!ownWindow)
#ifdef _WIN32
        ownWindow = createWin32EditorWindow();
#else
        ownWindow = std::make_unique<EditorWindow>();
#endif
    HarnessEditorWindow &window = *ownWindow;
    if (window.vouched())
        host.vouchForParent(window.parentHandle());
#ifdef _WIN32
    // The zoomed window may grow over the screen's real pointer, and Windows then reports the
    // pointer to it as a move: the pointer goes to the screen's far corner, so that the script's
    // input is the only input.
    if (options.zoom != 1.0)
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
#endif
    if (options.zoom != 1.0 &&
        plugin.dispatch(effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, (float)options.zoom) != 1) {
        std::fprintf(stderr, "the plug-in refused the zoom %g\n", options.zoom);
        return 1;
    }
    if (plugin.dispatch(effEditOpen, 0, 0, window.parentHandle()) == 0 || !window.attach()) {
        std::fprintf(stderr, "the editor did not open\n");
        return 1;
    }
    // A zoomed editor is larger than the window made for it: the window takes the editor's
    // rectangle, as a host sizes its window after the open.
    ERect *opened = nullptr;
    if (options.zoom != 1.0 && plugin.dispatch(effEditGetRect, 0, 0, &opened) && opened)
        window.resize(opened->right - opened->left, opened->bottom - opened->top);
    EditorSession session(host, plugin, window, options.blockSize, pictureFolder, options.zoom);
    session.answerSizeRequests();
    for (long i = 0; i < idles; ++i)
        session.step();
    for (const EditorAction &action : actions)
        session.perform(action);
    bool pictureWritten = png.empty() || window.writePicture(png, host.parentCookie());
    plugin.dispatch(effEditClose);
    if (window.vouched())
        host.withdrawParent(window.parentHandle());
    printEvents(host.events(), session.pictures(), options.zoom);
    if (!pictureWritten)
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
    return pictureWritten && session.picturesWritten() ? 0 : 1;
}

SubcommandRegistration registration{
    "editor",
    "editor <plugin> [--idle N] [--do ACTION]... [--script FILE] [--png OUT.png] [--pictures DIR] [--x11] [--zoom F]",
    runEditor};

}  // namespace
