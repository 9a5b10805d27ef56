// The CLAP 1.2 binary interface, as far as ZEM Ordwen and our test host use it: our own
// declarations of the entry, the plug-in factory, the plug-in and host records, events, event
// lists, processing, streams and the extensions we implement or ask the host for.
//
// The layouts are the compilers' natural ones (no packing), so that they match what every CLAP
// host was built with; the static_asserts at the end pin the sizes and offsets on 32-bit Windows
// and on the 64-bit targets. Every function pointer uses the C calling convention (cdecl on
// 32-bit Windows, written out so that no compiler option can change it). All strings are UTF-8.
#ifndef ZEM_CLAP_INTERFACE_H
#define ZEM_CLAP_INTERFACE_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) || defined(__CYGWIN__)
#define CLAP_ABI __cdecl
#else
#define CLAP_ABI
#endif

#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(_MSC_VER)
#define CLAP_EXPORT __declspec(dllexport)
#else
#define CLAP_EXPORT __attribute__((dllexport))
#endif
#else
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---- basic types -------------------------------------------------------------------------------

typedef uint32_t clap_id;
#define CLAP_INVALID_ID UINT32_MAX

enum { CLAP_NAME_SIZE = 256, CLAP_PATH_SIZE = 1024 };

typedef int64_t clap_beattime;
typedef int64_t clap_sectime;
#define CLAP_BEATTIME_FACTOR ((int64_t)1 << 31)
#define CLAP_SECTIME_FACTOR ((int64_t)1 << 31)

typedef struct clap_version {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
} clap_version_t;

#define CLAP_VERSION_MAJOR 1u
#define CLAP_VERSION_MINOR 2u
#define CLAP_VERSION_REVISION 10u
#define CLAP_VERSION_INIT                                                                                              \
    {                                                                                                                  \
        CLAP_VERSION_MAJOR, CLAP_VERSION_MINOR, CLAP_VERSION_REVISION                                                  \
    }

// Any 1.x talks to any 1.y; 0.x were development versions.
static inline bool clap_version_is_compatible(clap_version_t v) { return v.major >= 1; }

// ---- the descriptor, the host and the plug-in --------------------------------------------------

typedef struct clap_plugin_descriptor {
    clap_version_t clap_version;
    const char *id;      // mandatory, stable: what projects store
    const char *name;    // mandatory
    const char *vendor;  // the rest may be "" (safer than NULL)
    const char *url;
    const char *manual_url;
    const char *support_url;
    const char *version;
    const char *description;
    const char *const *features;  // terminated by NULL; never NULL itself
} clap_plugin_descriptor_t;

#define CLAP_PLUGIN_FEATURE_INSTRUMENT "instrument"
#define CLAP_PLUGIN_FEATURE_AUDIO_EFFECT "audio-effect"
#define CLAP_PLUGIN_FEATURE_NOTE_EFFECT "note-effect"
#define CLAP_PLUGIN_FEATURE_NOTE_DETECTOR "note-detector"
#define CLAP_PLUGIN_FEATURE_ANALYZER "analyzer"
#define CLAP_PLUGIN_FEATURE_UTILITY "utility"
#define CLAP_PLUGIN_FEATURE_MONO "mono"
#define CLAP_PLUGIN_FEATURE_STEREO "stereo"

typedef struct clap_host {
    clap_version_t clap_version;
    void *host_data;  // the host's; never read or written by the plug-in
    const char *name;
    const char *vendor;
    const char *url;
    const char *version;
    // [thread-safe]; only from the plug-in's init on, never inside create_plugin.
    const void *(CLAP_ABI *get_extension)(const struct clap_host *host, const char *extension_id);
    void(CLAP_ABI *request_restart)(const struct clap_host *host);   // [thread-safe]
    void(CLAP_ABI *request_process)(const struct clap_host *host);   // [thread-safe]
    void(CLAP_ABI *request_callback)(const struct clap_host *host);  // [thread-safe]
} clap_host_t;

typedef int32_t clap_process_status;
enum {
    CLAP_PROCESS_ERROR = 0,
    CLAP_PROCESS_CONTINUE = 1,
    CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2,
    CLAP_PROCESS_TAIL = 3,
    CLAP_PROCESS_SLEEP = 4,
};

struct clap_process;

