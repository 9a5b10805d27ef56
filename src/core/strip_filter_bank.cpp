#include "strip_filter_bank.h"

#include "params/parameter_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "meters/processing_rate.h"

namespace {
constexpr double sectionMinimumFrequency = 0.001;  // Hz
constexpr double highPassQ = 0.5;
// Above half the rate the one-pole cannot follow its corner; the blend toward the unfiltered
// signal reaches the dry input when the corner would have been this high.
constexpr double blendEndFrequency = 36000.0;  // Hz

// Normalised values outside 0..1 are limited; a value that is not a number counts as 0.
float unitValue(float value) { return value >= 0.0f ? std::min(value, 1.0f) : 0.0f; }

int decodeSwitch(float value) { return switchOn(value) ? 1 : 0; }
}  // namespace

StripFilterBank::StripFilterBank()
{
    // Sections start at 44100 Hz, Q 0.5, disabled; the setters below give them their types.
    for (int ch = 0; ch < 2; ++ch) {
        hpStage1[ch].setShape(FilterSection::HighPass, hpStage1[ch].frequency(), highPassQ);
        hpStage2[ch].setShape(FilterSection::HighPass, hpStage2[ch].frequency(), highPassQ);
        lpStage2[ch].setShape(FilterSection::LowPass, lpStage2[ch].frequency(), 0.5);
    }
    setHPOn(1.0f);
    setHPFreq(0.0f);
    setHPSlope(0.0f);
    setLPOn(1.0f);
    setLPFreq(1.0f);
    setLPSlope(0.0f);
    reset();
    update();
    reset();
}

void StripFilterBank::setSampleRate(float rate)
{
    // The sections are designed at the host's own rate.
    rate = processingRateFor(rate);
    sampleRate = rate;
    for (int ch = 0; ch < 2; ++ch) {
        hpStage1[ch].setSampleRate(rate);
        hpStage2[ch].setSampleRate(rate);
        lpStage1[ch].setSampleRate(rate);
        lpStage2[ch].setSampleRate(rate);
    }
}

void StripFilterBank::update()
{
    for (int ch = 0; ch < 2; ++ch) {
        for (FilterSection *section : {&hpStage1[ch], &hpStage2[ch], &lpStage1[ch], &lpStage2[ch]}) {
            section->setSampleRate(sampleRate);
            section->recompute();
        }
    }
    setHPOn(hpOnNormalised);
    setHPFreq(hpFreqNormalised);
    setLPOn(lpOnNormalised);
    setLPFreq(lpFreqNormalised);
}

void StripFilterBank::reset()
{
    std::memset(hpBuffer, 0, sizeof hpBuffer);
    for (int ch = 0; ch < 2; ++ch) {
        hpStage1[ch].clearState();
        hpStage2[ch].clearState();
        lpStage1[ch].clearState();
        lpStage2[ch].clearState();
    }
}

void StripFilterBank::setHPOn(float value)
{
    hpOnNormalised = unitValue(value);
    hpOn = decodeSwitch(hpOnNormalised);
    for (int ch = 0; ch < 2; ++ch) {
        hpStage1[ch].setEnabled(hpOn != 0);
        hpStage2[ch].setEnabled(hpOn * hpSlope != 0);
    }
}

void StripFilterBank::setHPSlope(float value)
{
    hpSlopeNormalised = unitValue(value);
    hpSlope = decodeSwitch(hpSlopeNormalised);
    for (int ch = 0; ch < 2; ++ch)
        hpStage2[ch].setEnabled(hpSlope * hpOn != 0);
}

void StripFilterBank::setHPFreq(float value)
{
    hpFreqNormalised = unitValue(value);
    hpFreq = static_cast<float>(sweepFrequency(hpFreqNormalised, kHPFreqBase));
    const double stage1 = std::clamp(0.7 * hpFreq, sectionMinimumFrequency, double(sampleRate));
    const double stage2 = std::clamp(0.5 * hpFreq, sectionMinimumFrequency, double(sampleRate));
    for (int ch = 0; ch < 2; ++ch) {
        hpStage1[ch].setShape(FilterSection::HighPass, stage1, highPassQ);
        hpStage2[ch].setShape(FilterSection::HighPass, stage2, highPassQ);
    }
}

void StripFilterBank::setLPOn(float value)
{
    lpOnNormalised = unitValue(value);
    lpOn = decodeSwitch(lpOnNormalised);
    for (int ch = 0; ch < 2; ++ch) {
        lpStage1[ch].setEnabled(lpOn != 0);
        lpStage2[ch].setEnabled(lpOn * lpSlope != 0);
    }
}

