// The program store as the host sees it (names through the dispatcher of the loaded plug-in)
// and as the effect uses it (recording every applied parameter 0..63 in the current slot).
#include <cstring>
#include <string>

#include "core/loaded_plugin.h"
#include "core/templete.h"
#include "editor/editor_factory.h"

namespace {

using ProgramStoreTest = LoadedPluginTest;

std::string renamed(PluginInstance &plugin, const std::string &name)
{
    std::string text = name;
    plugin.dispatch(effSetProgramName, 0, 0, &text[0]);
    return plugin.text(effGetProgramName);
}

VstIntPtr VSTCALLBACK quietHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

}  // namespace

TEST_F(ProgramStoreTest, FreshInstanceHasThreeEmptyNames)
{
    PluginInstance plugin(host());
    EXPECT_EQ(plugin.text(effGetProgramName), "");
    for (VstInt32 index : {0, 1, 2}) {
        char buffer[32];
        std::memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(plugin.dispatch(effGetProgramNameIndexed, index, 0, buffer), 1);
        EXPECT_STREQ(buffer, "");
    }
    for (VstInt32 index : {3, -1, 1000}) {
        char buffer[32];
        std::memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(plugin.dispatch(effGetProgramNameIndexed, index, 0, buffer), 0) << index;
        EXPECT_EQ(buffer[0], 'x') << "buffer untouched for " << index;
    }
}

TEST_F(ProgramStoreTest, RenameKeepsAtMost23Characters)
{
    PluginInstance plugin(host());
    EXPECT_EQ(renamed(plugin, "abcdefghijklmnopqrstuv"), "abcdefghijklmnopqrstuv");     // 22: whole
    EXPECT_EQ(renamed(plugin, "abcdefghijklmnopqrstuvw"), "abcdefghijklmnopqrstuvw");   // 23
    EXPECT_EQ(renamed(plugin, "abcdefghijklmnopqrstuvwx"), "abcdefghijklmnopqrstuvw");  // 24: cut
    EXPECT_EQ(renamed(plugin, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRSTUVW");
    EXPECT_EQ(renamed(plugin, "Mix"), "Mix") << "a shorter name clears the rest";
    char indexed[32] = {};
    EXPECT_EQ(plugin.dispatch(effGetProgramNameIndexed, 0, 0, indexed), 1);
    EXPECT_STREQ(indexed, "Mix");
}

TEST_F(ProgramStoreTest, NameBufferIsNeverWrittenPast24Bytes)
{
    PluginInstance plugin(host());
    renamed(plugin, std::string(40, 'n'));
    char buffer[40];
    std::memset(buffer, 'x', sizeof(buffer));
    plugin.dispatch(effGetProgramName, 0, 0, buffer);
    EXPECT_EQ(std::string(buffer), std::string(23, 'n'));
    EXPECT_EQ(buffer[24], 'x');
    std::memset(buffer, 'x', sizeof(buffer));
    plugin.dispatch(effGetProgramNameIndexed, 0, 0, buffer);
    EXPECT_EQ(buffer[24], 'x');
}

TEST_F(ProgramStoreTest, UnterminatedNameIsReadNoFurtherThan24Bytes)
{
    PluginInstance plugin(host());
    // Exactly 24 bytes without a terminator, in a block of its own: reading a 25th byte would
    // be caught by the address sanitizer.
    std::unique_ptr<char[]> text(new char[24]);
    std::memset(text.get(), 'q', 24);
    plugin.dispatch(effSetProgramName, 0, 0, text.get());
    EXPECT_EQ(plugin.text(effGetProgramName), std::string(23, 'q'));

    std::unique_ptr<char[]> large(new char[200]);
    std::memset(large.get(), 'z', 200);
    plugin.dispatch(effSetProgramName, 0, 0, large.get());
    EXPECT_EQ(plugin.text(effGetProgramName).size(), 23u);
}

TEST_F(ProgramStoreTest, OneProgramTowardsTheHost)
{
    PluginInstance plugin(host());
    renamed(plugin, "First");
    plugin.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 0);
    EXPECT_EQ(plugin.text(effGetProgramName), "First");
    char second[32] = {};
    plugin.dispatch(effGetProgramNameIndexed, 2, 0, second);
    EXPECT_STREQ(second, "");
}

TEST(ProgramStoreRecording, EveryAppliedHostParameterIsRecordedInTheCurrentSlot)
{
    Templete effect(quietHost, createTemepleteEditor);
    const ProgramSlot *slot = effect.currentProgram();
    ASSERT_NE(slot, nullptr);
    for (float value : slot->values)
        EXPECT_EQ(value, 0.f) << "slots start zeroed, not at the parameter defaults";
    effect.setParameter(5, 0.5f);
    EXPECT_EQ(slot->values[5].load(), 0.5f);
    effect.setParameter(40, 0.9f);
    EXPECT_EQ(slot->values[40].load(), 0.9f) << "spares are recorded although they do not change";
    effect.setParameter(1, 1.5f);
    EXPECT_EQ(slot->values[1].load(), 1.f) << "the clamped value is recorded";
    effect.setParameter(70, 0.7f);
    effect.setParameter(64, 0.7f);
    effect.setParameter(-1, 0.7f);
    for (int i = 0; i < 64; ++i)
        if (i != 1 && i != 5 && i != 40) {
            EXPECT_EQ(slot->values[i].load(), 0.f) << i;
        }
    effect.setParameter(2, 0.5f);
    effect.setParameter(3, 0.f);
}