typedef struct clap_plugin {
    const clap_plugin_descriptor_t *desc;
    void *plugin_data;                                          // the plug-in's
    bool(CLAP_ABI *init)(const struct clap_plugin *plugin);     // [main-thread]
    void(CLAP_ABI *destroy)(const struct clap_plugin *plugin);  // [main-thread & !active]
    bool(CLAP_ABI *activate)(const struct clap_plugin *plugin, double sample_rate, uint32_t min_frames_count,
                             uint32_t max_frames_count);                 // [main-thread & !active]
    void(CLAP_ABI *deactivate)(const struct clap_plugin *plugin);        // [main-thread & active]
    bool(CLAP_ABI *start_processing)(const struct clap_plugin *plugin);  // [audio-thread & active & !processing]
    void(CLAP_ABI *stop_processing)(const struct clap_plugin *plugin);   // [audio-thread & active & processing]
    void(CLAP_ABI *reset)(const struct clap_plugin *plugin);             // [audio-thread & active]
    clap_process_status(CLAP_ABI *process)(const struct clap_plugin *plugin,
                                           const struct clap_process *process);  // [audio-thread & processing]
    const void *(CLAP_ABI *get_extension)(const struct clap_plugin *plugin, const char *id);  // [thread-safe]
    void(CLAP_ABI *on_main_thread)(const struct clap_plugin *plugin);                         // [main-thread]
} clap_plugin_t;

// ---- the entry and the plug-in factory ---------------------------------------------------------

typedef struct clap_plugin_entry {
    clap_version_t clap_version;
    bool(CLAP_ABI *init)(const char *plugin_path);  // may come more than once; counted
    void(CLAP_ABI *deinit)(void);
    const void *(CLAP_ABI *get_factory)(const char *factory_id);  // [thread-safe]
} clap_plugin_entry_t;

#define CLAP_PLUGIN_FACTORY_ID "clap.plugin-factory"

typedef struct clap_plugin_factory {
    uint32_t(CLAP_ABI *get_plugin_count)(const struct clap_plugin_factory *factory);
    const clap_plugin_descriptor_t *(CLAP_ABI *get_plugin_descriptor)(const struct clap_plugin_factory *factory,
                                                                      uint32_t index);
    const clap_plugin_t *(CLAP_ABI *create_plugin)(const struct clap_plugin_factory *factory, const clap_host_t *host,
                                                   const char *plugin_id);
} clap_plugin_factory_t;

// ---- events ------------------------------------------------------------------------------------

enum { CLAP_CORE_EVENT_SPACE_ID = 0 };

typedef struct clap_event_header {
    uint32_t size;  // of the whole event, header included
    uint32_t time;  // sample offset in the block
    uint16_t space_id;
    uint16_t type;
    uint32_t flags;
} clap_event_header_t;

enum { CLAP_EVENT_IS_LIVE = 1 << 0, CLAP_EVENT_DONT_RECORD = 1 << 1 };

enum {
    CLAP_EVENT_NOTE_ON = 0,
    CLAP_EVENT_NOTE_OFF = 1,
    CLAP_EVENT_NOTE_CHOKE = 2,
    CLAP_EVENT_NOTE_END = 3,
    CLAP_EVENT_NOTE_EXPRESSION = 4,
    CLAP_EVENT_PARAM_VALUE = 5,
    CLAP_EVENT_PARAM_MOD = 6,
    CLAP_EVENT_PARAM_GESTURE_BEGIN = 7,
    CLAP_EVENT_PARAM_GESTURE_END = 8,
    CLAP_EVENT_TRANSPORT = 9,
    CLAP_EVENT_MIDI = 10,
    CLAP_EVENT_MIDI_SYSEX = 11,
    CLAP_EVENT_MIDI2 = 12,
};

// Note events: only so that a host helper can build one and the plug-in can skip it.
typedef struct clap_event_note {
    clap_event_header_t header;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double velocity;
} clap_event_note_t;

typedef struct clap_event_param_value {
    clap_event_header_t header;
    clap_id param_id;
    void *cookie;     // as given in the parameter's info, or NULL
    int32_t note_id;  // -1 = any
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double value;  // plain, in [min, max]
} clap_event_param_value_t;

typedef struct clap_event_param_mod {
    clap_event_header_t header;
    clap_id param_id;
    void *cookie;
    int32_t note_id;
    int16_t port_index;
    int16_t channel;
    int16_t key;
    double amount;
} clap_event_param_mod_t;

typedef struct clap_event_param_gesture {
    clap_event_header_t header;
    clap_id param_id;
} clap_event_param_gesture_t;

enum {
    CLAP_TRANSPORT_HAS_TEMPO = 1 << 0,
    CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 1 << 1,
    CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 1 << 2,
    CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 1 << 3,
    CLAP_TRANSPORT_IS_PLAYING = 1 << 4,
    CLAP_TRANSPORT_IS_RECORDING = 1 << 5,
    CLAP_TRANSPORT_IS_LOOP_ACTIVE = 1 << 6,
    CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 1 << 7,
};