void StripFilterBank::setLPSlope(float value)
{
    lpSlopeNormalised = unitValue(value);
    lpSlope = decodeSwitch(lpSlopeNormalised);
    for (int ch = 0; ch < 2; ++ch)
        lpStage2[ch].setEnabled(lpSlope * lpOn != 0);
}

void StripFilterBank::setLPFreq(float value)
{
    lpFreqNormalised = unitValue(value);
    lpFreq = static_cast<float>(sweepFrequency(lpFreqNormalised, kLPFreqBase));

    double stage1 = 1.2 * lpFreq;
    lpWeight = 1.0f;
    dryWeight = 0.0f;
    const double half = 0.5 * sampleRate;
    if (stage1 > half) {
        // stage1 is at most 36 kHz, so half < blendEndFrequency here.
        const double t = std::pow((stage1 - half) / (blendEndFrequency - half), 1.41);
        dryWeight = static_cast<float>(t);
        lpWeight = 1.0f - dryWeight;
        stage1 = half;
    }
    stage1 = std::clamp(stage1, sectionMinimumFrequency, double(sampleRate));
    const double stage2 = std::clamp(1.4 * lpFreq, sectionMinimumFrequency, double(sampleRate));
    const double stage2Q = std::clamp(0.091 * std::log10(600000.0 / lpFreq) + 0.4, 0.0001, 1000.0);
    for (int ch = 0; ch < 2; ++ch) {
        lpStage1[ch].setShape(FilterSection::OnePoleLowPass, stage1, 0.5);
        lpStage2[ch].setShape(FilterSection::LowPass, stage2, stage2Q);
    }
}

void StripFilterBank::process(float *left, float *right, int frames)
{
    while (frames > 0) {
        const int n = std::min(frames, chunkFrames);
        processChunk(left, right, n);
        if (left)
            left += n;
        if (right)
            right += n;
        frames -= n;
    }
}

void StripFilterBank::processChunk(float *left, float *right, int frames)
{
    const size_t bytes = sizeof(float) * static_cast<size_t>(frames);
    // A missing channel is filtered as silence and not written back.
    if (left)
        std::memcpy(hpBuffer[0], left, bytes);
    else
        std::memset(hpBuffer[0], 0, bytes);
    if (right)
        std::memcpy(hpBuffer[1], right, bytes);
    else
        std::memset(hpBuffer[1], 0, bytes);

    // Left and right run side by side; each channel still passes its sections in order.
    FilterSection::processPair(hpStage1[0], hpBuffer[0], hpStage1[1], hpBuffer[1], frames);
    FilterSection::processPair(hpStage2[0], hpBuffer[0], hpStage2[1], hpBuffer[1], frames);

    std::memcpy(lpBuffer[0], hpBuffer[0], bytes);
    std::memcpy(lpBuffer[1], hpBuffer[1], bytes);

    FilterSection::processPair(lpStage1[0], lpBuffer[0], lpStage1[1], lpBuffer[1], frames);
    FilterSection::processPair(lpStage2[0], lpBuffer[0], lpStage2[1], lpBuffer[1], frames);

    // The mix is formed in double precision: the products of two floats are exact there, so
    // when the low-pass path is its own input the result rounds back to that input exactly,
    // even though the two float weights need not add up to exactly 1.
    const double wet = lpWeight, dry = dryWeight;
    if (left) {
        for (int i = 0; i < frames; ++i)
            left[i] = static_cast<float>(lpBuffer[0][i] * wet + hpBuffer[0][i] * dry);
    }
    if (right) {
        for (int i = 0; i < frames; ++i)
            right[i] = static_cast<float>(lpBuffer[1][i] * wet + hpBuffer[1][i] * dry);
    }
    returnNonFiniteSectionsToRest();
}

// A non-finite input leaves a section's recursion non-finite for good; once per chunk such a
// section is put back to rest so that the following audio is filtered normally again.
void StripFilterBank::returnNonFiniteSectionsToRest()
{
    for (int ch = 0; ch < 2; ++ch) {
        for (FilterSection *section : {&hpStage1[ch], &hpStage2[ch], &lpStage1[ch], &lpStage2[ch]}) {
            if (!section->stateIsFinite())
                section->clearState();
        }
    }
}

float StripFilterBank::hpOnValue() const { return hpOnNormalised; }
float StripFilterBank::hpSlopeValue() const { return hpSlopeNormalised; }
float StripFilterBank::hpFreqValue() const { return hpFreqNormalised; }
float StripFilterBank::lpOnValue() const { return lpOnNormalised; }
float StripFilterBank::lpSlopeValue() const { return lpSlopeNormalised; }
float StripFilterBank::lpFreqValue() const { return lpFreqNormalised; }
