#include "clap_instance.h"

#include <algorithm>
#include <cstring>

namespace {

// The host's input list: parameter value events, read by index.
struct InputList {
    clap_input_events_t list{};
    std::vector<clap_event_param_value_t> events;

    InputList(const std::vector<ClapParamChange> &changes, const std::vector<clap_param_info_t> &info)
    {
        list.ctx = this;
        list.size = size;
        list.get = get;
        events.reserve(changes.size());
        for (const ClapParamChange &c : changes) {
            clap_event_param_value_t e{};
            e.header.size = sizeof e;
            e.header.time = c.time;
            e.header.space_id = c.spaceId;
            e.header.type = CLAP_EVENT_PARAM_VALUE;
            e.header.flags = 0;
            e.param_id = c.id;
            e.cookie = nullptr;
            if (c.withCookie)
                for (const clap_param_info_t &i : info)
                    if (i.id == c.id)
                        e.cookie = i.cookie;
            e.note_id = -1;
            e.port_index = -1;
            e.channel = -1;
            e.key = -1;
            e.value = c.value;
            events.push_back(e);
        }
    }
    static uint32_t CLAP_ABI size(const clap_input_events_t *l)
    {
        return (uint32_t) static_cast<const InputList *>(l->ctx)->events.size();
    }
    static const clap_event_header_t *CLAP_ABI get(const clap_input_events_t *l, uint32_t index)
    {
        auto *self = static_cast<const InputList *>(l->ctx);
        return index < self->events.size() ? &self->events[index].header : nullptr;
    }
};

// The host's output list: copies what the plug-in pushes.
struct OutputList {
    clap_output_events_t list{};
    std::vector<ClapOutputEvent> &sink;

    explicit OutputList(std::vector<ClapOutputEvent> &sink) : sink(sink)
    {
        list.ctx = this;
        list.try_push = tryPush;
    }
    static bool CLAP_ABI tryPush(const clap_output_events_t *l, const clap_event_header_t *header)
    {
        if (!header)
            return false;
        auto *self = static_cast<OutputList *>(l->ctx);
        ClapOutputEvent e;
        e.type = header->space_id == CLAP_CORE_EVENT_SPACE_ID ? header->type : 0xFFFF;
        e.time = header->time;
        e.size = header->size;
        e.flags = header->flags;
        if (e.type == CLAP_EVENT_PARAM_VALUE && header->size >= sizeof(clap_event_param_value_t)) {
            auto *value = reinterpret_cast<const clap_event_param_value_t *>(header);
            e.id = value->param_id;
            e.value = value->value;
        } else if ((e.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || e.type == CLAP_EVENT_PARAM_GESTURE_END) &&
                   header->size >= sizeof(clap_event_param_gesture_t)) {
            e.id = reinterpret_cast<const clap_event_param_gesture_t *>(header)->param_id;
        }
        self->sink.push_back(e);
        return true;
    }
};

// Streams that move at most piece bytes per call.
struct WriteStream {
    clap_ostream_t stream{};
    std::vector<uint8_t> &bytes;
    size_t piece;
    WriteStream(std::vector<uint8_t> &bytes, size_t piece) : bytes(bytes), piece(piece)
    {
        stream.ctx = this;
        stream.write = write;
    }
    static int64_t CLAP_ABI write(const clap_ostream_t *s, const void *buffer, uint64_t size)
    {
        auto *self = static_cast<WriteStream *>(s->ctx);
        if (!buffer)
            return -1;
        const size_t n = (size_t)std::min<uint64_t>(size, self->piece);
        const auto *from = static_cast<const uint8_t *>(buffer);
        self->bytes.insert(self->bytes.end(), from, from + n);
        return (int64_t)n;
    }
};
struct ReadStream {
    clap_istream_t stream{};
    const std::vector<uint8_t> &bytes;
    size_t piece, at = 0;
    ReadStream(const std::vector<uint8_t> &bytes, size_t piece) : bytes(bytes), piece(piece)
    {
        stream.ctx = this;
        stream.read = read;
    }
    static int64_t CLAP_ABI read(const clap_istream_t *s, void *buffer, uint64_t size)
    {
        auto *self = static_cast<ReadStream *>(s->ctx);
        if (!buffer)
            return -1;
        const size_t n = (size_t)std::min<uint64_t>(
            {size, (uint64_t)self->piece, (uint64_t)(self->bytes.size() - self->at)});
        if (n)
            std::memcpy(buffer, self->bytes.data() + self->at, n);
        self->at += n;
        return (int64_t)n;
    }
};

}  // namespace

std::string describeOutputEvent(const ClapOutputEvent &event)
{
    char line[96];
    switch (event.type) {
    case CLAP_EVENT_PARAM_VALUE:
        std::snprintf(line, sizeof line, "value %u %.9g", (unsigned)event.id, event.value);
        break;
    case CLAP_EVENT_PARAM_GESTURE_BEGIN:
        std::snprintf(line, sizeof line, "begin %u", (unsigned)event.id);
        break;
    case CLAP_EVENT_PARAM_GESTURE_END:
        std::snprintf(line, sizeof line, "end %u", (unsigned)event.id);
        break;
    default:
        std::snprintf(line, sizeof line, "event %u", (unsigned)event.type);
    }
    return line;
}