typedef struct clap_event_transport {
    clap_event_header_t header;
    uint32_t flags;
    clap_beattime song_pos_beats;
    clap_sectime song_pos_seconds;
    double tempo;
    double tempo_inc;
    clap_beattime loop_start_beats;
    clap_beattime loop_end_beats;
    clap_sectime loop_start_seconds;
    clap_sectime loop_end_seconds;
    clap_beattime bar_start;
    int32_t bar_number;
    uint16_t tsig_num;
    uint16_t tsig_denom;
} clap_event_transport_t;

typedef struct clap_input_events {
    void *ctx;  // the host's
    uint32_t(CLAP_ABI *size)(const struct clap_input_events *list);
    const clap_event_header_t *(CLAP_ABI *get)(const struct clap_input_events *list, uint32_t index);
} clap_input_events_t;

typedef struct clap_output_events {
    void *ctx;  // the host's
    // The host copies header.size bytes; false when it could not take the event.
    bool(CLAP_ABI *try_push)(const struct clap_output_events *list, const clap_event_header_t *event);
} clap_output_events_t;

// ---- processing --------------------------------------------------------------------------------

typedef struct clap_audio_buffer {
    float **data32;  // exactly one of data32 / data64 is set
    double **data64;
    uint32_t channel_count;
    uint32_t latency;
    uint64_t constant_mask;
} clap_audio_buffer_t;

typedef struct clap_process {
    int64_t steady_time;  // -1 when not available
    uint32_t frames_count;
    const clap_event_transport_t *transport;  // NULL: free running
    const clap_audio_buffer_t *audio_inputs;
    clap_audio_buffer_t *audio_outputs;
    uint32_t audio_inputs_count;
    uint32_t audio_outputs_count;
    const clap_input_events_t *in_events;
    const clap_output_events_t *out_events;
} clap_process_t;

// ---- streams -----------------------------------------------------------------------------------

typedef struct clap_istream {
    void *ctx;  // the host's
    // Up to size bytes: the count read, 0 at the end, -1 on error.
    int64_t(CLAP_ABI *read)(const struct clap_istream *stream, void *buffer, uint64_t size);
} clap_istream_t;

typedef struct clap_ostream {
    void *ctx;  // the host's
    // Up to size bytes: the count written, -1 on error.
    int64_t(CLAP_ABI *write)(const struct clap_ostream *stream, const void *buffer, uint64_t size);
} clap_ostream_t;

// ---- extension ids -----------------------------------------------------------------------------

#define CLAP_EXT_AUDIO_PORTS "clap.audio-ports"
#define CLAP_EXT_AUDIO_PORTS_CONFIG "clap.audio-ports-config"
#define CLAP_EXT_PARAMS "clap.params"
#define CLAP_EXT_STATE "clap.state"
#define CLAP_EXT_LATENCY "clap.latency"
#define CLAP_EXT_TAIL "clap.tail"
#define CLAP_EXT_GUI "clap.gui"
#define CLAP_EXT_TIMER_SUPPORT "clap.timer-support"
#define CLAP_EXT_POSIX_FD_SUPPORT "clap.posix-fd-support"
#define CLAP_EXT_THREAD_CHECK "clap.thread-check"
#define CLAP_EXT_LOG "clap.log"

// ---- audio-ports -------------------------------------------------------------------------------

#define CLAP_PORT_MONO "mono"
#define CLAP_PORT_STEREO "stereo"

enum {
    CLAP_AUDIO_PORT_IS_MAIN = 1 << 0,
    CLAP_AUDIO_PORT_SUPPORTS_64BITS = 1 << 1,
    CLAP_AUDIO_PORT_PREFERS_64BITS = 1 << 2,
    CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 1 << 3,
};

enum {
    CLAP_AUDIO_PORTS_RESCAN_NAMES = 1 << 0,
    CLAP_AUDIO_PORTS_RESCAN_FLAGS = 1 << 1,
    CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 1 << 2,
    CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 1 << 3,
    CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 1 << 4,
    CLAP_AUDIO_PORTS_RESCAN_LIST = 1 << 5,
};

typedef struct clap_audio_port_info {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t flags;
    uint32_t channel_count;
    const char *port_type;  // a literal: the host keeps the pointer
    clap_id in_place_pair;
} clap_audio_port_info_t;

typedef struct clap_plugin_audio_ports {
    uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin, bool is_input);  // [main-thread]
    bool(CLAP_ABI *get)(const clap_plugin_t *plugin, uint32_t index, bool is_input,
                        clap_audio_port_info_t *info);  // [main-thread]
} clap_plugin_audio_ports_t;

