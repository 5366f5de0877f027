// Loads the built VST 2 plug-in the way a host does (dlopen, VSTPluginMain, the dispatcher) and checks
// what a host sees: properties, canDo answers, parameters, programs, chunks and audio pass-through.
#include <gtest/gtest.h>

#include <pluginterfaces/fst/fst.h>

#include <dlfcn.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
VstIntPtr hostCallback(AEffect*, int opcode, int, VstIntPtr, void*, float)
{
    switch (opcode)
    {
    case audioMasterVersion:
        return 2400;
    default:
        return 0;
    }
}

struct LoadedPlugin
{
    void* library = nullptr;
    AEffect* effect = nullptr;

    LoadedPlugin()
    {
        library = dlopen(ZENTAK_VST2_PATH, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return;
        using Entry = AEffect* (*)(audioMasterCallback);
        auto entry = reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
        if (entry != nullptr)
            effect = entry(reinterpret_cast<audioMasterCallback>(&hostCallback));
        if (effect != nullptr)
            call(effOpen);
    }

    ~LoadedPlugin()
    {
        if (effect != nullptr)
            call(effClose);
        // The library stays loaded: unloading a plug-in while its framework threads wind down is a
        // host's business, not this test's.
    }

    VstIntPtr call(int opcode, int index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    std::string text(int opcode, int index = 0)
    {
        char buffer[512] = {};
        call(opcode, index, 0, buffer);
        return buffer;
    }

    VstIntPtr canDo(const char* what) { return call(effCanDo, 0, 0, const_cast<char*>(what)); }
};

LoadedPlugin& plugin()
{
    static LoadedPlugin loaded;
    return loaded;
}

std::string trimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}
} // namespace

TEST(Vst2Host, PropertiesAndFlags)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr) << dlerror();
    AEffect& e = *p.effect;
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numPrograms, 128);
    EXPECT_EQ(e.numParams, 192);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.uniqueID, (VstInt32)CCONST('K', 'v', 'r', 'b'));
    EXPECT_EQ(e.version, 202);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_TRUE(e.flags & effFlagsHasEditor);
    EXPECT_TRUE(e.flags & effFlagsCanReplacing);
    EXPECT_TRUE(e.flags & effFlagsProgramChunks);
    EXPECT_TRUE(e.flags & effFlagsNoSoundInStop);
    EXPECT_FALSE(e.flags & effFlagsIsSynth);

    EXPECT_EQ(p.text(effGetEffectName), "Zentak Control");
    EXPECT_EQ(p.text(effGetProductString), "Zentak Control");
    EXPECT_EQ(p.text(effGetVendorString), "Marlovinex");
    EXPECT_EQ(p.call(effGetVendorVersion), 202);
    EXPECT_EQ(p.call(effGetPlugCategory), (VstIntPtr)kPlugCategEffect);
}

TEST(Vst2Host, CanDoAnswers)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr);
    for (const char* yes :
         {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents", "sendVstEvents",
          "sendVstMidiEvent", "sendVstMidiEvents", "receiveVstTimeInfo", "conformsToWindowRules", "bypass"})
        EXPECT_EQ(p.canDo(yes), 1) << yes;
    EXPECT_EQ(p.canDo("openCloseAnyThread"), -1);
    EXPECT_EQ(p.canDo("offline"), 0);
    EXPECT_EQ(p.canDo("noSuchThing"), 0);
}

TEST(Vst2Host, ParametersAndPrograms)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr);
    AEffect& e = *p.effect;
    EXPECT_EQ(p.text(effGetParamName, 0), "OCS1 Frequency");
    EXPECT_EQ(p.text(effGetParamName, 78), "Shape Seq");
    EXPECT_EQ(p.text(effGetParamName, 191), "Seq 4 Step 16");
    EXPECT_EQ(p.text(effGetParamDisplay, 30), "L<<>>R");
    EXPECT_EQ(p.text(effGetParamDisplay, 66), "120 BPM");

    e.setParameter(&e, 10, 0.5f);
    EXPECT_FLOAT_EQ(e.getParameter(&e, 10), 64.0f / 127.0f);
    EXPECT_EQ(p.text(effGetParamDisplay, 10), "R-65");

    char name[64] = {};
    p.call(effGetProgramNameIndexed, 5, 0, name);
    EXPECT_EQ(trimRight(name), "Untitled");
    p.call(effSetProgram, 0, 7);
    EXPECT_EQ(p.call(effGetProgram), 7);
    char newName[] = "Host Seven";
    p.call(effSetProgramName, 0, 0, newName);
    EXPECT_EQ(trimRight(p.text(effGetProgramName)), "Host Seven");
}

