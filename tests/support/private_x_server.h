// An X display of a test's own: a private Xvfb, so that what a test counts on the server
// (clients, windows) is its own. POSIX only.
#pragma once

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>

extern char **environ;

// An X display of this test's own: a private Xvfb that reports its display number on a pipe.
// The benchmarks use it too (bench/editor_cost), with a screen of their size.
class PrivateXServer {
public:
    // screen: Xvfb's WIDTHxHEIGHTxDEPTH of screen 0.
    explicit PrivateXServer(const char *screen = "640x480x24")
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        // -terminate: the server ends with its last client, even if this process dies.
        const char *argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-terminate", "-nolisten",
                              "tcp",  "-screen",    "0",        screen,       nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&server, "Xvfb", &actions, nullptr, const_cast<char **>(argv), environ) != 0)
            server = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its number and a newline, and gives up if the pipe closes between.
        std::string number;
        char c = 0;
        while (server && number.size() < 16 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            name = ":" + number;
        // The server answers once it has written its number; give a busy machine a few tries.
        for (int attempt = 0; attempt < 50 && !display && !name.empty(); ++attempt) {
            display = XOpenDisplay(name.c_str());
            if (!display)
                usleep(100000);
        }
    }
    ~PrivateXServer()
    {
        if (display && lost)
            closeLostDisplay();
        else if (display)
            XCloseDisplay(display);
        if (server > 0) {
            ::kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }
    // Ends the server at once, as a crash or the end of the session does, and returns once it
    // has gone. Makes no Xlib call: any thread may end it.
    void kill()
    {
        if (server <= 0)
            return;
        ::kill(server, SIGKILL);
        waitpid(server, nullptr, 0);
        server = 0;
        lost = true;
    }
    // Stops the server: its clients wait for answers until it goes on or is killed.
    void stop()
    {
        if (server > 0)
            ::kill(server, SIGSTOP);
    }
    // The server's process (0 when it did not start or was killed), e.g. to read its CPU time.
    pid_t pid() const { return server; }
    Display *display = nullptr;
    std::string name;  // ":N"

private:
    // The test's own connection went with the server. Closed as a host that outlives its
    // server closes one: with handlers that return, put back afterwards.
    void closeLostDisplay()
    {
        XIOErrorHandler hosts = XSetIOErrorHandler([](Display *) { return 0; });
        XSetIOErrorExitHandler(
            display, [](Display *, void *) {}, nullptr);
        XCloseDisplay(display);
        XSetIOErrorHandler(hosts);
    }

    pid_t server = 0;
    bool lost = false;
};

// Points DISPLAY at a display while it lives, as the session a host runs in would.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::string &name)
    {
        if (const char *old = getenv("DISPLAY"))
            saved = old, hadOne = true;
        setenv("DISPLAY", name.c_str(), 1);
    }
    ~DisplayVariable()
    {
        if (hadOne)
            setenv("DISPLAY", saved.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }

private:
    std::string saved;
    bool hadOne = false;
};

// A Linux host's own X11 window, mapped, whose id the host hands to effEditOpen by value in the
// pointer argument. It goes with its display (a test's private server).
class X11HostWindow {
public:
    // overrideRedirect: a window no window manager decorates or moves, raised at once.
    X11HostWindow(Display *display, int x, int y, int width, int height, bool overrideRedirect = false)
        : display(display)
    {
        if (overrideRedirect) {
            XSetWindowAttributes attributes{};
            attributes.override_redirect = True;
            window = XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                                   InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
            XMapRaised(display, window);
        } else {
            window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, width, height, 0, 0, 0);
            XMapWindow(display, window);
        }
        XSync(display, False);
    }
    void *handle() const { return reinterpret_cast<void *>(static_cast<uintptr_t>(window)); }
    // The windows on it (the editor's, while open); first: the first of them, 0 when none.
    unsigned int children(Window *first = nullptr) const
    {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &parent, &list, &count);
        if (first)
            *first = count ? list[0] : 0;
        if (list)
            XFree(list);
        return count;
    }

    Display *display;
    Window window = 0;
};