typedef struct clap_host_audio_ports {
    bool(CLAP_ABI *is_rescan_flag_supported)(const clap_host_t *host, uint32_t flag);  // [main-thread]
    void(CLAP_ABI *rescan)(const clap_host_t *host, uint32_t flags);                   // [main-thread]
} clap_host_audio_ports_t;

// ---- audio-ports-config ------------------------------------------------------------------------

typedef struct clap_audio_ports_config {
    clap_id id;
    char name[CLAP_NAME_SIZE];
    uint32_t input_port_count;
    uint32_t output_port_count;
    bool has_main_input;
    uint32_t main_input_channel_count;
    const char *main_input_port_type;
    bool has_main_output;
    uint32_t main_output_channel_count;
    const char *main_output_port_type;
} clap_audio_ports_config_t;

typedef struct clap_plugin_audio_ports_config {
    uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin);  // [main-thread]
    bool(CLAP_ABI *get)(const clap_plugin_t *plugin, uint32_t index,
                        clap_audio_ports_config_t *config);                  // [main-thread]
    bool(CLAP_ABI *select)(const clap_plugin_t *plugin, clap_id config_id);  // [main-thread & !active]
} clap_plugin_audio_ports_config_t;

typedef struct clap_host_audio_ports_config {
    void(CLAP_ABI *rescan)(const clap_host_t *host);  // [main-thread]
} clap_host_audio_ports_config_t;

// ---- params ------------------------------------------------------------------------------------

enum {
    CLAP_PARAM_IS_STEPPED = 1 << 0,
    CLAP_PARAM_IS_PERIODIC = 1 << 1,
    CLAP_PARAM_IS_HIDDEN = 1 << 2,
    CLAP_PARAM_IS_READONLY = 1 << 3,
    CLAP_PARAM_IS_BYPASS = 1 << 4,
    CLAP_PARAM_IS_AUTOMATABLE = 1 << 5,
    CLAP_PARAM_IS_AUTOMATABLE_PER_NOTE_ID = 1 << 6,
    CLAP_PARAM_IS_AUTOMATABLE_PER_KEY = 1 << 7,
    CLAP_PARAM_IS_AUTOMATABLE_PER_CHANNEL = 1 << 8,
    CLAP_PARAM_IS_AUTOMATABLE_PER_PORT = 1 << 9,
    CLAP_PARAM_IS_MODULATABLE = 1 << 10,
    CLAP_PARAM_IS_MODULATABLE_PER_NOTE_ID = 1 << 11,
    CLAP_PARAM_IS_MODULATABLE_PER_KEY = 1 << 12,
    CLAP_PARAM_IS_MODULATABLE_PER_CHANNEL = 1 << 13,
    CLAP_PARAM_IS_MODULATABLE_PER_PORT = 1 << 14,
    CLAP_PARAM_REQUIRES_PROCESS = 1 << 15,
    CLAP_PARAM_IS_ENUM = 1 << 16,
};
typedef uint32_t clap_param_info_flags;

enum {
    CLAP_PARAM_RESCAN_VALUES = 1 << 0,
    CLAP_PARAM_RESCAN_TEXT = 1 << 1,
    CLAP_PARAM_RESCAN_INFO = 1 << 2,
    CLAP_PARAM_RESCAN_ALL = 1 << 3,  // only while inactive
};
typedef uint32_t clap_param_rescan_flags;

enum {
    CLAP_PARAM_CLEAR_ALL = 1 << 0,
    CLAP_PARAM_CLEAR_AUTOMATIONS = 1 << 1,
    CLAP_PARAM_CLEAR_MODULATIONS = 1 << 2,
};
typedef uint32_t clap_param_clear_flags;

typedef struct clap_param_info {
    clap_id id;  // stable across versions
    clap_param_info_flags flags;
    void *cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double min_value;  // plain values, not normalised
    double max_value;
    double default_value;
} clap_param_info_t;

typedef struct clap_plugin_params {
    uint32_t(CLAP_ABI *count)(const clap_plugin_t *plugin);  // [main-thread]
    bool(CLAP_ABI *get_info)(const clap_plugin_t *plugin, uint32_t param_index,
                             clap_param_info_t *info);                                            // [main-thread]
    bool(CLAP_ABI *get_value)(const clap_plugin_t *plugin, clap_id param_id, double *out_value);  // [main-thread]
    bool(CLAP_ABI *value_to_text)(const clap_plugin_t *plugin, clap_id param_id, double value, char *out_buffer,
                                  uint32_t out_buffer_capacity);  // [main-thread]
    bool(CLAP_ABI *text_to_value)(const clap_plugin_t *plugin, clap_id param_id, const char *param_value_text,
                                  double *out_value);  // [main-thread]
    // [active ? audio-thread : main-thread]; never beside process. Either list may be NULL.
    void(CLAP_ABI *flush)(const clap_plugin_t *plugin, const clap_input_events_t *in, const clap_output_events_t *out);
} clap_plugin_params_t;