ClapInstance::ClapInstance(ClapLibrary &library, ClapHost &host, const char *id) : owner(host)
{
    if (!library.ready() || library.descriptors().empty())
        return;
    if (!id) {
        const clap_plugin_descriptor_t *first = library.descriptors()[0];
        if (!first)
            return;
        id = first->id;
    }
    const clap_plugin_factory_t *factory = library.factory();
    instance = factory->create_plugin(factory, host.record(), id);
    if (!instance)
        return;
    host.attach(instance);
    initialised = instance->init(instance);
    if (initialised)
        infoCache = parameters();
}

ClapInstance::~ClapInstance()
{
    if (!instance)
        return;
    if (isProcessing)
        stopProcessing();
    if (isActive)
        deactivate();
    instance->destroy(instance);
    owner.attach(nullptr);
}

bool ClapInstance::activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames)
{
    if (!initialised || isActive)
        return false;
    isActive = instance->activate(instance, sampleRate, minFrames, maxFrames);
    return isActive;
}

void ClapInstance::deactivate()
{
    if (!isActive)
        return;
    instance->deactivate(instance);
    isActive = false;
}

bool ClapInstance::startProcessing()
{
    if (!isActive || isProcessing)
        return false;
    AudioThreadScope audio;
    isProcessing = instance->start_processing(instance);
    return isProcessing;
}

void ClapInstance::stopProcessing()
{
    if (!isProcessing)
        return;
    AudioThreadScope audio;
    instance->stop_processing(instance);
    isProcessing = false;
}

void ClapInstance::reset()
{
    AudioThreadScope audio;
    instance->reset(instance);
}

clap_process_status ClapInstance::process(float *const *inputs, float *const *outputs, uint32_t frames,
                                          const std::vector<ClapParamChange> &events, int64_t steadyTime)
{
    InputList in(events, infoCache);
    OutputList out(sent);
    clap_audio_buffer_t input{}, output{};
    input.data32 = const_cast<float **>(inputs);
    input.channel_count = 2;
    output.data32 = const_cast<float **>(outputs);
    output.channel_count = 2;
    clap_process_t block{};
    block.steady_time = steadyTime;
    block.frames_count = frames;
    block.transport = nullptr;
    block.audio_inputs = &input;
    block.audio_outputs = &output;
    block.audio_inputs_count = 1;
    block.audio_outputs_count = 1;
    block.in_events = &in.list;
    block.out_events = &out.list;
    AudioThreadScope audio;
    return instance->process(instance, &block);
}

void ClapInstance::flush(const std::vector<ClapParamChange> &events, bool withOutputList)
{
    const clap_plugin_params_t *p = params();
    if (!p || !p->flush)
        return;
    InputList in(events, infoCache);
    OutputList out(sent);
    // While active, flush belongs to the audio thread.
    if (isActive) {
        AudioThreadScope audio;
        p->flush(instance, &in.list, withOutputList ? &out.list : nullptr);
    } else {
        p->flush(instance, &in.list, withOutputList ? &out.list : nullptr);
    }
}

std::vector<clap_param_info_t> ClapInstance::parameters() const
{
    std::vector<clap_param_info_t> all;
    const clap_plugin_params_t *p = params();
    if (!p)
        return all;
    const uint32_t count = p->count(instance);
    for (uint32_t i = 0; i < count; ++i) {
        clap_param_info_t info{};
        if (p->get_info(instance, i, &info))
            all.push_back(info);
    }
    return all;
}

bool ClapInstance::value(clap_id id, double &out) const
{
    const clap_plugin_params_t *p = params();
    return p && p->get_value(instance, id, &out);
}

bool ClapInstance::text(clap_id id, double value, std::string &out, uint32_t capacity) const
{
    const clap_plugin_params_t *p = params();
    std::vector<char> buffer(capacity + 1, '\x7f');  // one guard byte past the capacity
    if (!p || !p->value_to_text(instance, id, value, buffer.data(), capacity))
        return false;
    if (buffer[capacity] != '\x7f' || std::memchr(buffer.data(), 0, capacity) == nullptr)
        return false;  // wrote past the buffer or left it unterminated
    out = buffer.data();
    return true;
}

bool ClapInstance::fromText(clap_id id, const std::string &text, double &out) const
{
    const clap_plugin_params_t *p = params();
    return p && p->text_to_value(instance, id, text.c_str(), &out);
}

bool ClapInstance::save(std::vector<uint8_t> &bytes, size_t piece) const
{
    const clap_plugin_state_t *s = state();
    bytes.clear();
    WriteStream stream(bytes, piece);
    return s && s->save(instance, &stream.stream);
}

bool ClapInstance::load(const std::vector<uint8_t> &bytes, size_t piece) const
{
    const clap_plugin_state_t *s = state();
    ReadStream stream(bytes, piece);
    return s && s->load(instance, &stream.stream);
}
