// The VST 3 binary interface, as far as ZEM Ordwen and our test host use it: our own declarations
// of the basic types, the result codes, the interface identifiers, the structs and the interfaces
// (C++ abstract classes, pure virtual methods only, no virtual destructor, each method in its
// vtable slot order, base class first).
//
// Every method and GetPluginFactory use VST3_API: __stdcall on Windows (on 32-bit Windows gcc's
// default for member functions is thiscall, which would crash at the first call), the platform
// default elsewhere. Implementation classes must put VST3_API on their overrides too.
//
// The structs have the compilers' natural layout (the packing the hosts were built with gives
// exactly that on our three targets); the static_asserts at the end pin the sizes and offsets on
// 32-bit Windows and on the 64-bit targets. Strings in char16_t arrays are UTF-16, NUL-terminated,
// at most 127 code units in a 128-unit array.
#ifndef ZEM_VST3_INTERFACE_H
#define ZEM_VST3_INTERFACE_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define VST3_API __stdcall
#else
#define VST3_API
#endif

#if defined(_WIN32)
#define VST3_EXPORT __declspec(dllexport)
#else
#define VST3_EXPORT __attribute__((visibility("default")))
#endif

namespace vst3 {

// ---- basic types -------------------------------------------------------------------------------

typedef int32_t tresult;
typedef char TUID[16];   // 16 raw bytes, in the platform's byte order (see Uid below)
typedef char16_t TChar;  // one UTF-16 code unit
typedef TChar String128[128];
typedef uint32_t ParamID;
typedef double ParamValue;  // normalised, 0 to 1
typedef double SampleRate;
typedef int64_t TSamples;
typedef uint64_t SpeakerArrangement;
typedef int32_t MediaType;
typedef int32_t BusDirection;
typedef int32_t BusType;
typedef int32_t IoMode;
typedef int32_t UnitID;
typedef uint8_t TBool;  // 0 false, anything else true
typedef int32_t UCoord;

// ---- result codes: the COM values on Windows, small numbers elsewhere -----------------------------
// Success is 0; never test a tresult as a boolean.

constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = 0;
constexpr tresult kResultFalse = 1;
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// ---- identifiers ---------------------------------------------------------------------------------
// An identifier is written as four 32-bit words. Windows lays them out as a GUID (the first word
// little-endian, the two halves of the second little-endian each, the last two words big-endian);
// the other platforms write all four words big-endian. One set of words per id, the bytes derived
// per platform, so that every build has the same ids.

struct Uid {
    char bytes[16];