typedef struct clap_host_params {
    void(CLAP_ABI *rescan)(const clap_host_t *host, clap_param_rescan_flags flags);  // [main-thread]
    void(CLAP_ABI *clear)(const clap_host_t *host, clap_id param_id,
                          clap_param_clear_flags flags);     // [main-thread]
    void(CLAP_ABI *request_flush)(const clap_host_t *host);  // [thread-safe, !audio-thread]
} clap_host_params_t;

// ---- state -------------------------------------------------------------------------------------

typedef struct clap_plugin_state {
    bool(CLAP_ABI *save)(const clap_plugin_t *plugin, const clap_ostream_t *stream);  // [main-thread]
    bool(CLAP_ABI *load)(const clap_plugin_t *plugin, const clap_istream_t *stream);  // [main-thread]
} clap_plugin_state_t;

typedef struct clap_host_state {
    void(CLAP_ABI *mark_dirty)(const clap_host_t *host);  // [main-thread]
} clap_host_state_t;

// ---- latency and tail --------------------------------------------------------------------------

typedef struct clap_plugin_latency {
    uint32_t(CLAP_ABI *get)(const clap_plugin_t *plugin);  // [main-thread & (being-activated | active)]
} clap_plugin_latency_t;

typedef struct clap_host_latency {
    void(CLAP_ABI *changed)(const clap_host_t *host);  // [main-thread & being-activated]
} clap_host_latency_t;

typedef struct clap_plugin_tail {
    uint32_t(CLAP_ABI *get)(const clap_plugin_t *plugin);  // [main-thread, audio-thread]; >= INT32_MAX: infinite
} clap_plugin_tail_t;

typedef struct clap_host_tail {
    void(CLAP_ABI *changed)(const clap_host_t *host);  // [audio-thread]
} clap_host_tail_t;

// ---- gui ---------------------------------------------------------------------------------------

#define CLAP_WINDOW_API_WIN32 "win32"
#define CLAP_WINDOW_API_COCOA "cocoa"
#define CLAP_WINDOW_API_X11 "x11"
#define CLAP_WINDOW_API_WAYLAND "wayland"

typedef void *clap_hwnd;
typedef void *clap_nsview;
typedef unsigned long clap_xwnd;  // an XID: an integer, not a pointer

typedef struct clap_window {
    const char *api;
    union {
        clap_nsview cocoa;
        void *uikit;
        clap_xwnd x11;
        clap_hwnd win32;
        void *ptr;
    };
} clap_window_t;

typedef struct clap_gui_resize_hints {
    bool can_resize_horizontally;
    bool can_resize_vertically;
    bool preserve_aspect_ratio;
    uint32_t aspect_ratio_width;
    uint32_t aspect_ratio_height;
} clap_gui_resize_hints_t;

// Every function [main-thread]; can_resize .. set_parent only embedded, set_transient and
// suggest_title only floating.
typedef struct clap_plugin_gui {
    bool(CLAP_ABI *is_api_supported)(const clap_plugin_t *plugin, const char *api, bool is_floating);
    bool(CLAP_ABI *get_preferred_api)(const clap_plugin_t *plugin, const char **api, bool *is_floating);
    bool(CLAP_ABI *create)(const clap_plugin_t *plugin, const char *api, bool is_floating);
    void(CLAP_ABI *destroy)(const clap_plugin_t *plugin);
    bool(CLAP_ABI *set_scale)(const clap_plugin_t *plugin, double scale);
    bool(CLAP_ABI *get_size)(const clap_plugin_t *plugin, uint32_t *width, uint32_t *height);
    bool(CLAP_ABI *can_resize)(const clap_plugin_t *plugin);
    bool(CLAP_ABI *get_resize_hints)(const clap_plugin_t *plugin, clap_gui_resize_hints_t *hints);
    bool(CLAP_ABI *adjust_size)(const clap_plugin_t *plugin, uint32_t *width, uint32_t *height);
    bool(CLAP_ABI *set_size)(const clap_plugin_t *plugin, uint32_t width, uint32_t height);
    bool(CLAP_ABI *set_parent)(const clap_plugin_t *plugin, const clap_window_t *window);
    bool(CLAP_ABI *set_transient)(const clap_plugin_t *plugin, const clap_window_t *window);
    void(CLAP_ABI *suggest_title)(const clap_plugin_t *plugin, const char *title);
    bool(CLAP_ABI *show)(const clap_plugin_t *plugin);
    bool(CLAP_ABI *hide)(const clap_plugin_t *plugin);
} clap_plugin_gui_t;