TEST(Vst2Host, ChunksRoundTrip)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr);
    p.call(effSetProgram, 0, 3);
    char name[] = "Chunk Three";
    p.call(effSetProgramName, 0, 0, name);

    void* data = nullptr;
    const auto bankSize = p.call(effGetChunk, 0, 0, &data);
    ASSERT_GE(bankSize, 26651);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::memcmp(data, "EvolverPluginBankVersion100", 27), 0);
    const std::vector<char> bank(static_cast<char*>(data), static_cast<char*>(data) + bankSize);

    void* programData = nullptr;
    const auto programSize = p.call(effGetChunk, 1, 0, &programData);
    ASSERT_EQ(programSize, 239);
    EXPECT_EQ(std::memcmp(programData, "EvolverPluginSettingsVersion100", 31), 0);

    char other[] = "Renamed";
    p.call(effSetProgramName, 0, 0, other);
    p.call(effSetChunk, 0, (VstIntPtr)bank.size(), const_cast<char*>(bank.data()));
    char back[64] = {};
    p.call(effGetProgramNameIndexed, 3, 0, back);
    EXPECT_EQ(trimRight(back), "Chunk Three");
}

// A host that reopens a project sets the chunk and then selects the current program again. The sound
// the project saved must survive that; choosing another program, or the same one again later, loads
// the slot as usual.
TEST(Vst2Host, RestoredSoundSurvivesTheHostReselectingItsProgram)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr);
    const int indices[] = {0, 20, 77, 130};
    p.call(effSetProgram, 0, 6);
    std::vector<float> slotSix;
    for (int i : indices)
        slotSix.push_back(p.effect->getParameter(p.effect, i));

    p.call(effSetProgram, 0, 5);
    std::vector<float> saved;
    for (int i : indices)
    {
        p.effect->setParameter(p.effect, i, 0.25f);
        saved.push_back(p.effect->getParameter(p.effect, i));
    }
    void* data = nullptr;
    const auto size = p.call(effGetChunk, 0, 0, &data);
    ASSERT_GT(size, 26651);
    const std::vector<char> bank(static_cast<char*>(data), static_cast<char*>(data) + size);

    for (int i : indices)
        p.effect->setParameter(p.effect, i, 0.75f);
    p.call(effSetChunk, 0, (VstIntPtr)bank.size(), const_cast<char*>(bank.data()));
    p.call(effSetProgram, 0, 5); // the host re-selects the program it just restored
    EXPECT_EQ(p.call(effGetProgram), 5);
    for (size_t k = 0; k < saved.size(); ++k)
        EXPECT_FLOAT_EQ(p.effect->getParameter(p.effect, indices[k]), saved[k]) << "parameter " << indices[k];

    p.call(effSetProgram, 0, 6); // another program loads its slot
    for (size_t k = 0; k < slotSix.size(); ++k)
        EXPECT_FLOAT_EQ(p.effect->getParameter(p.effect, indices[k]), slotSix[k]) << "parameter " << indices[k];
}

TEST(Vst2Host, AudioPassesThrough)
{
    auto& p = plugin();
    ASSERT_NE(p.effect, nullptr);
    AEffect& e = *p.effect;
    p.call(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    p.call(effSetBlockSize, 0, 256);
    p.call(effMainsChanged, 0, 1);

    std::vector<float> inL(256), inR(256), outL(256, 9.0f), outR(256, 9.0f);
    for (int i = 0; i < 256; ++i)
    {
        inL[(size_t)i] = 0.01f * (float)i;
        inR[(size_t)i] = -0.02f * (float)i;
    }
    float* ins[] = {inL.data(), inR.data()};
    float* outs[] = {outL.data(), outR.data()};
    e.processReplacing(&e, ins, outs, 256);
    EXPECT_EQ(outL, inL);
    EXPECT_EQ(outR, inR);
    p.call(effMainsChanged, 0, 0);
}

#ifdef ZENTAK_LV2_BUNDLE
#include <fstream>
#include <sstream>

TEST(Lv2Bundle, DescribesThe192ParametersByName)
{
    std::ifstream in(std::string(ZENTAK_LV2_BUNDLE) + "/dsp.ttl");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    const std::string ttl = text.str();
    size_t count = 0;
    for (size_t p = 0; (p = ttl.find("a lv2:Parameter", p)) != std::string::npos; ++p)
        ++count;
    EXPECT_EQ(count, 192u);
    for (const char* name :
         {"\"OCS1 Frequency\"", "\"EXIN EnvFlwDstn\"", "\"Seq 1 Step 1\"", "\"Seq 4 Step 16\""})
        EXPECT_NE(ttl.find(std::string("rdfs:label ") + name), std::string::npos) << name;
}
#endif