    const char *data() const { return bytes; }
    bool operator==(const Uid &other) const { return std::memcmp(bytes, other.bytes, 16) == 0; }
    bool matches(const char *raw) const { return raw != nullptr && std::memcmp(bytes, raw, 16) == 0; }
};

constexpr char uidByte(uint32_t word, int shift) { return static_cast<char>((word >> shift) & 0xFFu); }

constexpr Uid makeUid(uint32_t l1, uint32_t l2, uint32_t l3, uint32_t l4)
{
#if defined(_WIN32)
    return Uid{{uidByte(l1, 0), uidByte(l1, 8), uidByte(l1, 16), uidByte(l1, 24), uidByte(l2, 16), uidByte(l2, 24),
                uidByte(l2, 0), uidByte(l2, 8), uidByte(l3, 24), uidByte(l3, 16), uidByte(l3, 8), uidByte(l3, 0),
                uidByte(l4, 24), uidByte(l4, 16), uidByte(l4, 8), uidByte(l4, 0)}};
#else
    return Uid{{uidByte(l1, 24), uidByte(l1, 16), uidByte(l1, 8), uidByte(l1, 0), uidByte(l2, 24), uidByte(l2, 16),
                uidByte(l2, 8), uidByte(l2, 0), uidByte(l3, 24), uidByte(l3, 16), uidByte(l3, 8), uidByte(l3, 0),
                uidByte(l4, 24), uidByte(l4, 16), uidByte(l4, 8), uidByte(l4, 0)}};
#endif
}

// ---- constants -----------------------------------------------------------------------------------

enum MediaTypes : int32_t { kAudio = 0, kEvent = 1 };
enum BusDirections : int32_t { kInput = 0, kOutput = 1 };
enum BusTypes : int32_t { kMain = 0, kAux = 1 };
enum BusFlags : uint32_t { kDefaultActive = 1, kIsControlVoltage = 2 };
enum IoModes : int32_t { kSimple = 0, kAdvanced = 1, kOfflineProcessing = 2 };
enum ProcessModes : int32_t { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
enum SymbolicSampleSizes : int32_t { kSample32 = 0, kSample64 = 1 };

constexpr uint32_t kNoTail = 0;
constexpr uint32_t kInfiniteTail = 0xFFFFFFFFu;

constexpr SpeakerArrangement kSpeakerL = 1u << 0;
constexpr SpeakerArrangement kSpeakerR = 1u << 1;
constexpr SpeakerArrangement kSpeakerC = 1u << 2;
constexpr SpeakerArrangement kSpeakerM = 1u << 19;
constexpr SpeakerArrangement kArrangementEmpty = 0;
constexpr SpeakerArrangement kArrangementMono = kSpeakerM;  // 0x80000, not the centre speaker
constexpr SpeakerArrangement kArrangementStereo = kSpeakerL | kSpeakerR;

constexpr int32_t kManyInstances = 0x7FFFFFFF;  // the class-info cardinality every host expects

enum FactoryFlags : int32_t {
    kNoFactoryFlags = 0,
    kClassesDiscardable = 1,
    kLicenseCheck = 2,
    kComponentNonDiscardable = 8,
    kUnicode = 16
};

enum ComponentFlags : uint32_t { kDistributable = 1, kSimpleModeSupported = 2 };

enum ParameterFlags : int32_t {
    kNoParameterFlags = 0,
    kCanAutomate = 1,
    kIsReadOnly = 2,
    kIsWrapAround = 4,
    kIsList = 8,
    kIsHidden = 16,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16
};

constexpr ParamID kNoParamId = 0xFFFFFFFFu;
constexpr UnitID kRootUnitId = 0;

enum RestartFlags : int32_t {
    kReloadComponent = 1,
    kIoChanged = 2,
    kParamValuesChanged = 4,
    kLatencyChanged = 8,
    kParamTitlesChanged = 16,
    kMidiCCAssignmentChanged = 32,
    kNoteExpressionChanged = 64,
    kIoTitlesChanged = 128,
    kPrefetchableSupportChanged = 256,
    kRoutingInfoChanged = 512,
    kKeyswitchChanged = 1024,
    kParamIDMappingChanged = 2048
};

enum SeekModes : int32_t { kIBSeekSet = 0, kIBSeekCur = 1, kIBSeekEnd = 2 };

enum KnobModes : int32_t { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

enum ProcessContextStates : uint32_t {
    kPlaying = 2,
    kCycleActive = 4,
    kRecording = 8,
    kSystemTimeValid = 256,
    kProjectTimeMusicValid = 512,
    kTempoValid = 1024,
    kBarPositionValid = 2048,
    kCycleValid = 4096,
    kTimeSigValid = 8192,
    kSmpteValid = 16384,
    kClockValid = 32768,
    kContTimeValid = 131072,
    kChordValid = 262144
};

// The strings hosts compare exactly.
constexpr const char *kAudioEffectClass = "Audio Module Class";
constexpr const char *kComponentControllerClass = "Component Controller Class";
constexpr const char *kEditorViewType = "editor";
constexpr const char *kPlatformTypeHWND = "HWND";
constexpr const char *kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";
constexpr const char *kSdkVersionString = "VST 3.7.14";

// ---- structs -------------------------------------------------------------------------------------

struct PFactoryInfo {
    char vendor[64];
    char url[256];
    char email[128];
    int32_t flags;  // FactoryFlags
};

struct PClassInfo {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
};

struct PClassInfo2 {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char name[64];
    uint32_t classFlags;      // ComponentFlags
    char subCategories[128];  // items joined by '|', "Fx|Analyzer"
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};

struct PClassInfoW {
    TUID cid;
    int32_t cardinality;
    char category[32];
    char16_t name[64];
    uint32_t classFlags;
    char subCategories[128];
    char16_t vendor[64];
    char16_t version[64];
    char16_t sdkVersion[64];
};

struct BusInfo {
    MediaType mediaType;
    BusDirection direction;
    int32_t channelCount;  // channels of the current arrangement
    String128 name;        // never empty
    BusType busType;
    uint32_t flags;  // BusFlags
};

struct RoutingInfo {
    MediaType mediaType;
    int32_t busIndex;
    int32_t channel;  // -1: all channels
};

struct ProcessSetup {
    int32_t processMode;         // ProcessModes
    int32_t symbolicSampleSize;  // SymbolicSampleSizes
    int32_t maxSamplesPerBlock;
    SampleRate sampleRate;
};

struct AudioBusBuffers {
    int32_t numChannels;    // 0 in a parameter flush
    uint64_t silenceFlags;  // bit c set: channel c is all zero
    union {
        float **channelBuffers32;
        double **channelBuffers64;
    };
};

struct Chord {
    uint8_t keyNote;
    uint8_t rootNote;
    int16_t chordMask;
};

struct FrameRate {
    uint32_t framesPerSecond;
    uint32_t flags;
};

struct ProcessContext {
    uint32_t state;  // ProcessContextStates
    double sampleRate;
    TSamples projectTimeSamples;
    int64_t systemTime;  // nanoseconds
    TSamples continousTimeSamples;
    double projectTimeMusic;
    double barPositionMusic;
    double cycleStartMusic;
    double cycleEndMusic;
    double tempo;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    Chord chord;
    int32_t smpteOffsetSubframes;
    FrameRate frameRate;
    int32_t samplesToNextClock;
};

class IParameterChanges;
class IEventList;
struct Event;  // not needed by an effect without event buses: only passed through as a pointer

struct ProcessData {
    int32_t processMode;
    int32_t symbolicSampleSize;
    int32_t numSamples;  // may be 0: a parameter flush
    int32_t numInputs;
    int32_t numOutputs;
    AudioBusBuffers *inputs;
    AudioBusBuffers *outputs;
    IParameterChanges *inputParameterChanges;   // may be null
    IParameterChanges *outputParameterChanges;  // may be null
    IEventList *inputEvents;                    // may be null
    IEventList *outputEvents;                   // may be null
    ProcessContext *processContext;             // may be null
};

struct ParameterInfo {
    ParamID id;       // 0 to 0x7FFFFFFF, stable forever
    String128 title;  // never empty
    String128 shortTitle;
    String128 units;
    int32_t stepCount;  // 0 continuous, n: n + 1 states
    ParamValue defaultNormalizedValue;
    UnitID unitId;  // kRootUnitId without IUnitInfo
    int32_t flags;  // ParameterFlags
};

struct ViewRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// ---- interfaces ----------------------------------------------------------------------------------
// Each class names its identifier as `iid`. Comments give the thread a method is called on where it
// is not the UI thread.

class FUnknown {
public:
    virtual tresult VST3_API queryInterface(const TUID interfaceId, void **obj) = 0;
    virtual uint32_t VST3_API addRef() = 0;
    virtual uint32_t VST3_API release() = 0;
    static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
};

class IPluginBase : public FUnknown {
public:
    virtual tresult VST3_API initialize(FUnknown *context) = 0;
    virtual tresult VST3_API terminate() = 0;
    static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
};

class IPluginFactory : public FUnknown {
public:
    virtual tresult VST3_API getFactoryInfo(PFactoryInfo *info) = 0;
    virtual int32_t VST3_API countClasses() = 0;
    virtual tresult VST3_API getClassInfo(int32_t index, PClassInfo *info) = 0;
    virtual tresult VST3_API createInstance(const char *cid, const char *interfaceId, void **obj) = 0;
    static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
};

class IPluginFactory2 : public IPluginFactory {
public:
    virtual tresult VST3_API getClassInfo2(int32_t index, PClassInfo2 *info) = 0;
    static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    virtual tresult VST3_API getClassInfoUnicode(int32_t index, PClassInfoW *info) = 0;
    virtual tresult VST3_API setHostContext(FUnknown *context) = 0;
    static constexpr Uid iid = makeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
};

// Implemented by the host. Reads and writes may move fewer bytes than asked.
class IBStream : public FUnknown {
public:
    virtual tresult VST3_API read(void *buffer, int32_t numBytes, int32_t *numBytesRead) = 0;
    virtual tresult VST3_API write(void *buffer, int32_t numBytes, int32_t *numBytesWritten) = 0;
    virtual tresult VST3_API seek(int64_t pos, int32_t mode, int64_t *result) = 0;
    virtual tresult VST3_API tell(int64_t *pos) = 0;
    static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
};

class ISizeableStream : public FUnknown {
public:
    virtual tresult VST3_API getStreamSize(int64_t &size) = 0;
    virtual tresult VST3_API setStreamSize(int64_t size) = 0;
    static constexpr Uid iid = makeUid(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);
};

// Implemented by the host: the context handed to initialize.
class IHostApplication : public FUnknown {
public:
    virtual tresult VST3_API getName(char16_t name[128]) = 0;
    virtual tresult VST3_API createInstance(char cid[16], char interfaceId[16], void **obj) = 0;
    static constexpr Uid iid = makeUid(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
};

class IPlugInterfaceSupport : public FUnknown {
public:
    virtual tresult VST3_API isPlugInterfaceSupported(const TUID interfaceId) = 0;
    static constexpr Uid iid = makeUid(0x4FB58B9E, 0x9EAA4E0F, 0xAB361C1C, 0xCCB56FEA);
};

class IComponent : public IPluginBase {
public:
    virtual tresult VST3_API getControllerClassId(TUID classId) = 0;
    virtual tresult VST3_API setIoMode(IoMode mode) = 0;
    virtual int32_t VST3_API getBusCount(MediaType type, BusDirection dir) = 0;
    virtual tresult VST3_API getBusInfo(MediaType type, BusDirection dir, int32_t index, BusInfo &bus) = 0;
    virtual tresult VST3_API getRoutingInfo(RoutingInfo &inInfo, RoutingInfo &outInfo) = 0;
    virtual tresult VST3_API activateBus(MediaType type, BusDirection dir, int32_t index, TBool state) = 0;
    virtual tresult VST3_API setActive(TBool state) = 0;
    virtual tresult VST3_API setState(IBStream *state) = 0;
    virtual tresult VST3_API getState(IBStream *state) = 0;
    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
};

class IAudioProcessor : public FUnknown {
public:
    virtual tresult VST3_API setBusArrangements(SpeakerArrangement *inputs, int32_t numIns, SpeakerArrangement *outputs,
                                                int32_t numOuts) = 0;
    virtual tresult VST3_API getBusArrangement(BusDirection dir, int32_t index, SpeakerArrangement &arr) = 0;
    virtual tresult VST3_API canProcessSampleSize(int32_t symbolicSampleSize) = 0;
    virtual uint32_t VST3_API getLatencySamples() = 0;
    virtual tresult VST3_API setupProcessing(ProcessSetup &setup) = 0;
    virtual tresult VST3_API setProcessing(TBool state) = 0;  // UI or processing thread
    virtual tresult VST3_API process(ProcessData &data) = 0;  // processing thread
    virtual uint32_t VST3_API getTailSamples() = 0;
    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
};

class IProcessContextRequirements : public FUnknown {
public:
    virtual uint32_t VST3_API getProcessContextRequirements() = 0;
    static constexpr Uid iid = makeUid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
};

class IAudioPresentationLatency : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x309ECE78, 0xEB7D4FAE, 0x8B2225D9, 0x09FD08B6);
};

// Implemented by the host: the changes of one parameter in one block.
class IParamValueQueue : public FUnknown {
public:
    virtual ParamID VST3_API getParameterId() = 0;
    virtual int32_t VST3_API getPointCount() = 0;
    virtual tresult VST3_API getPoint(int32_t index, int32_t &sampleOffset, ParamValue &value) = 0;
    virtual tresult VST3_API addPoint(int32_t sampleOffset, ParamValue value, int32_t &index) = 0;
    static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
};

// Implemented by the host. getParameterData returns a borrowed pointer (not to be released).
class IParameterChanges : public FUnknown {
public:
    virtual int32_t VST3_API getParameterCount() = 0;
    virtual IParamValueQueue *VST3_API getParameterData(int32_t index) = 0;
    virtual IParamValueQueue *VST3_API addParameterData(const ParamID &id, int32_t &index) = 0;
    static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
};

class IEventList : public FUnknown {
public:
    virtual int32_t VST3_API getEventCount() = 0;
    virtual tresult VST3_API getEvent(int32_t index, Event &e) = 0;
    virtual tresult VST3_API addEvent(Event &e) = 0;
    static constexpr Uid iid = makeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
};

// Implemented by the host; called by the plug-in on the UI thread only.
class IComponentHandler : public FUnknown {
public:
    virtual tresult VST3_API beginEdit(ParamID id) = 0;
    virtual tresult VST3_API performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult VST3_API endEdit(ParamID id) = 0;
    virtual tresult VST3_API restartComponent(int32_t flags) = 0;
    static constexpr Uid iid = makeUid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
};

class IComponentHandler2 : public FUnknown {
public:
    virtual tresult VST3_API setDirty(TBool state) = 0;
    virtual tresult VST3_API requestOpenEditor(const char *name) = 0;
    virtual tresult VST3_API startGroupEdit() = 0;
    virtual tresult VST3_API finishGroupEdit() = 0;
    static constexpr Uid iid = makeUid(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);
};

class IPlugView;

class IEditController : public IPluginBase {
public:
    virtual tresult VST3_API setComponentState(IBStream *state) = 0;
    virtual tresult VST3_API setState(IBStream *state) = 0;
    virtual tresult VST3_API getState(IBStream *state) = 0;
    virtual int32_t VST3_API getParameterCount() = 0;
    virtual tresult VST3_API getParameterInfo(int32_t paramIndex, ParameterInfo &info) = 0;
    virtual tresult VST3_API getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
    virtual tresult VST3_API getParamValueByString(ParamID id, TChar *string, ParamValue &valueNormalized) = 0;
    virtual ParamValue VST3_API normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue VST3_API plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue VST3_API getParamNormalized(ParamID id) = 0;
    virtual tresult VST3_API setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult VST3_API setComponentHandler(IComponentHandler *handler) = 0;
    virtual IPlugView *VST3_API createView(const char *name) = 0;
    static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
};

class IEditController2 : public FUnknown {
public:
    virtual tresult VST3_API setKnobMode(int32_t mode) = 0;
    virtual tresult VST3_API openHelp(TBool onlyCheck) = 0;
    virtual tresult VST3_API openAboutBox(TBool onlyCheck) = 0;
    static constexpr Uid iid = makeUid(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);
};

class IAttributeList : public FUnknown {
public:
    virtual tresult VST3_API setInt(const char *id, int64_t value) = 0;
    virtual tresult VST3_API getInt(const char *id, int64_t &value) = 0;
    virtual tresult VST3_API setFloat(const char *id, double value) = 0;
    virtual tresult VST3_API getFloat(const char *id, double &value) = 0;
    virtual tresult VST3_API setString(const char *id, const TChar *string) = 0;
    virtual tresult VST3_API getString(const char *id, TChar *string, uint32_t sizeInBytes) = 0;
    virtual tresult VST3_API setBinary(const char *id, const void *data, uint32_t sizeInBytes) = 0;
    virtual tresult VST3_API getBinary(const char *id, const void *&data, uint32_t &sizeInBytes) = 0;
    static constexpr Uid iid = makeUid(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
};

class IMessage : public FUnknown {
public:
    virtual const char *VST3_API getMessageID() = 0;
    virtual void VST3_API setMessageID(const char *id) = 0;
    virtual IAttributeList *VST3_API getAttributes() = 0;  // borrowed
    static constexpr Uid iid = makeUid(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
};

// A single-component effect does not answer this one (it would be connected to itself).
class IConnectionPoint : public FUnknown {
public:
    virtual tresult VST3_API connect(IConnectionPoint *other) = 0;
    virtual tresult VST3_API disconnect(IConnectionPoint *other) = 0;
    virtual tresult VST3_API notify(IMessage *message) = 0;
    static constexpr Uid iid = makeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
};

// Identifiers of interfaces we only refuse.
constexpr Uid kIStreamAttributesIid = makeUid(0xD6CE2FFC, 0xEFAF4B8C, 0x9E74F1BB, 0x12DA44B4);
constexpr Uid kIUnitInfoIid = makeUid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
constexpr Uid kIUnitHandlerIid = makeUid(0x4B5147F8, 0x4654486B, 0x8DAB30BA, 0x163A3C56);
constexpr Uid kIMidiMappingIid = makeUid(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
constexpr Uid kIParameterFinderIid = makeUid(0x0F618302, 0x215D4587, 0xA512073C, 0x77B9D383);

// Implemented by the host: the editor's parent.
class IPlugFrame : public FUnknown {
public:
    virtual tresult VST3_API resizeView(IPlugView *view, ViewRect *newSize) = 0;
    static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
};

// The editor; every method on the UI thread. attached's parent is an HWND on Windows and the X11
// window id (by value, cast to a pointer) on Linux.
class IPlugView : public FUnknown {
public:
    virtual tresult VST3_API isPlatformTypeSupported(const char *type) = 0;
    virtual tresult VST3_API attached(void *parent, const char *type) = 0;
    virtual tresult VST3_API removed() = 0;
    virtual tresult VST3_API onWheel(float distance) = 0;
    virtual tresult VST3_API onKeyDown(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
    virtual tresult VST3_API onKeyUp(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
    virtual tresult VST3_API getSize(ViewRect *size) = 0;
    virtual tresult VST3_API onSize(ViewRect *newSize) = 0;
    virtual tresult VST3_API onFocus(TBool state) = 0;
    virtual tresult VST3_API setFrame(IPlugFrame *frame) = 0;
    virtual tresult VST3_API canResize() = 0;
    virtual tresult VST3_API checkSizeConstraint(ViewRect *rect) = 0;
    static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
};

class IPlugViewContentScaleSupport : public FUnknown {
public:
    typedef float ScaleFactor;
    virtual tresult VST3_API setContentScaleFactor(ScaleFactor factor) = 0;
    static constexpr Uid iid = makeUid(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
};

// Linux only in practice: the host's run loop, found through the frame.
class IEventHandler : public FUnknown {
public:
    virtual void VST3_API onFDIsSet(int fd) = 0;
    static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
};

class ITimerHandler : public FUnknown {
public:
    virtual void VST3_API onTimer() = 0;
    static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
};

class IRunLoop : public FUnknown {
public:
    virtual tresult VST3_API registerEventHandler(IEventHandler *handler, int fd) = 0;
    virtual tresult VST3_API unregisterEventHandler(IEventHandler *handler) = 0;
    virtual tresult VST3_API registerTimer(ITimerHandler *handler, uint64_t milliseconds) = 0;
    virtual tresult VST3_API unregisterTimer(ITimerHandler *handler) = 0;
    static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
};

// The exported function's type (the entry functions InitDll/ExitDll, ModuleEntry/ModuleExit are
// plain C functions returning bool).
typedef IPluginFactory *(VST3_API *GetFactoryProc)();

// ---- layouts -------------------------------------------------------------------------------------

#define VST3_LAYOUT(condition) static_assert(condition, "VST 3 struct layout")

// The same on every target.
VST3_LAYOUT(sizeof(TUID) == 16 && sizeof(Uid) == 16 && sizeof(String128) == 256);
VST3_LAYOUT(sizeof(PFactoryInfo) == 452 && offsetof(PFactoryInfo, url) == 64);
VST3_LAYOUT(offsetof(PFactoryInfo, email) == 320 && offsetof(PFactoryInfo, flags) == 448);
VST3_LAYOUT(sizeof(PClassInfo) == 116 && offsetof(PClassInfo, cardinality) == 16);
VST3_LAYOUT(offsetof(PClassInfo, category) == 20 && offsetof(PClassInfo, name) == 52);
VST3_LAYOUT(sizeof(PClassInfo2) == 440 && offsetof(PClassInfo2, classFlags) == 116);
VST3_LAYOUT(offsetof(PClassInfo2, subCategories) == 120 && offsetof(PClassInfo2, vendor) == 248);
VST3_LAYOUT(offsetof(PClassInfo2, version) == 312 && offsetof(PClassInfo2, sdkVersion) == 376);
VST3_LAYOUT(sizeof(PClassInfoW) == 696 && offsetof(PClassInfoW, name) == 52);
VST3_LAYOUT(offsetof(PClassInfoW, classFlags) == 180 && offsetof(PClassInfoW, subCategories) == 184);
VST3_LAYOUT(offsetof(PClassInfoW, vendor) == 312 && offsetof(PClassInfoW, version) == 440);
VST3_LAYOUT(offsetof(PClassInfoW, sdkVersion) == 568);
VST3_LAYOUT(sizeof(BusInfo) == 276 && offsetof(BusInfo, channelCount) == 8 && offsetof(BusInfo, name) == 12);
VST3_LAYOUT(offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272);
VST3_LAYOUT(sizeof(RoutingInfo) == 12);
VST3_LAYOUT(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8);
VST3_LAYOUT(offsetof(ProcessSetup, maxSamplesPerBlock) == 8 && offsetof(ProcessSetup, sampleRate) == 16);
VST3_LAYOUT(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, silenceFlags) == 8);
VST3_LAYOUT(offsetof(AudioBusBuffers, channelBuffers32) == 16);
VST3_LAYOUT(sizeof(ProcessContext) == 112 && offsetof(ProcessContext, sampleRate) == 8);
VST3_LAYOUT(offsetof(ProcessContext, projectTimeSamples) == 16 && offsetof(ProcessContext, tempo) == 72);
VST3_LAYOUT(offsetof(ProcessContext, timeSigNumerator) == 80 && offsetof(ProcessContext, chord) == 88);
VST3_LAYOUT(offsetof(ProcessContext, smpteOffsetSubframes) == 92 && offsetof(ProcessContext, frameRate) == 96);
VST3_LAYOUT(offsetof(ProcessContext, samplesToNextClock) == 104);
VST3_LAYOUT(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, title) == 4);
VST3_LAYOUT(offsetof(ParameterInfo, shortTitle) == 260 && offsetof(ParameterInfo, units) == 516);
VST3_LAYOUT(offsetof(ParameterInfo, stepCount) == 772 && offsetof(ParameterInfo, defaultNormalizedValue) == 776);
VST3_LAYOUT(offsetof(ParameterInfo, unitId) == 784 && offsetof(ParameterInfo, flags) == 788);
VST3_LAYOUT(sizeof(ViewRect) == 16 && offsetof(ViewRect, bottom) == 12);

#if UINTPTR_MAX == UINT32_MAX
// 32-bit Windows.
VST3_LAYOUT(sizeof(ProcessData) == 48 && offsetof(ProcessData, inputs) == 20);
VST3_LAYOUT(offsetof(ProcessData, outputs) == 24 && offsetof(ProcessData, inputParameterChanges) == 28);
VST3_LAYOUT(offsetof(ProcessData, outputParameterChanges) == 32 && offsetof(ProcessData, inputEvents) == 36);
VST3_LAYOUT(offsetof(ProcessData, outputEvents) == 40 && offsetof(ProcessData, processContext) == 44);
#else
// x86-64 Windows and Linux.
VST3_LAYOUT(sizeof(ProcessData) == 80 && offsetof(ProcessData, inputs) == 24);
VST3_LAYOUT(offsetof(ProcessData, outputs) == 32 && offsetof(ProcessData, inputParameterChanges) == 40);
VST3_LAYOUT(offsetof(ProcessData, outputParameterChanges) == 48 && offsetof(ProcessData, inputEvents) == 56);
VST3_LAYOUT(offsetof(ProcessData, outputEvents) == 64 && offsetof(ProcessData, processContext) == 72);
#endif

#undef VST3_LAYOUT

}  // namespace vst3

#endif  // ZEM_VST3_INTERFACE_H