typedef struct clap_host_gui {
    void(CLAP_ABI *resize_hints_changed)(const clap_host_t *host);  // [thread-safe & !floating]
    bool(CLAP_ABI *request_resize)(const clap_host_t *host, uint32_t width,
                                   uint32_t height);                      // [thread-safe & !floating]
    bool(CLAP_ABI *request_show)(const clap_host_t *host);                // [thread-safe]
    bool(CLAP_ABI *request_hide)(const clap_host_t *host);                // [thread-safe]
    void(CLAP_ABI *closed)(const clap_host_t *host, bool was_destroyed);  // [thread-safe]
} clap_host_gui_t;

// ---- timer-support and posix-fd-support --------------------------------------------------------

typedef struct clap_plugin_timer_support {
    void(CLAP_ABI *on_timer)(const clap_plugin_t *plugin, clap_id timer_id);  // [main-thread]
} clap_plugin_timer_support_t;

typedef struct clap_host_timer_support {
    bool(CLAP_ABI *register_timer)(const clap_host_t *host, uint32_t period_ms,
                                   clap_id *timer_id);                            // [main-thread]
    bool(CLAP_ABI *unregister_timer)(const clap_host_t *host, clap_id timer_id);  // [main-thread]
} clap_host_timer_support_t;

enum { CLAP_POSIX_FD_READ = 1 << 0, CLAP_POSIX_FD_WRITE = 1 << 1, CLAP_POSIX_FD_ERROR = 1 << 2 };
typedef uint32_t clap_posix_fd_flags_t;

typedef struct clap_plugin_posix_fd_support {
    void(CLAP_ABI *on_fd)(const clap_plugin_t *plugin, int fd, clap_posix_fd_flags_t flags);  // [main-thread]
} clap_plugin_posix_fd_support_t;

typedef struct clap_host_posix_fd_support {
    bool(CLAP_ABI *register_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);  // [main-thread]
    bool(CLAP_ABI *modify_fd)(const clap_host_t *host, int fd, clap_posix_fd_flags_t flags);    // [main-thread]
    bool(CLAP_ABI *unregister_fd)(const clap_host_t *host, int fd);                             // [main-thread]
} clap_host_posix_fd_support_t;

// ---- thread-check and log (host side only) -----------------------------------------------------

typedef struct clap_host_thread_check {
    bool(CLAP_ABI *is_main_thread)(const clap_host_t *host);   // [thread-safe]
    bool(CLAP_ABI *is_audio_thread)(const clap_host_t *host);  // [thread-safe]
} clap_host_thread_check_t;

typedef int32_t clap_log_severity;
enum {
    CLAP_LOG_DEBUG = 0,
    CLAP_LOG_INFO = 1,
    CLAP_LOG_WARNING = 2,
    CLAP_LOG_ERROR = 3,
    CLAP_LOG_FATAL = 4,
    CLAP_LOG_HOST_MISBEHAVING = 5,
    CLAP_LOG_PLUGIN_MISBEHAVING = 6,
};

typedef struct clap_host_log {
    void(CLAP_ABI *log)(const clap_host_t *host, clap_log_severity severity, const char *msg);  // [thread-safe]
} clap_host_log_t;

#ifdef __cplusplus
}  // extern "C"
#endif

// ---- the layouts every host was built with -----------------------------------------------------

#ifdef __cplusplus
#define CLAP_LAYOUT(cond) static_assert(cond, #cond)
#else
#define CLAP_LAYOUT(cond) _Static_assert(cond, #cond)
#endif

// Pointer-size independent.
CLAP_LAYOUT(sizeof(clap_version_t) == 12);
CLAP_LAYOUT(sizeof(clap_event_header_t) == 16);
CLAP_LAYOUT(offsetof(clap_event_header_t, time) == 4 && offsetof(clap_event_header_t, space_id) == 8);
CLAP_LAYOUT(offsetof(clap_event_header_t, type) == 10 && offsetof(clap_event_header_t, flags) == 12);
CLAP_LAYOUT(sizeof(clap_event_param_gesture_t) == 20);
CLAP_LAYOUT(sizeof(clap_gui_resize_hints_t) == 12 && offsetof(clap_gui_resize_hints_t, aspect_ratio_width) == 4);

