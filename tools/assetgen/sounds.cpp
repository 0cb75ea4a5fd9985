// Card sounds and the win jingles, synthesised from filtered noise and decaying
// partials. Everything is mono at kSampleRate.
#include "assets.h"
#include "raster.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

constexpr double kRate = kSampleRate;
constexpr double kPeak = 0.8; // about -1.9 dBFS, safely below clipping

// RBJ biquad; enough for shaping noise into taps and slaps.
class Biquad {
  public:
    enum Kind { LowPass, HighPass, BandPass };
    Biquad(Kind kind, double freq, double q) {
        const double w = 2 * M_PI * freq / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double c = std::cos(w);
        double b0 = 0, b1 = 0, b2 = 0;
        switch (kind) {
        case LowPass:
            b0 = b2 = (1 - c) / 2, b1 = 1 - c;
            break;
        case HighPass:
            b0 = b2 = (1 + c) / 2, b1 = -(1 + c);
            break;
        case BandPass:
            b0 = alpha, b1 = 0, b2 = -alpha;
            break;
        }
        const double a0 = 1 + alpha;
        b_[0] = b0 / a0, b_[1] = b1 / a0, b_[2] = b2 / a0;
        a_[0] = -2 * c / a0, a_[1] = (1 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b_[0] * x + b_[1] * x1_ + b_[2] * x2_ - a_[0] * y1_ - a_[1] * y2_;
        x2_ = x1_, x1_ = x, y2_ = y1_, y1_ = y;
        return y;
    }

  private:
    double b_[3], a_[2];
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Removes any DC offset, ramps the edges (a one-shot must start and end at
// silence, or it clicks) and scales to the common peak.
std::vector<float> finished(std::vector<double> s, double fadeIn, double fadeOut) {
    double mean = 0;
    for (double v : s)
        mean += v;
    mean /= double(s.size());
    for (double& v : s)
        v -= mean;
    const size_t in = size_t(fadeIn * kRate), out = size_t(fadeOut * kRate);
    for (size_t i = 0; i < in && i < s.size(); ++i)
        s[i] *= double(i) / double(in);
    for (size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= double(i) / double(out);
    double peak = 1e-9;
    for (double v : s)
        peak = std::max(peak, std::abs(v));
    std::vector<float> result(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        result[i] = float(s[i] / peak * kPeak);
    return result;
}

struct Burst {
    Biquad::Kind kind;
    double freq, q, decay, gain;
};

struct Tone {
    double freq, decay, gain;
};

std::vector<float> percussive(double seconds, uint64_t seed, const std::vector<Burst>& bursts,
                              const std::vector<Tone>& tones) {
    std::vector<double> s(size_t(seconds * kRate), 0.0);
    for (size_t b = 0; b < bursts.size(); ++b) {
        Rng rng(seed + b);
        Biquad filter(bursts[b].kind, bursts[b].freq, bursts[b].q);
        for (size_t i = 0; i < s.size(); ++i) {
            const double t = double(i) / kRate;
            s[i] += bursts[b].gain * filter(rng.symmetric()) * std::exp(-t / bursts[b].decay);
        }
    }
    for (const Tone& tone : tones)
        for (size_t i = 0; i < s.size(); ++i) {
            const double t = double(i) / kRate;
            s[i] += tone.gain * std::sin(2 * M_PI * tone.freq * t) * std::exp(-t / tone.decay);
        }
    return finished(s, 0.0008, 0.008);
}

double noteFreq(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// A soft mallet note: a few inharmonic partials, higher ones dying faster.
double mallet(double freq, double t, double length) {
    if (t < 0) return 0;
    const double attack = std::min(1.0, t / 0.004);
    const double partials[][3] = {
        {1.0, 1.0, 1.0}, {2.0, 0.28, 0.45}, {3.01, 0.1, 0.3}, {4.2, 0.05, 0.18}};
    double v = 0;
    for (const auto& pt : partials)
        if (freq * pt[0] < kRate / 2)
            v += pt[1] * std::sin(2 * M_PI * freq * pt[0] * t) * std::exp(-t / (length * pt[2]));
    return attack * v;
}

} // namespace

std::vector<float> makeCardSound(int index) {
    switch (index) {
    case 0: // a card slapped down: papery slap with a soft body thump
        return percussive(
            0.12, 101,
            {{Biquad::BandPass, 2400, 0.9, 0.012, 1.0}, {Biquad::LowPass, 700, 0.7, 0.02, 0.6}},
            {{150, 0.018, 0.25}});
    case 1: // a bright flick with a light ping, for cards reaching home
        return percussive(
            0.16, 202,
            {{Biquad::HighPass, 3500, 0.7, 0.006, 0.45}, {Biquad::BandPass, 1800, 2.0, 0.015, 0.5}},
            {{1568, 0.04, 0.22}, {2352, 0.025, 0.1}});
    default: // a woody thock
        return percussive(0.1, 303, {{Biquad::LowPass, 1200, 0.8, 0.004, 0.7}},
                          {{420, 0.028, 0.7}, {1130, 0.011, 0.3}});
    }
}

std::vector<float> makeWinTune() {
    struct Note {
        double at;
        int midi;
        double length;
    };
    const std::vector<Note> notes = {
        {0.00, 67, 0.25}, {0.13, 72, 0.25}, {0.26, 76, 0.25}, {0.39, 79, 0.3}, {0.60, 76, 0.25},
        {0.73, 79, 0.3},  {0.92, 84, 0.55}, {0.92, 76, 0.5},  {0.92, 72, 0.5}, {0.92, 60, 0.45}};
    std::vector<double> s(size_t(2.2 * kRate), 0.0);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        for (const Note& n : notes)
            s[i] += mallet(noteFreq(n.midi), t - n.at, n.length);
    }
    return finished(s, 0.001, 0.15);
}

// Four bars of a gentle arpeggio (C, Am, F, G), one bar a second. Note tails that
// run past the end are wrapped to the start, so the loop has no seam.
std::vector<float> makeWinLoop() {
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const int pattern[4] = {0, 1, 2, 1};
    std::vector<double> s(size_t(4 * kRate), 0.0);
    auto add = [&s](double at, int midi, double decay, double gain) {
        const size_t start = size_t(at * kRate);
        const size_t span = size_t(decay * 8 * kRate); // until it has died away
        for (size_t i = 0; i < span; ++i)
            s[(start + i) % s.size()] += gain * mallet(noteFreq(midi), double(i) / kRate, decay);
    };
    for (int bar = 0; bar < 4; ++bar) {
        add(bar, chords[bar][0] - 12, 0.6, 0.5);
        for (int step = 0; step < 4; ++step)
            add(bar + step * 0.25, chords[bar][pattern[step]] + 12, 0.35, 0.6);
    }
    return finished(s, 0, 0);
}

} // namespace assetgen