#if defined(_WIN32) && !defined(_WIN64)
// 32-bit Windows: 4-byte pointers, 8-byte alignment of double and 64-bit integers.
CLAP_LAYOUT(sizeof(clap_plugin_entry_t) == 24 && offsetof(clap_plugin_entry_t, init) == 12);
CLAP_LAYOUT(offsetof(clap_plugin_entry_t, get_factory) == 20);
CLAP_LAYOUT(sizeof(clap_plugin_factory_t) == 12);
CLAP_LAYOUT(sizeof(clap_plugin_descriptor_t) == 48 && offsetof(clap_plugin_descriptor_t, id) == 12);
CLAP_LAYOUT(offsetof(clap_plugin_descriptor_t, version) == 36 && offsetof(clap_plugin_descriptor_t, features) == 44);
CLAP_LAYOUT(sizeof(clap_host_t) == 48 && offsetof(clap_host_t, host_data) == 12);
CLAP_LAYOUT(offsetof(clap_host_t, get_extension) == 32 && offsetof(clap_host_t, request_callback) == 44);
CLAP_LAYOUT(sizeof(clap_plugin_t) == 48 && offsetof(clap_plugin_t, init) == 8);
CLAP_LAYOUT(offsetof(clap_plugin_t, process) == 36 && offsetof(clap_plugin_t, on_main_thread) == 44);
CLAP_LAYOUT(sizeof(clap_process_t) == 40 && offsetof(clap_process_t, frames_count) == 8);
CLAP_LAYOUT(offsetof(clap_process_t, transport) == 12 && offsetof(clap_process_t, audio_inputs_count) == 24);
CLAP_LAYOUT(offsetof(clap_process_t, in_events) == 32 && offsetof(clap_process_t, out_events) == 36);
CLAP_LAYOUT(sizeof(clap_audio_buffer_t) == 24 && offsetof(clap_audio_buffer_t, channel_count) == 8);
CLAP_LAYOUT(offsetof(clap_audio_buffer_t, constant_mask) == 16);
CLAP_LAYOUT(sizeof(clap_input_events_t) == 12 && sizeof(clap_output_events_t) == 8);
CLAP_LAYOUT(sizeof(clap_event_param_value_t) == 48 && offsetof(clap_event_param_value_t, cookie) == 20);
CLAP_LAYOUT(offsetof(clap_event_param_value_t, note_id) == 24 && offsetof(clap_event_param_value_t, key) == 32);
CLAP_LAYOUT(offsetof(clap_event_param_value_t, value) == 40 && sizeof(clap_event_param_mod_t) == 48);
CLAP_LAYOUT(sizeof(clap_event_note_t) == 40 && offsetof(clap_event_note_t, velocity) == 32);
CLAP_LAYOUT(sizeof(clap_istream_t) == 8 && sizeof(clap_ostream_t) == 8);
CLAP_LAYOUT(sizeof(clap_audio_port_info_t) == 276 && offsetof(clap_audio_port_info_t, port_type) == 268);
CLAP_LAYOUT(offsetof(clap_audio_port_info_t, in_place_pair) == 272);
CLAP_LAYOUT(sizeof(clap_audio_ports_config_t) == 292 &&
            offsetof(clap_audio_ports_config_t, main_input_port_type) == 276);
CLAP_LAYOUT(offsetof(clap_audio_ports_config_t, has_main_output) == 280);
CLAP_LAYOUT(offsetof(clap_audio_ports_config_t, main_output_port_type) == 288);
CLAP_LAYOUT(sizeof(clap_param_info_t) == 1320 && offsetof(clap_param_info_t, name) == 12);
CLAP_LAYOUT(offsetof(clap_param_info_t, module) == 268 && offsetof(clap_param_info_t, min_value) == 1296);
CLAP_LAYOUT(offsetof(clap_param_info_t, default_value) == 1312);
CLAP_LAYOUT(sizeof(clap_plugin_params_t) == 24 && sizeof(clap_host_params_t) == 12);
CLAP_LAYOUT(sizeof(clap_plugin_audio_ports_t) == 8 && sizeof(clap_plugin_audio_ports_config_t) == 12);
CLAP_LAYOUT(sizeof(clap_plugin_gui_t) == 60 && offsetof(clap_plugin_gui_t, set_parent) == 40);
CLAP_LAYOUT(sizeof(clap_host_gui_t) == 20 && sizeof(clap_window_t) == 8);
CLAP_LAYOUT(sizeof(clap_host_timer_support_t) == 8 && sizeof(clap_host_posix_fd_support_t) == 12);
CLAP_LAYOUT(sizeof(clap_event_transport_t) == 104 && offsetof(clap_event_transport_t, tsig_denom) == 102);
#elif UINTPTR_MAX == UINT64_MAX
// x86-64 Linux and Windows, aarch64 Linux.
CLAP_LAYOUT(sizeof(clap_plugin_entry_t) == 40 && offsetof(clap_plugin_entry_t, init) == 16);
CLAP_LAYOUT(offsetof(clap_plugin_entry_t, get_factory) == 32);
CLAP_LAYOUT(sizeof(clap_plugin_factory_t) == 24);
CLAP_LAYOUT(sizeof(clap_plugin_descriptor_t) == 88 && offsetof(clap_plugin_descriptor_t, id) == 16);
CLAP_LAYOUT(offsetof(clap_plugin_descriptor_t, version) == 64 && offsetof(clap_plugin_descriptor_t, features) == 80);
CLAP_LAYOUT(sizeof(clap_host_t) == 88 && offsetof(clap_host_t, host_data) == 16);
CLAP_LAYOUT(offsetof(clap_host_t, get_extension) == 56 && offsetof(clap_host_t, request_callback) == 80);
CLAP_LAYOUT(sizeof(clap_plugin_t) == 96 && offsetof(clap_plugin_t, init) == 16);
CLAP_LAYOUT(offsetof(clap_plugin_t, process) == 72 && offsetof(clap_plugin_t, on_main_thread) == 88);
CLAP_LAYOUT(sizeof(clap_process_t) == 64 && offsetof(clap_process_t, frames_count) == 8);
CLAP_LAYOUT(offsetof(clap_process_t, transport) == 16 && offsetof(clap_process_t, audio_inputs_count) == 40);
CLAP_LAYOUT(offsetof(clap_process_t, in_events) == 48 && offsetof(clap_process_t, out_events) == 56);
CLAP_LAYOUT(sizeof(clap_audio_buffer_t) == 32 && offsetof(clap_audio_buffer_t, channel_count) == 16);
CLAP_LAYOUT(offsetof(clap_audio_buffer_t, constant_mask) == 24);
CLAP_LAYOUT(sizeof(clap_input_events_t) == 24 && sizeof(clap_output_events_t) == 16);
CLAP_LAYOUT(sizeof(clap_event_param_value_t) == 56 && offsetof(clap_event_param_value_t, cookie) == 24);
CLAP_LAYOUT(offsetof(clap_event_param_value_t, note_id) == 32 && offsetof(clap_event_param_value_t, key) == 40);
CLAP_LAYOUT(offsetof(clap_event_param_value_t, value) == 48 && sizeof(clap_event_param_mod_t) == 56);
CLAP_LAYOUT(sizeof(clap_event_note_t) == 40 && offsetof(clap_event_note_t, velocity) == 32);
CLAP_LAYOUT(sizeof(clap_istream_t) == 16 && sizeof(clap_ostream_t) == 16);
CLAP_LAYOUT(sizeof(clap_audio_port_info_t) == 288 && offsetof(clap_audio_port_info_t, port_type) == 272);
CLAP_LAYOUT(offsetof(clap_audio_port_info_t, in_place_pair) == 280);
CLAP_LAYOUT(sizeof(clap_audio_ports_config_t) == 304 &&
            offsetof(clap_audio_ports_config_t, main_input_port_type) == 280);
CLAP_LAYOUT(offsetof(clap_audio_ports_config_t, has_main_output) == 288);
CLAP_LAYOUT(offsetof(clap_audio_ports_config_t, main_output_port_type) == 296);
CLAP_LAYOUT(sizeof(clap_param_info_t) == 1320 && offsetof(clap_param_info_t, name) == 16);
CLAP_LAYOUT(offsetof(clap_param_info_t, module) == 272 && offsetof(clap_param_info_t, min_value) == 1296);
CLAP_LAYOUT(offsetof(clap_param_info_t, default_value) == 1312);
CLAP_LAYOUT(sizeof(clap_plugin_params_t) == 48 && sizeof(clap_host_params_t) == 24);
CLAP_LAYOUT(sizeof(clap_plugin_audio_ports_t) == 16 && sizeof(clap_plugin_audio_ports_config_t) == 24);
CLAP_LAYOUT(sizeof(clap_plugin_gui_t) == 120 && offsetof(clap_plugin_gui_t, set_parent) == 80);
CLAP_LAYOUT(sizeof(clap_host_gui_t) == 40 && sizeof(clap_window_t) == 16);
CLAP_LAYOUT(sizeof(clap_host_timer_support_t) == 16 && sizeof(clap_host_posix_fd_support_t) == 24);
CLAP_LAYOUT(sizeof(clap_event_transport_t) == 104 && offsetof(clap_event_transport_t, tsig_denom) == 102);
#endif

#undef CLAP_LAYOUT

#endif  // ZEM_CLAP_INTERFACE_H
